#include "patchgenerator.h"

#include "elementquery.h"
#include "linesplitter.h"

#include <cstdio>

namespace jukora::patch {

namespace {

constexpr std::string_view kCrLf = "\r\n";

} // namespace

const char *malformation(const PlaceholderRule &rule, std::string_view line)
{
    // Template lines are short: a plain loop beats a library search here.
    std::size_t space = std::string_view::npos;
    bool semicolon = false;
    for (std::size_t i = 0; i < line.size(); ++i) {
        const char c = line[i];
        if (c == ' ' && space == std::string_view::npos)
            space = i;
        semicolon |= c == ';';
    }
    if (space == std::string_view::npos)
        return "no space after the address, so there is no old value";
    if (!semicolon)
        return "no \";\" to start the comment";
    if (space < rule.placeholder.size())
        return "the first field is shorter than the placeholder, so there is no address";
    return nullptr;
}

std::optional<std::string> coverWidthPair(float width)
{
    if (!fitsByte(width))
        return std::nullopt;
    return hexPair(width);
}

float ruleValue(const PlaceholderRule &rule, const ElementQuery &query)
{
    switch (rule.kind) {
    case ValueKind::X:
        return query.left(rule.element);
    case ValueKind::Y:
        return query.top(rule.element) - 24.0f;
    case ValueKind::RightEdge:
        return query.left(rule.element) + 80.0f;
    case ValueKind::Width:
        return query.coverWidth();
    case ValueKind::Alignment:
        return static_cast<float>(query.alignment(rule.element));
    }
    return 0.0f;
}

PatchGenerator::PatchGenerator(const ElementQuery &query, std::int16_t selIndex)
    : SelIndex(selIndex), m_query(query)
{
}

void PatchGenerator::cutInLine(char separator)
{
    LineFields.clear();
    const char *start = InLine.data();
    const char *const end = start + InLine.size();
    for (const char *p = start; p != end; ++p) {
        if (*p == separator) {
            LineFields.emplace_back(start, static_cast<std::size_t>(p - start));
            start = p + 1;
        }
    }
    LineFields.emplace_back(start, static_cast<std::size_t>(end - start));
}

void PatchGenerator::EncodeX()
{
    HexPair = hexPair(m_query.left(SelIndex));
}

void PatchGenerator::EncodeY()
{
    // The subtraction is done in single precision, like every position.
    const float y = m_query.top(SelIndex) - 24.0f;
    HexPair = hexPair(y);
}

void PatchGenerator::EmitLine(std::string &out)
{
    cutInLine(';');
    OutLine += ';';
    OutLine += LineFields.size() > 1 ? LineFields[1] : std::string_view();
    out += OutLine;
    out += kCrLf;
}

PatchGenerator::LineResult
PatchGenerator::processLine(std::string_view line, const PlaceholderRule *rule, std::string &out)
{
    InLine = line;
    OutLine.clear();
    if (!rule) {
        out.append(line).append(kCrLf);
        return LineResult::Copied;
    }
    if (malformation(*rule, line))
        return LineResult::Malformed;

    std::string value;
    switch (rule->kind) {
    case ValueKind::X:
        SelIndex = rule->element;
        EncodeX();
        value = HexPair;
        break;
    case ValueKind::Y:
        SelIndex = rule->element;
        EncodeY();
        value = HexPair;
        break;
    case ValueKind::RightEdge:
        HexPair = hexPair(m_query.left(rule->element) + 80.0f);
        value = HexPair;
        break;
    case ValueKind::Width: {
        auto pair = coverWidthPair(m_query.coverWidth());
        if (!pair)
            return LineResult::Malformed;
        value = *pair;
        break;
    }
    case ValueKind::Alignment:
        // Built up in place: GCC 12 at -O3 warns (-Wrestrict) about the
        // inlined copy in `"0" + std::to_string(...)`.
        value = '0';
        value += std::to_string(m_query.alignment(rule->element));
        break;
    }

    cutInLine(' ');
    OutLine += LineFields[0].substr(rule->placeholder.size());
    OutLine += ' ';
    OutLine += LineFields[1];
    OutLine += ' ';
    OutLine += value;
    OutLine += rule->suffix;
    EmitLine(out);
    return LineResult::Rewritten;
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

void TemplateCheck::checkLine(std::string_view line, const PlaceholderRule *rule)
{
    ++m_lines;
    if (!rule)
        return;
    if (const char *what = malformation(*rule, line)) {
        if (m_malformed.size() < m_maxListed)
            m_malformed.push_back({m_lines, std::string(rule->placeholder), what});
        ++m_malformedCount;
        return;
    }
    const auto ruleNumber = static_cast<std::size_t>(rule - kRules.data());
    if (m_ruleSeen[ruleNumber])
        return;
    m_ruleSeen[ruleNumber] = true;

    const float value = ruleValue(*rule, m_query);
    switch (rule->kind) {
    case ValueKind::Width:
        if (!coverWidthPair(value)) {
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

TemplateCheck checkTemplate(std::string_view templateBytes, const ElementQuery &query)
{
    TemplateCheck check(query);
    forEachLine(templateBytes, [&](std::string_view line, bool hasStar) {
        check.checkLine(line, findRule(line, hasStar));
    });
    return check;
}

std::string generatePatch(std::string_view templateBytes, const ElementQuery &query,
                          std::int16_t &selIndex)
{
    PatchGenerator generator(query, selIndex);
    std::string out;
    out.reserve(templateBytes.size() + templateBytes.size() / 8);
    forEachLine(templateBytes, [&](std::string_view line, bool hasStar) {
        generator.processLine(line, findRule(line, hasStar), out);
    });
    selIndex = generator.SelIndex;
    return out;
}

} // namespace jukora::patch
