#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

namespace jukora::patch {

/// The thirteen elements of the now-playing screen, by the index the whole
/// program knows them by: the eight images, then the five text labels.
/// NoElement stands between them for "none", the one way the program says
/// that no element is meant.
enum ElementIndex : int {
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

/// Slots of a table indexed by element (NoElement's slot is unused).
inline constexpr std::size_t kElementSlots = 14;
inline constexpr std::array<ElementIndex, 8> kImages = {
    ArtistIcon, TitleIcon,       AlbumIcon,        BassIndicator,
    PlayerLogo, RepeatIndicator, ShuffleIndicator, AlbumCover};
inline constexpr std::array<ElementIndex, 5> kLabels = {TrackNumber, PlayTime, ArtistLabel,
                                                        TitleLabel, AlbumLabel};

constexpr bool isImageIndex(int index)
{
    return index >= ArtistIcon && index <= AlbumCover;
}
constexpr bool isLabelIndex(int index)
{
    return index >= TrackNumber && index <= AlbumLabel;
}
constexpr bool isElementIndex(int index)
{
    return isImageIndex(index) || isLabelIndex(index);
}
/// The place of label `index` among kLabels.
constexpr std::size_t labelSlot(int index)
{
    return static_cast<std::size_t>(index - TrackNumber);
}

/// A label's alignment: the code a patch carries, and the index of the
/// alignment list's entry.
enum AlignmentCode : int { AlignLeftCode = 0, AlignRightCode = 1, AlignCenterCode = 2 };

constexpr bool isAlignmentCode(int code)
{
    return code >= AlignLeftCode && code <= AlignCenterCode;
}

} // namespace jukora::patch
