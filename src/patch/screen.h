#pragma once

namespace jukora::patch {

/// The phone's screen, which the preview shows life size, in pixels.
inline constexpr int kScreenWidth = 240;
inline constexpr int kScreenHeight = 320;
/// The status band across the top of the screen: no element rises into it,
/// the background picture starts below it, and Y values count from its
/// lower edge.
inline constexpr int kStatusBandHeight = 24;

} // namespace jukora::patch
