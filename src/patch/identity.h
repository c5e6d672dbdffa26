#pragma once

namespace jukora {

/// The program's names, each for its own use and each written only here.
/// The executable, the package, the data folders and the desktop entry.
inline constexpr const char *kApplicationName = "jukora-patch-editor";
/// What message boxes and the About box carry.
inline constexpr const char *kApplicationTitle = "Jukora Patch Editor";
/// The main window's caption.
inline constexpr const char *kWindowCaption = "Jukora v2 patch editor";

} // namespace jukora
