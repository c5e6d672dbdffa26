#include "placeholderrules.h"

#include "elementquery.h"

#include <algorithm>
#include <cstring>

namespace jukora::patch {

namespace {

/// Up to eight bytes packed into one number, for comparing tokens at once.
constexpr std::uint64_t pack(std::string_view text)
{
    std::uint64_t value = 0;
    for (std::size_t i = 0; i < text.size() && i < 8; ++i)
        value |= static_cast<std::uint64_t>(static_cast<unsigned char>(text[i])) << (8 * i);
    return value;
}

constexpr std::array<std::uint64_t, 34> packedPlaceholders()
{
    std::array<std::uint64_t, 34> packed{};
    for (std::size_t i = 0; i < kRules.size(); ++i)
        packed[i] = pack(kRules[i].placeholder);
    return packed;
}

/// The rule whose placeholder is exactly `token` (4 to 8 bytes), or
/// kRules.size(). Placeholders differ in their packed bytes, length included,
/// since each ends in '*' at its own length.
std::size_t ruleNumberOf(std::string_view token)
{
    static constexpr auto packed = packedPlaceholders();
    const std::uint64_t value = pack(token);
    for (std::size_t i = 0; i < packed.size(); ++i) {
        if (packed[i] == value)
            return i;
    }
    return kRules.size();
}

} // namespace

const PlaceholderRule *findRule(std::string_view line, bool hasStar)
{
    // Every placeholder is a name between two '*' with no '*' inside, so it
    // occurs in a line exactly where a '*' and the next '*' enclose it. Each
    // such pair is looked up once; the earliest rule in the table wins,
    // wherever in the line it stands.
    if (!hasStar || line.size() < 4)
        return nullptr;
    const char *const end = line.data() + line.size();
    const char *star = static_cast<const char *>(std::memchr(line.data(), '*', line.size()));
    std::size_t best = kRules.size();
    while (star) {
        const char *next = static_cast<const char *>(
            std::memchr(star + 1, '*', static_cast<std::size_t>(end - star - 1)));
        if (!next)
            break;
        const std::size_t length = static_cast<std::size_t>(next - star) + 1;
        if (length >= 4 && length <= 8)
            best = std::min(best, ruleNumberOf(std::string_view(star, length)));
        star = next;
    }
    return best < kRules.size() ? &kRules[best] : nullptr;
}

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
