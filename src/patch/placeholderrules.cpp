#include "placeholderrules.h"

#include "elementquery.h"

namespace jukora::patch {

std::string_view elementName(int index)
{
    switch (index) {
    case ArtistIcon:
        return "artist icon";
    case TitleIcon:
        return "title icon";
    case AlbumIcon:
        return "album icon";
    case BassIndicator:
        return "bass indicator";
    case PlayerLogo:
        return "player logo";
    case RepeatIndicator:
        return "repeat indicator";
    case ShuffleIndicator:
        return "shuffle indicator";
    case AlbumCover:
        return "album cover";
    case TrackNumber:
        return "track number";
    case PlayTime:
        return "play time";
    case ArtistLabel:
        return "artist";
    case TitleLabel:
        return "title";
    case AlbumLabel:
        return "album";
    default:
        return "no element";
    }
}

std::string_view kindName(ValueKind kind)
{
    switch (kind) {
    case ValueKind::X:
        return "X";
    case ValueKind::Y:
        return "Y";
    case ValueKind::RightEdge:
        return "right edge";
    case ValueKind::Width:
        return "width";
    case ValueKind::Alignment:
        return "alignment";
    }
    return "";
}

} // namespace jukora::patch
