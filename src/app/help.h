#pragma once

class QWidget;

namespace jukora {

class Dialogs;

/// A short page of every key and mouse rule (F1).
void showKeyboardHelp(Dialogs &dialogs, QWidget *window);

/// The guide to writing templates, as the package installs it, in a window
/// of `window`'s own: Escape and Ctrl+W close it, it fits the screen, and it
/// goes when `window` closes. A box says so when the guide is not installed.
void showTemplateGuide(Dialogs &dialogs, QWidget *window);

} // namespace jukora
