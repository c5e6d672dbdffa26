#pragma once

namespace jukora {

/// Shows the editor and runs until it is closed; the program's exit status.
/// `argc` must outlive the call, as QApplication asks.
int runEditor(int &argc, char *argv[]);

} // namespace jukora
