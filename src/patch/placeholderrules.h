#pragma once

#include "elementquery.h"

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace jukora::patch {

/// What a placeholder takes from its element.
enum class ValueKind { X, Y, RightEdge, Width, Alignment };

struct PlaceholderRule
{
    std::string_view placeholder; ///< also the number of characters cut from field 0
    ElementIndex element;
    ValueKind kind;
    std::string_view suffix; ///< second byte of the Thumb instruction, or empty
};

/// The placeholders in the order in which a line is searched for them.
/// The first one found in a line decides its rule: a line may hold two
/// ("*aix*" and "*ax*" are both artist positions), so the order matters.
inline constexpr auto kRules = std::to_array<PlaceholderRule>({
    {"*cw*", AlbumCover, ValueKind::Width, "20"},
    {"*cy*", AlbumCover, ValueKind::Y, "22"},
    {"*cx*", AlbumCover, ValueKind::X, "21"},
    {"*ex*", BassIndicator, ValueKind::X, "20"},
    {"*ey*", BassIndicator, ValueKind::Y, "21"},
    {"*sx*", ShuffleIndicator, ValueKind::X, "20"},
    {"*sy*", ShuffleIndicator, ValueKind::Y, "21"},
    {"*lx*", RepeatIndicator, ValueKind::X, "20"},
    {"*ly*", RepeatIndicator, ValueKind::Y, "21"},
    {"*aix*", ArtistIcon, ValueKind::X, "20"},
    {"*aiy*", ArtistIcon, ValueKind::Y, "21"},
    {"*tix*", TitleIcon, ValueKind::X, "20"},
    {"*tiy*", TitleIcon, ValueKind::Y, "21"},
    {"*albumx*", AlbumIcon, ValueKind::X, "20"},
    {"*albumy*", AlbumIcon, ValueKind::Y, "21"},
    {"*jix*", PlayerLogo, ValueKind::X, "20"},
    {"*jiy*", PlayerLogo, ValueKind::Y, "21"},
    {"*ctw*", TrackNumber, ValueKind::RightEdge, ""},
    {"*ctx*", TrackNumber, ValueKind::X, "22"},
    {"*cty*", TrackNumber, ValueKind::Y, "23"},
    {"*cta*", TrackNumber, ValueKind::Alignment, ""},
    {"*tpx*", PlayTime, ValueKind::X, "22"},
    {"*tpy*", PlayTime, ValueKind::Y, "23"},
    {"*tpa*", PlayTime, ValueKind::Alignment, ""},
    {"*tpw*", PlayTime, ValueKind::RightEdge, ""},
    {"*ay*", ArtistLabel, ValueKind::Y, ""},
    {"*ax*", ArtistLabel, ValueKind::X, "32"},
    {"*aa*", ArtistLabel, ValueKind::Alignment, ""},
    {"*ty*", TitleLabel, ValueKind::Y, ""},
    {"*tx*", TitleLabel, ValueKind::X, "32"},
    {"*ta*", TitleLabel, ValueKind::Alignment, ""},
    {"*aly*", AlbumLabel, ValueKind::Y, ""},
    {"*alx*", AlbumLabel, ValueKind::X, "37"},
    {"*ala*", AlbumLabel, ValueKind::Alignment, ""},
});

/// Human-readable name of an element, for messages.
std::string_view elementName(int index);
/// Human-readable name of a value kind ("X", "Y", "right edge", ...).
std::string_view kindName(ValueKind kind);

} // namespace jukora::patch
