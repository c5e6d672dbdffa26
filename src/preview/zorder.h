#pragma once

#include "element.h"

#include <QtGlobal>

namespace jukora::ZOrder {

// The stacking order of the preview, back to front. Nothing ever changes it.
constexpr qreal Screen = 0;     ///< the phone-screen picture under everything
constexpr qreal Background = 1; ///< the background picture
constexpr qreal Cover = 2;      ///< the album cover
constexpr qreal TitleIcon = 3;  ///< the title icon
constexpr qreal VerticalGuide = 4;
constexpr qreal HorizontalGuide = 5;
constexpr qreal AlbumIcon = 6;    ///< the album icon
constexpr qreal ArtistIcon = 7;   ///< the artist icon
constexpr qreal ArtistLabel = 8;  ///< the artist label
constexpr qreal TitleLabel = 9;   ///< the title label
constexpr qreal AlbumLabel = 10;  ///< the album label
constexpr qreal TrackNumber = 11; ///< the track number
constexpr qreal PlayTime = 12;    ///< the play time
constexpr qreal Shuffle = 13;     ///< the shuffle indicator
constexpr qreal Repeat = 14;      ///< the repeat indicator
constexpr qreal Bass = 15;        ///< the bass indicator
constexpr qreal PlayerLogo = 16;  ///< the player logo
constexpr qreal FocusFrame = 17;  ///< around the element held from the keyboard

/// The z-value of an element.
constexpr qreal forElement(int index)
{
    switch (index) {
    case patch::ArtistIcon:
        return ArtistIcon;
    case patch::TitleIcon:
        return TitleIcon;
    case patch::AlbumIcon:
        return AlbumIcon;
    case patch::BassIndicator:
        return Bass;
    case patch::PlayerLogo:
        return PlayerLogo;
    case patch::RepeatIndicator:
        return Repeat;
    case patch::ShuffleIndicator:
        return Shuffle;
    case patch::AlbumCover:
        return Cover;
    case patch::TrackNumber:
        return TrackNumber;
    case patch::PlayTime:
        return PlayTime;
    case patch::ArtistLabel:
        return ArtistLabel;
    case patch::TitleLabel:
        return TitleLabel;
    case patch::AlbumLabel:
        return AlbumLabel;
    }
    return -1;
}

} // namespace jukora::ZOrder
