#include "textstyle.h"

#include "previewmodel.h"

#include <iterator>

namespace jukora::TextStyle {

namespace {
constexpr int kEntryPixels[std::size(kSizeEntries)] = {FontPixels::Standard, FontPixels::Medium,
                                                       FontPixels::Small, FontPixels::Big};
} // namespace

std::optional<int> pixelSizeForEntry(const QString &entryText)
{
    for (std::size_t i = 0; i < std::size(kSizeEntries); ++i) {
        if (entryText == QLatin1String(kSizeEntries[i]))
            return kEntryPixels[i];
    }
    return std::nullopt;
}

std::optional<int> entryForPixelSize(int pixelSize)
{
    for (std::size_t i = 0; i < std::size(kSizeEntries); ++i) {
        if (kEntryPixels[i] == pixelSize)
            return int(i);
    }
    return std::nullopt;
}

} // namespace jukora::TextStyle
