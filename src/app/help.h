#pragma once

class QWidget;

namespace jukora {

class Dialogs;

// The help pages open in windows of `window`'s own: not modal, sized to the
// screen, scrolled, rewrapped as they are resized, closed by Escape and
// Ctrl+W, and gone when `window` closes. Asking again for a page that is
// open brings it forward.

/// A short page of every key and mouse rule (F1).
void showKeyboardHelp(QWidget *window);

/// The guide to writing templates, as the package installs it. A box says
/// so when the guide is not installed.
void showTemplateGuide(Dialogs &dialogs, QWidget *window);

/// The program's name, version and licence, and where its documentation is.
void showAbout(Dialogs &dialogs, QWidget *window);

} // namespace jukora
