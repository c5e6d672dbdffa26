#pragma once

#include "placeholderrules.h"
#include "screen.h"

#include <charconv>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace jukora::patch {

class ElementQuery;

/// The status band's height as the positions count it.
inline constexpr float kTopBand = float(kStatusBandHeight);
/// The Y a user sees for an element's Top: counted from the status band's
/// lower edge, as the patch counts it.
inline float shownY(float top)
{
    return top - kTopBand;
}

/// A label's right edge, as the firmware keeps it, lies this far right of
/// the label's Left.
inline constexpr float kLabelOffset = 80.0f;

/// A preview value rounded to the nearest whole number, an exact half to the
/// even neighbour. Values that are not finite round to 0.
double roundHalfEven(float value);

/// How many hex digits (either case) `text` starts with.
inline std::size_t leadingHexDigits(std::string_view text)
{
    std::uint64_t ignored = 0;
    const auto [stop, error] = std::from_chars(text.data(), text.data() + text.size(), ignored, 16);
    (void)error; // a number too large for 64 bits is still all digits
    return static_cast<std::size_t>(stop - text.data());
}

/// The number that `text` writes in hex (either case), when it is all hex
/// digits and fits; nothing otherwise.
inline std::optional<std::uint64_t> parseHex(std::string_view text)
{
    std::uint64_t value = 0;
    const char *end = text.data() + text.size();
    const auto [stop, error] = std::from_chars(text.data(), end, value, 16);
    if (text.empty() || stop != end || error != std::errc())
        return std::nullopt;
    return value;
}

/// The low eight bits of the rounded value as two upper-case hex digits:
/// 256 gives "00", -1 gives "FF".
std::string hexPair(float value);

/// True when the rounded value is a byte, 0 to 255.
bool fitsByte(float value);

/// What a rule writes for its element before encoding, in single precision:
/// Left, Top less the band, Left plus the label offset, the cover's width,
/// or the alignment code.
float ruleValue(ValueKind kind, int element, const ElementQuery &query);
inline float ruleValue(const PlaceholderRule &rule, const ElementQuery &query)
{
    return ruleValue(rule.kind, rule.element, query);
}

/// The value field a rule writes for `value`, before its suffix: two hex
/// digits, or for an alignment code "0" and the code.
std::string encodeValue(ValueKind kind, float value);

/// The preview value that a patch byte gives back, the inverse of ruleValue
/// and encodeValue: Left for X and for a right edge, Top for Y, the width,
/// or the alignment code.
float decodeValue(ValueKind kind, int byte);

} // namespace jukora::patch
