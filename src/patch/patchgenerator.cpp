#include "patchgenerator.h"

#include "codec.h"
#include "elementquery.h"
#include "instruction.h"

#include <cassert>
#include <cstdio>
#include <cstring>

namespace jukora::patch {

namespace {

constexpr std::string_view kCrLf = "\r\n";

} // namespace

PatchGenerator::PatchGenerator(const ElementQuery &query, std::int16_t selIndex)
    : SelIndex(selIndex), m_query(query)
{
}

void PatchGenerator::EncodeX()
{
    HexPair = encodeValue(ValueKind::X, ruleValue(ValueKind::X, SelIndex, m_query));
}

void PatchGenerator::EncodeY()
{
    HexPair = encodeValue(ValueKind::Y, ruleValue(ValueKind::Y, SelIndex, m_query));
}

void PatchGenerator::EmitLine(const LineScan &fields, std::string_view value, PatchBytes &out)
{
    // A template line holds the address, a space and the old value one
    // after the other, as the patch line does: they go in one copy, and the
    // line is sized once instead of growing piece by piece.
    const std::string_view head(fields.address.data(),
                                fields.address.size() + 1 + fields.oldValue.size());
    assert(head.data() + fields.address.size() + 1 == fields.oldValue.data());
    char *p = out.extend(head.size() + 1 + value.size() + 1 + fields.comment.size() + kCrLf.size());
    const auto put = [&p](std::string_view bytes) {
        copyBytes(p, bytes.data(), bytes.size());
        p += bytes.size();
    };
    put(head);
    *p++ = ' ';
    put(value);
    *p++ = ';';
    put(fields.comment);
    put(kCrLf);
}

void PatchGenerator::processLine(std::string_view line, const PlaceholderRule *rule,
                                 const LineScan &fields, PatchBytes &out)
{
    if (!rule) {
        char *p = out.extend(line.size() + kCrLf.size());
        copyBytes(p, line.data(), line.size());
        std::memcpy(p + line.size(), kCrLf.data(), kCrLf.size());
        return;
    }
    if (fields.malformation)
        return;
    // An X or Y rule moves SelIndex to its element on every line.
    if (rule->kind == ValueKind::X || rule->kind == ValueKind::Y)
        SelIndex = rule->element;
    const auto number = static_cast<std::size_t>(rule - kRules.data());
    if (!m_encoded[number]) {
        m_encoded[number] = true;
        switch (rule->kind) {
        case ValueKind::X:
            EncodeX();
            break;
        case ValueKind::Y:
            EncodeY();
            break;
        case ValueKind::Width:
        case ValueKind::RightEdge:
        case ValueKind::Alignment: {
            const float value = ruleValue(*rule, m_query);
            // A cover width that is no byte is refused by the check; the
            // patch is never kept.
            m_refused[number] = rule->kind == ValueKind::Width && !fitsByte(value);
            HexPair = encodeValue(rule->kind, value);
            break;
        }
        }
        m_value[number] = HexPair;
        m_value[number] += rule->suffix;
    }
    if (!m_refused[number])
        EmitLine(fields, m_value[number], out);
}

std::string describe(const OutOfRangeValue &value)
{
    // %g: the rounded value as a whole number, or in exponent form when huge.
    char number[32];
    std::snprintf(number, sizeof number, "%g", value.value);
    std::string text(elementName(value.element));
    text += ' ';
    text += kindName(value.kind);
    text += ": ";
    text += number;
    text += ", written as ";
    text += value.written;
    return text;
}

TemplateCheck::TemplateCheck(const ElementQuery &query, std::size_t maxListed)
    : m_query(query), m_maxListed(maxListed)
{
}

void TemplateCheck::checkLine(const PlaceholderRule *rule, const LineScan &fields)
{
    ++m_lines;
    if (!rule)
        return;
    if (fields.malformation) {
        if (m_malformed.size() < m_maxListed)
            m_malformed.push_back({m_lines, std::string(rule->placeholder), fields.malformation});
        ++m_malformedCount;
        return;
    }
    m_oldValueWarnings += !oldValueFits(*rule, fields.oldValue);
    const auto ruleNumber = static_cast<std::size_t>(rule - kRules.data());
    if (m_ruleSeen[ruleNumber])
        return;
    m_ruleSeen[ruleNumber] = true;

    const float value = ruleValue(*rule, m_query);
    switch (rule->kind) {
    case ValueKind::Width:
        if (!fitsByte(value)) {
            m_coverWidthBad = true;
            m_coverWidth = roundHalfEven(value);
        }
        break;
    case ValueKind::X:
    case ValueKind::Y:
    case ValueKind::RightEdge:
        if (!fitsByte(value)) {
            m_outOfRange.push_back({rule->element, rule->kind, std::string(rule->placeholder),
                                    roundHalfEven(value), hexPair(value)});
        }
        break;
    case ValueKind::Alignment:
        break;
    }
}

} // namespace jukora::patch
