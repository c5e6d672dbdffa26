#include "patchgenerator.h"

#include "codec.h"
#include "elementquery.h"
#include "instruction.h"

#include <algorithm>
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

void TemplateCheck::malformed(std::string_view placeholder, std::string what)
{
    if (m_reporter)
        m_reporter("error", m_lines, placeholder, what);
    if (m_malformed.size() < m_maxListed)
        m_malformed.push_back({m_lines, std::string(placeholder), std::move(what)});
    ++m_malformedCount;
}

void TemplateCheck::warn(std::size_t lineNumber, std::string what)
{
    // One reason a line is enough: an old value unlike its instruction is
    // also, often, old data a patcher would refuse.
    if (lineNumber == m_lastWarned)
        return;
    m_lastWarned = lineNumber;
    if (m_reporter)
        m_reporter("warning", lineNumber, {}, what);
    if (m_warnings.size() < m_maxListed)
        m_warnings.push_back({lineNumber, std::move(what)});
    ++m_warningCount;
}

void TemplateCheck::finish()
{
    std::stable_sort(
        m_warnings.begin(), m_warnings.end(),
        [](const LineWarning &a, const LineWarning &b) { return a.lineNumber < b.lineNumber; });
}

void TemplateCheck::checkLine(const TemplateLine &t)
{
    const PlaceholderRule *rule = t.rule;
    const LineScan &fields = t.fields;
    ++m_lines;
    if (fields.malformation) {
        malformed(rule ? rule->placeholder : std::string_view(), malformationText(t));
        return;
    }
    if (!rule)
        return;
    if (!oldValueFits(*rule, fields.oldValue)) {
        // The reason is written only where someone reads it.
        std::string why;
        if (m_reporter || m_warnings.size() < m_maxListed)
            oldValueFits(*rule, fields.oldValue, &why);
        warn(m_lines, std::move(why));
    }
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

namespace {
constexpr std::size_t kFlushAt = 1 << 18;
} // namespace

PatchRun::PatchRun(const ElementQuery &query, PatchOutput *output, std::size_t maxListed)
    : check(query, maxListed), generator(query), m_output(output),
      m_language(
          [this](std::size_t line, std::string reason) { check.warn(line, std::move(reason)); })
{
    if (m_output)
        m_out.reserve(kFlushAt + 4096);
}

void PatchRun::flush()
{
    if (m_output && !m_out.empty())
        m_output->write(m_out);
    m_out.clear();
}

void PatchRun::write(std::string_view text, const TemplateLine &t)
{
    const std::size_t before = m_out.size();
    generator.processLine(text, t, m_out);
    // The patcher sees the line as written, less its CR LF; a malformed one
    // is not written.
    if (m_out.size() >= before + 2)
        m_language.feed(std::string_view(m_out).substr(before, m_out.size() - before - 2));
}

void PatchRun::line(std::string_view text, const TemplateLine &t)
{
    check.checkLine(t);
    write(text, t);
    m_language.endLine();
    if (!m_output || m_out.size() >= kFlushAt)
        flush();
}

void PatchRun::piece(std::string_view bytes)
{
    // Copied through as it comes, and taken back should the line turn out
    // to be a placeholder line.
    m_language.feed(bytes);
    m_longWritten += bytes.size();
    if (!m_output)
        return;
    if (m_out.size() + bytes.size() > kFlushAt)
        flush();
    if (bytes.size() >= kFlushAt)
        m_output->write(bytes);
    else
        m_out += bytes;
}

void PatchRun::longLine(const TemplateLine &t, std::string_view)
{
    check.checkLine(t);
    if (t.rule) {
        if (m_longWritten <= m_out.size()) {
            m_out.resize(m_out.size() - m_longWritten);
        } else {
            if (m_output)
                m_output->takeBack(m_longWritten - m_out.size());
            m_out.clear();
        }
        m_language.restartLine();
        write({}, t);
    } else {
        m_out += "\r\n";
    }
    m_language.endLine();
    m_longWritten = 0;
    if (!m_output || m_out.size() >= kFlushAt)
        flush();
}

void PatchRun::finish()
{
    m_language.finish();
    check.finish();
    flush();
}

} // namespace jukora::patch
