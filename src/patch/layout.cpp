#include "layout.h"

namespace jukora::patch {

namespace {

Layout makeDefault()
{
    Layout l;
    const auto at = [&](ElementIndex i, float left, float top) {
        l.left[i] = left;
        l.top[i] = top;
    };
    at(ArtistIcon, 8, 187);
    at(TitleIcon, 8, 210);
    at(AlbumIcon, 8, 234);
    at(BassIndicator, 165, 82);
    at(PlayerLogo, 161, 29);
    at(RepeatIndicator, 205, 82);
    at(ShuffleIndicator, 187, 104);
    at(AlbumCover, 7, 30);
    at(TrackNumber, 160, 120);
    at(PlayTime, 160, 142);
    at(ArtistLabel, 35, 183);
    at(TitleLabel, 35, 205);
    at(AlbumLabel, 35, 231);
    // Alignment codes: 0 left, 1 right, 2 centre.
    l.alignment[TrackNumber] = 2;
    l.alignment[PlayTime] = 2;
    l.coverWidth = 150;
    return l;
}

} // namespace

const Layout &defaultLayout()
{
    static const Layout layout = makeDefault();
    return layout;
}

} // namespace jukora::patch
