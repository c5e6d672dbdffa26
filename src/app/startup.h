#pragma once

#include <QString>

#include <memory>

namespace jukora {

class Dialogs;
class MainWindow;

/// Start-up up to the shown window: lists the templates in `folders` and
/// builds the window. When no folder holds a template, a message box says
/// so and nothing is returned; the program then ends with a non-zero status.
std::unique_ptr<MainWindow> startEditor(Dialogs &dialogs, const QStringList &folders);

} // namespace jukora
