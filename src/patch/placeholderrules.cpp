#include "placeholderrules.h"

#include "elementquery.h"

#include <cmath>
#include <cstring>

namespace jukora::patch {

namespace {
using K = ValueKind;
} // namespace

// Several lines hold a placeholder whose letters also start another one's
// ("*aix*" and "*ax*" are both artist positions), so the order matters.
const std::array<PlaceholderRule, 34> kRules = {{
    {"*cw*", AlbumCover, K::Width, "20"},
    {"*cy*", AlbumCover, K::Y, "22"},
    {"*cx*", AlbumCover, K::X, "21"},
    {"*ex*", BassIndicator, K::X, "20"},
    {"*ey*", BassIndicator, K::Y, "21"},
    {"*sx*", ShuffleIndicator, K::X, "20"},
    {"*sy*", ShuffleIndicator, K::Y, "21"},
    {"*lx*", RepeatIndicator, K::X, "20"},
    {"*ly*", RepeatIndicator, K::Y, "21"},
    {"*aix*", ArtistIcon, K::X, "20"},
    {"*aiy*", ArtistIcon, K::Y, "21"},
    {"*tix*", TitleIcon, K::X, "20"},
    {"*tiy*", TitleIcon, K::Y, "21"},
    {"*albumx*", AlbumIcon, K::X, "20"},
    {"*albumy*", AlbumIcon, K::Y, "21"},
    {"*jix*", PlayerLogo, K::X, "20"},
    {"*jiy*", PlayerLogo, K::Y, "21"},
    {"*ctw*", TrackNumber, K::RightEdge, ""},
    {"*ctx*", TrackNumber, K::X, "22"},
    {"*cty*", TrackNumber, K::Y, "23"},
    {"*cta*", TrackNumber, K::Alignment, ""},
    {"*tpx*", PlayTime, K::X, "22"},
    {"*tpy*", PlayTime, K::Y, "23"},
    {"*tpa*", PlayTime, K::Alignment, ""},
    {"*tpw*", PlayTime, K::RightEdge, ""},
    {"*ay*", ArtistLabel, K::Y, ""},
    {"*ax*", ArtistLabel, K::X, "32"},
    {"*aa*", ArtistLabel, K::Alignment, ""},
    {"*ty*", TitleLabel, K::Y, ""},
    {"*tx*", TitleLabel, K::X, "32"},
    {"*ta*", TitleLabel, K::Alignment, ""},
    {"*aly*", AlbumLabel, K::Y, ""},
    {"*alx*", AlbumLabel, K::X, "37"},
    {"*ala*", AlbumLabel, K::Alignment, ""},
}};

const PlaceholderRule *findRule(std::string_view line)
{
    // Every placeholder starts with '*'; most template lines have none, and
    // this test keeps the 34 searches off them.
    if (line.empty() || !std::memchr(line.data(), '*', line.size()))
        return nullptr;
    for (const PlaceholderRule &rule : kRules) {
        if (line.find(rule.placeholder) != std::string_view::npos)
            return &rule;
    }
    return nullptr;
}

double roundHalfEven(float value)
{
    // nearbyint rounds in the current rounding mode, which is to-nearest-even
    // unless someone changed it; do it by hand so nothing outside can.
    const double v = value;
    if (!std::isfinite(v))
        return 0.0;
    const double floor = std::floor(v);
    const double diff = v - floor;
    if (diff < 0.5)
        return floor;
    if (diff > 0.5)
        return floor + 1.0;
    return std::fmod(floor, 2.0) == 0.0 ? floor : floor + 1.0;
}

std::string hexPair(float value)
{
    static constexpr char digits[] = "0123456789ABCDEF";
    double low = std::fmod(roundHalfEven(value), 256.0);
    if (low < 0)
        low += 256.0;
    const auto byte = static_cast<unsigned>(low);
    return std::string{digits[(byte >> 4) & 0xF], digits[byte & 0xF]};
}

bool fitsByte(float value)
{
    const double r = roundHalfEven(value);
    return std::isfinite(static_cast<double>(value)) && r >= 0.0 && r <= 255.0;
}

std::string_view elementName(int index)
{
    switch (index) {
    case ArtistIcon: return "artist icon";
    case TitleIcon: return "title icon";
    case AlbumIcon: return "album icon";
    case BassIndicator: return "bass indicator";
    case PlayerLogo: return "player logo";
    case RepeatIndicator: return "repeat indicator";
    case ShuffleIndicator: return "shuffle indicator";
    case AlbumCover: return "album cover";
    case TrackNumber: return "track number";
    case PlayTime: return "play time";
    case ArtistLabel: return "artist";
    case TitleLabel: return "title";
    case AlbumLabel: return "album";
    default: return "no element";
    }
}

std::string_view kindName(ValueKind kind)
{
    switch (kind) {
    case K::X: return "X";
    case K::Y: return "Y";
    case K::RightEdge: return "right edge";
    case K::Width: return "width";
    case K::Alignment: return "alignment";
    }
    return "";
}

} // namespace jukora::patch
