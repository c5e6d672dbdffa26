#pragma once

#include "placeholderrules.h"

#include <array>
#include <cstdint>
#include <string>

namespace jukora::patch {

class ElementQuery;

/// The phone's status band across the top of the screen: no element rises
/// into it, and Y values count from its lower edge.
inline constexpr float kTopBand = 24.0f;
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

/// The value of each byte as a hex digit in either case, or -1: one look-up
/// instead of three range tests, for the old value of every template line.
inline constexpr std::array<std::int8_t, 256> kHexDigits = [] {
    std::array<std::int8_t, 256> digits{};
    for (int c = 0; c < 256; ++c) {
        digits[std::size_t(c)] = static_cast<std::int8_t>(c >= '0' && c <= '9'   ? c - '0'
                                                          : c >= 'A' && c <= 'F' ? c - 'A' + 10
                                                          : c >= 'a' && c <= 'f' ? c - 'a' + 10
                                                                                 : -1);
    }
    return digits;
}();

/// The value of a hex digit in either case, or -1 for any other character.
constexpr int hexDigit(char c)
{
    return kHexDigits[static_cast<unsigned char>(c)];
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
