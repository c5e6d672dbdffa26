#include "textstyle.h"

#include "elementquery.h"
#include "previewmodel.h"

namespace jukora::TextStyle {

namespace {
constexpr int kEntryPixels[] = {FontPixels::Standard, FontPixels::Medium, FontPixels::Small,
                                FontPixels::Big};
} // namespace

std::optional<int> pixelSizeForEntry(const QString &entryText)
{
    for (int i = 0; i < 4; ++i) {
        if (entryText == QLatin1String(kSizeEntries[i]))
            return kEntryPixels[i];
    }
    return std::nullopt;
}

std::optional<int> entryForPixelSize(int pixelSize)
{
    for (int i = 0; i < 4; ++i) {
        if (kEntryPixels[i] == pixelSize)
            return i;
    }
    return std::nullopt;
}

std::optional<int> styleTarget(const QString &tag)
{
    bool ok = false;
    const double value = tag.toDouble(&ok);
    if (!ok || !(value > 8))
        return std::nullopt;
    const int index = static_cast<int>(value);
    if (!patch::isLabelIndex(index))
        return std::nullopt;
    return index;
}

} // namespace jukora::TextStyle
