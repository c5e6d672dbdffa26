#pragma once

#include <cstdint>

namespace jukora::patch {

/// Element indices shared by the whole program: 0-7 are the images, 9-13 the
/// text labels, and 8 names no element.
enum ElementIndex : std::int16_t {
    ArtistIcon = 0,
    TitleIcon = 1,
    AlbumIcon = 2,
    BassIndicator = 3,
    PlayerLogo = 4,
    RepeatIndicator = 5,
    ShuffleIndicator = 6,
    AlbumCover = 7,
    NoElement = 8,
    TrackNumber = 9,
    PlayTime = 10,
    ArtistLabel = 11,
    TitleLabel = 12,
    AlbumLabel = 13,
};

constexpr bool isImageIndex(int index)
{
    return index >= 0 && index <= 7;
}
constexpr bool isLabelIndex(int index)
{
    return index >= 9 && index <= 13;
}

/// The narrow view of the preview that the placeholder rules read. The rules
/// never see a widget: the window answers these queries from its model.
class ElementQuery
{
public:
    virtual ~ElementQuery() = default;

    /// Left and Top in preview pixels of element 0-7 or 9-13.
    virtual float left(int index) const = 0;
    virtual float top(int index) const = 0;
    /// Width of the album cover, element 7.
    virtual float coverWidth() const = 0;
    /// Alignment code of label 9-13: 0 left, 1 right, 2 centre.
    virtual int alignment(int labelIndex) const = 0;
};

} // namespace jukora::patch
