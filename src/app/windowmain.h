#pragma once

namespace jukora {

/// The module beside the executable that holds the window, and its entry
/// point. The program opens it only to show the window, so that the command
/// line does without Qt Gui and Qt Widgets.
inline constexpr const char *kWindowModule = "jukora-window.so";
inline constexpr const char *kWindowEntry = "jukora_window_main";

} // namespace jukora

/// Shows the editor and runs until it is closed; the program's exit status.
extern "C" int jukora_window_main(int argc, char *argv[]);
