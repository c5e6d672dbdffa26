#pragma once

#include <functional>

namespace jukora {

/// Runs `work` on a thread of its own while the window keeps repainting,
/// and returns once it is done. A busy cursor shows once the work has run
/// long enough to notice (100 ms) and goes when it ends. The user's input
/// waits meanwhile: without `stop` it is delivered afterwards; with `stop`
/// it is dropped, except that Escape calls `stop` (from the window's
/// thread), which should make `work` end soon, and closing a main window
/// (one without a parent) calls `stop` and closes it once the work has ended. Drags and drops
/// still reach their windows, which must know that the work is under way.
void runAside(const std::function<void()> &work, const std::function<void()> &stop = {});

} // namespace jukora
