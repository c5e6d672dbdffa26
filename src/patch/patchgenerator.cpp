#include "patchgenerator.h"

#include "codec.h"
#include "elementquery.h"
#include "instruction.h"

#include <cstdio>
#include <cstring>

namespace jukora::patch {

namespace {

constexpr std::string_view kCrLf = "\r\n";
constexpr auto npos = std::string_view::npos;

/// From `from` to `to` (or the end of the line when `to` is npos).
std::string_view cut(std::string_view line, std::size_t from, std::size_t to)
{
    return line.substr(from, to == npos ? npos : to - from);
}

} // namespace

LineScan scanLine(const PlaceholderRule &rule, std::string_view line)
{
    // The first two spaces and the first two ";": four memchr calls beat a
    // loop over every byte of the line.
    const auto find = [&](char c, std::size_t from) {
        if (from >= line.size())
            return npos;
        const void *at = std::memchr(line.data() + from, c, line.size() - from);
        return at ? static_cast<std::size_t>(static_cast<const char *>(at) - line.data()) : npos;
    };
    const std::size_t space = find(' ', 0);
    const std::size_t space2 = space == npos ? npos : find(' ', space + 1);
    const std::size_t semi = find(';', 0);
    const std::size_t semi2 = semi == npos ? npos : find(';', semi + 1);
    LineScan scan;
    if (space == npos)
        scan.malformation = "no space after the address, so there is no old value";
    else if (semi == npos)
        scan.malformation = "no \";\" to start the comment";
    else if (space < rule.placeholder.size())
        scan.malformation =
            "the first field is shorter than the placeholder, so there is no address";
    if (scan.malformation)
        return scan;
    scan.address = cut(line, rule.placeholder.size(), space);
    scan.oldValue = cut(line, space + 1, space2);
    scan.comment = cut(line, semi + 1, semi2);
    return scan;
}

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

void PatchGenerator::EmitLine(std::string &out)
{
    OutLine += ';';
    OutLine += LineFields.comment;
    out += OutLine;
    out += kCrLf;
}

void PatchGenerator::processLine(std::string_view line, const PlaceholderRule *rule,
                                 const LineScan &fields, std::string &out)
{
    InLine = line;
    OutLine.clear();
    if (!rule) {
        out.append(line).append(kCrLf);
        return;
    }
    LineFields = fields;
    if (fields.malformation)
        return;

    switch (rule->kind) {
    case ValueKind::X:
        SelIndex = rule->element;
        EncodeX();
        break;
    case ValueKind::Y:
        SelIndex = rule->element;
        EncodeY();
        break;
    case ValueKind::Width:
    case ValueKind::RightEdge:
    case ValueKind::Alignment: {
        const float value = ruleValue(*rule, m_query);
        if (rule->kind == ValueKind::Width && !fitsByte(value))
            return; // refused by the check; the patch is never kept
        HexPair = encodeValue(rule->kind, value);
        break;
    }
    }

    OutLine += fields.address;
    OutLine += ' ';
    OutLine += fields.oldValue;
    OutLine += ' ';
    OutLine += HexPair;
    OutLine += rule->suffix;
    EmitLine(out);
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
