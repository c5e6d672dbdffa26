#include "patchgenerator.h"

#include "codec.h"
#include "elementquery.h"
#include "instruction.h"

#include <cstdio>

namespace jukora::patch {

void PatchGenerator::processLine(std::string_view line, const TemplateLine &t,
                                 std::string &out) const
{
    if (!t.rule) {
        // Copied as it stands (a line too long to be a template's is refused
        // by the check, and the patch is never kept).
        out += line;
        out += "\r\n";
        return;
    }
    if (t.fields.malformation)
        return;
    const PlaceholderRule &rule = *t.rule;
    const float value = ruleValue(rule, m_query);
    // A cover width that is no byte is refused by the check; the patch is
    // never kept.
    if (rule.kind == ValueKind::Width && !fitsByte(value))
        return;
    out += t.fields.address;
    out += ' ';
    out += t.fields.oldValue;
    out += ' ';
    out += encodeValue(rule.kind, value);
    out += rule.suffix;
    out += ';';
    out += t.fields.comment;
    out += "\r\n";
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

void TemplateCheck::malformed(std::string_view placeholder, const char *what)
{
    if (m_malformed.size() < m_maxListed)
        m_malformed.push_back({m_lines, std::string(placeholder), what});
    ++m_malformedCount;
}

void TemplateCheck::checkLine(const TemplateLine &t)
{
    const PlaceholderRule *rule = t.rule;
    const LineScan &fields = t.fields;
    ++m_lines;
    if (fields.malformation) {
        malformed(rule ? rule->placeholder : std::string_view(), fields.malformation);
        return;
    }
    if (!rule)
        return;
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
