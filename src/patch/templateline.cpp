#include "templateline.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstdint>
#include <cstring>
#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace jukora::patch {

namespace {

constexpr auto npos = std::string_view::npos;

/// From `from` to `to` (or the end of the line when `to` is npos).
std::string_view cut(std::string_view line, std::size_t from, std::size_t to)
{
    return line.substr(from, to == npos ? npos : to - from);
}

/// Up to eight bytes packed into one number, for comparing tokens at once.
constexpr std::uint64_t pack(std::string_view text)
{
    std::uint64_t value = 0;
    for (std::size_t i = 0; i < text.size() && i < 8; ++i)
        value |= static_cast<std::uint64_t>(static_cast<unsigned char>(text[i])) << (8 * i);
    return value;
}

/// Placeholders are looked up by a multiplicative hash into 128 slots that
/// no two of them share, so a token costs one multiplication and one
/// comparison. The multiplier is searched for at compile time.
struct PlaceholderHash
{
    static constexpr unsigned kShift = 57; // 128 slots
    static constexpr std::uint8_t kEmpty = 0xFF;
    std::uint64_t multiplier = 0;
    std::array<std::uint8_t, 128> slot{};
    std::array<std::uint64_t, kRules.size()> packed{};

    constexpr std::size_t at(std::uint64_t value) const
    {
        return static_cast<std::size_t>((value * multiplier) >> kShift);
    }
};

constexpr PlaceholderHash makePlaceholderHash()
{
    PlaceholderHash hash;
    for (std::size_t i = 0; i < kRules.size(); ++i)
        hash.packed[i] = pack(kRules[i].placeholder);
    for (std::uint64_t candidate = 0x9E3779B97F4A7C15ull;; candidate += 0x632BE59BD9B4E01Aull) {
        hash.multiplier = candidate | 1;
        for (auto &s : hash.slot)
            s = PlaceholderHash::kEmpty;
        bool clash = false;
        for (std::size_t i = 0; i < kRules.size() && !clash; ++i) {
            auto &s = hash.slot[hash.at(hash.packed[i])];
            clash = s != PlaceholderHash::kEmpty;
            s = static_cast<std::uint8_t>(i);
        }
        if (!clash)
            return hash;
    }
}

constexpr PlaceholderHash kPlaceholderHash = makePlaceholderHash();

/// The number in kRules of the placeholder that is the `length` bytes of
/// `line` from `at`, or kRules.size() when they are none.
std::size_t ruleNumberAt(std::string_view line, std::size_t at, std::size_t length)
{
    // Placeholders are 4 to 8 bytes and differ in their packed bytes, length
    // included, since each ends in '*' at its own length.
    if (length < 4 || length > 8)
        return kRules.size();
    std::uint64_t value;
    // Eight bytes read at once are the packed value only where the first
    // byte is the lowest.
    if (std::endian::native == std::endian::little && line.size() - at >= 8) {
        std::memcpy(&value, line.data() + at, 8);
        if (length < 8)
            value &= (std::uint64_t(1) << (8 * length)) - 1;
    } else {
        value = pack(line.substr(at, length));
    }
    const std::uint8_t i = kPlaceholderHash.slot[kPlaceholderHash.at(value)];
    return i != PlaceholderHash::kEmpty && kPlaceholderHash.packed[i] == value ? i : kRules.size();
}

/// Where '*', ' ' and ';' stand in up to 16 bytes, one bit per byte.
struct BlockMarks
{
    unsigned stars, spaces, semicolons;
};

/// The marks of the first `n` (at most 16) bytes, one byte at a time.
BlockMarks marksOf(const char *bytes, unsigned n)
{
    BlockMarks marks{0, 0, 0};
    for (unsigned i = 0; i < n; ++i) {
        marks.stars |= unsigned(bytes[i] == '*') << i;
        marks.spaces |= unsigned(bytes[i] == ' ') << i;
        marks.semicolons |= unsigned(bytes[i] == ';') << i;
    }
    return marks;
}

/// The marks of 16 bytes at once.
BlockMarks marksOf(const char *block)
{
#if defined(__SSE2__)
    const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i *>(block));
    const auto mask = [&](char c) {
        return static_cast<unsigned>(_mm_movemask_epi8(_mm_cmpeq_epi8(bytes, _mm_set1_epi8(c))));
    };
    return {mask('*'), mask(' '), mask(';')};
#else
    return marksOf(block, 16);
#endif
}

/// The positions of the first two bits of a kind across the blocks of a line.
struct FirstTwo
{
    std::size_t at[2] = {npos, npos};
    unsigned found = 0;

    void take(unsigned bits, std::size_t base)
    {
        for (; bits && found < 2; bits &= bits - 1)
            at[found++] = base + static_cast<std::size_t>(std::countr_zero(bits));
    }
};

} // namespace

TemplateLine readTemplateLine(std::string_view line, bool hasStar)
{
    if (!hasStar || line.size() < 4)
        return {};
    // One pass over the line, 16 bytes at a time, finds every '*' and the
    // first two spaces and ';'. Every placeholder is a name between two '*'
    // with no '*' inside, so it occurs exactly where a '*' and the next one
    // enclose it; each such pair is looked up once, and the earliest rule in
    // the table wins wherever in the line it stands.
    FirstTwo spaces, semicolons;
    std::size_t lastStar = npos;
    std::size_t best = kRules.size();
    // Called for each block of every placeholder line; GCC would otherwise
    // keep it a function of its own.
    const auto take = [&](const BlockMarks &marks, std::size_t base) __attribute__((always_inline))
    {
        spaces.take(marks.spaces, base);
        semicolons.take(marks.semicolons, base);
        for (unsigned stars = marks.stars; stars; stars &= stars - 1) {
            const std::size_t star = base + static_cast<std::size_t>(std::countr_zero(stars));
            if (lastStar != npos)
                best = std::min(best, ruleNumberAt(line, lastStar, star - lastStar + 1));
            lastStar = star;
        }
    };
    std::size_t base = 0;
    for (; line.size() - base >= 16; base += 16)
        take(marksOf(line.data() + base), base);
    if (const std::size_t rest = line.size() - base; rest > 0 && base > 0) {
        // The tail is read as the line's last 16 bytes, with the bits of the
        // bytes already taken shifted out: nothing past the line is read.
        const BlockMarks last = marksOf(line.data() + line.size() - 16);
        const auto drop = static_cast<unsigned>(16 - rest);
        take({last.stars >> drop, last.spaces >> drop, last.semicolons >> drop}, base);
    } else if (rest > 0) {
        take(marksOf(line.data(), static_cast<unsigned>(rest)), 0);
    }
    if (best == kRules.size())
        return {};

    TemplateLine t;
    t.rule = &kRules[best];
    const std::size_t space = spaces.at[0], semi = semicolons.at[0];
    LineScan &scan = t.fields;
    if (space == npos)
        scan.malformation = "no space after the address, so there is no old value";
    else if (semi == npos)
        scan.malformation = "no \";\" to start the comment";
    else if (space < t.rule->placeholder.size())
        scan.malformation =
            "the first field is shorter than the placeholder, so there is no address";
    if (scan.malformation)
        return t;
    scan.address = cut(line, t.rule->placeholder.size(), space);
    scan.oldValue = cut(line, space + 1, spaces.at[1]);
    scan.comment = cut(line, semi + 1, semicolons.at[1]);
    return t;
}

} // namespace jukora::patch
