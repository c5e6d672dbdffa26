#pragma once

#include <QtGlobal>

namespace jukora::ZOrder {

// The stacking order of the preview, back to front. Nothing ever changes it.
constexpr qreal Screen = 0;    ///< the phone-screen picture under everything
constexpr qreal Iback = 1;     ///< the background picture
constexpr qreal Cover = 2;     ///< I1(7)
constexpr qreal TitleIcon = 3; ///< I1(1)
constexpr qreal GuideL1 = 4;
constexpr qreal GuideL2 = 5;
constexpr qreal AlbumIcon = 6;    ///< I1(2)
constexpr qreal ArtistIcon = 7;   ///< I1(0)
constexpr qreal ArtistLabel = 8;  ///< Lab(11)
constexpr qreal TitleLabel = 9;   ///< Lab(12)
constexpr qreal AlbumLabel = 10;  ///< Lab(13)
constexpr qreal TrackNumber = 11; ///< Lab(9)
constexpr qreal PlayTime = 12;    ///< Lab(10)
constexpr qreal Shuffle = 13;     ///< I1(6)
constexpr qreal Repeat = 14;      ///< I1(5)
constexpr qreal Bass = 15;        ///< I1(3)
constexpr qreal PlayerLogo = 16;  ///< I1(4)
constexpr qreal FocusFrame = 17;  ///< around the element held from the keyboard

/// The z-value of element 0-7 or 9-13.
constexpr qreal forElement(int index)
{
    constexpr qreal table[] = {ArtistIcon, TitleIcon,   AlbumIcon,  Bass,      PlayerLogo,
                               Repeat,     Shuffle,     Cover,      -1,        TrackNumber,
                               PlayTime,   ArtistLabel, TitleLabel, AlbumLabel};
    return table[index];
}

} // namespace jukora::ZOrder
