#pragma once

#include <QString>

#include <optional>

namespace jukora::TextStyle {

/// Entries of the font-size list, in its order.
inline constexpr const char *kSizeEntries[] = {"Standard", "Medium", "Small", "Big"};
/// Entries of the alignment list; the index is the label's alignment code.
inline constexpr const char *kAlignEntries[] = {"Left", "Right", "Center"};

/// The pixel height a font-size entry gives a label, or nothing for a text
/// that is not an entry (compared exactly, case included).
std::optional<int> pixelSizeForEntry(const QString &entryText);

/// The list index of the entry whose height a label holds, or nothing when
/// the height is none of them.
std::optional<int> entryForPixelSize(int pixelSize);

} // namespace jukora::TextStyle
