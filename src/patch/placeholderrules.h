#pragma once

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
    std::int16_t element;
    ValueKind kind;
    std::string_view suffix; ///< second byte of the Thumb instruction, or empty
};

/// The 34 placeholders in the order in which a line is searched for them.
/// The first one found in a line decides its rule.
extern const std::array<PlaceholderRule, 34> kRules;

/// The first rule whose placeholder occurs anywhere in the line (case
/// sensitive), or nullptr for a line without placeholder.
const PlaceholderRule *findRule(std::string_view line);

/// A preview value rounded to the nearest whole number, an exact half to the
/// even neighbour. Values that are not finite round to 0.
double roundHalfEven(float value);

/// The low eight bits of the rounded value as two upper-case hex digits:
/// 256 gives "00", -1 gives "FF".
std::string hexPair(float value);

/// True when the rounded value is a byte, 0 to 255.
bool fitsByte(float value);

/// Human-readable name of an element, for messages.
std::string_view elementName(int index);
/// Human-readable name of a value kind ("X", "Y", "right edge", ...).
std::string_view kindName(ValueKind kind);

} // namespace jukora::patch
