#include "codec.h"

#include "elementquery.h"

#include <cmath>

namespace jukora::patch {

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

float ruleValue(ValueKind kind, int element, const ElementQuery &query)
{
    // Every step in single precision, as the positions themselves are.
    switch (kind) {
    case ValueKind::X:
        return query.left(element);
    case ValueKind::Y:
        return shownY(query.top(element));
    case ValueKind::RightEdge:
        return query.left(element) + kLabelOffset;
    case ValueKind::Width:
        return query.coverWidth();
    case ValueKind::Alignment:
        return static_cast<float>(query.alignment(element));
    }
    return 0.0f;
}

std::string encodeValue(ValueKind kind, float value)
{
    if (kind != ValueKind::Alignment)
        return hexPair(value);
    // Built up in place: GCC 12 at -O3 warns (-Wrestrict) about the inlined
    // copy in `"0" + std::to_string(...)`.
    std::string text(1, '0');
    text += std::to_string(static_cast<int>(value));
    return text;
}

float decodeValue(ValueKind kind, int byte)
{
    const auto v = static_cast<float>(byte);
    switch (kind) {
    case ValueKind::Y:
        return v + kTopBand;
    case ValueKind::RightEdge:
        return v - kLabelOffset;
    case ValueKind::X:
    case ValueKind::Width:
    case ValueKind::Alignment:
        break;
    }
    return v;
}

} // namespace jukora::patch
