#pragma once

#include "placeholderrules.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace jukora::patch {

class ElementQuery;

/// What one scan of a placeholder line finds: the fields the rewrite copies
/// and, when it cannot be rewritten, why.
struct LineScan
{
    std::string_view address;  ///< field 0 (up to the first space) less the placeholder
    std::string_view oldValue; ///< field 1: from the first space to the next, or the end
    std::string_view comment;  ///< from the first ";" to the next, or the end
    /// Why the line cannot become a patch line, or nullptr. It needs a space
    /// (field 1, the old value), a ";" (the comment) and a field 0 at least
    /// as long as its placeholder.
    const char *malformation = nullptr;
};

LineScan scanLine(const PlaceholderRule &rule, std::string_view line);

/// A template line looked at once: its rule (null for a plain line) and,
/// for a placeholder line, its fields. The check, the rewrite and the
/// layout reader all start from this.
struct TemplateLine
{
    const PlaceholderRule *rule = nullptr;
    LineScan fields;
};
inline TemplateLine readTemplateLine(std::string_view line, bool hasStar)
{
    const PlaceholderRule *rule = findRule(line, hasStar);
    return {rule, rule ? scanLine(*rule, line) : LineScan{}};
}

/// Turns template lines into patch lines, one at a time. The working state
/// keeps the names the rest of the program uses for it; SelIndex starts at the
/// window's value and ends on the last element an X or Y rule encoded.
class PatchGenerator
{
public:
    PatchGenerator(const ElementQuery &query, std::int16_t selIndex);

    /// Appends the patch line for one template line (without its terminator),
    /// CR LF included, to `out`. A line without placeholder (`rule` null) is
    /// copied as it stands; a malformed placeholder line, or a cover width
    /// that is no byte, appends nothing.
    void processLine(std::string_view line, const PlaceholderRule *rule, const LineScan &fields,
                     std::string &out);

    void EncodeX();
    void EncodeY();
    void EmitLine(std::string &out);

    std::int16_t SelIndex;
    std::string_view InLine; ///< the template line being processed
    LineScan LineFields;
    std::string OutLine;
    std::string HexPair;

private:
    const ElementQuery &m_query;
};

struct MalformedLine
{
    std::size_t lineNumber; ///< from 1
    std::string placeholder;
    std::string what;
};

/// A position that does not fit the byte the patch carries for it.
struct OutOfRangeValue
{
    std::int16_t element;
    ValueKind kind;
    std::string placeholder;
    double value;        ///< rounded
    std::string written; ///< the two hex digits the patch would get
};

/// "track number right edge: 280, written as 18": the element, the value and
/// the byte the patch would carry.
std::string describe(const OutOfRangeValue &value);

/// Everything a template would go wrong on, gathered before anything is
/// written: malformed placeholder lines, a cover width outside 0-255, and
/// positions that do not fit a byte (listed once per placeholder).
class TemplateCheck
{
public:
    /// Enough for any template being written; a broken or foreign file of
    /// millions of lines still gives a list of bounded size.
    static constexpr std::size_t kMaxListed = 1000;

    /// Lists at most `maxListed` malformed lines; malformedCount() counts
    /// them all.
    explicit TemplateCheck(const ElementQuery &query, std::size_t maxListed = kMaxListed);

    /// Checks the next line of the template.
    void checkLine(const PlaceholderRule *rule, const LineScan &fields);

    bool canWrite() const { return m_malformedCount == 0 && !m_coverWidthBad; }

    const std::vector<MalformedLine> &malformed() const { return m_malformed; }
    std::size_t malformedCount() const { return m_malformedCount; }
    /// The rounded cover width when a Width rule is present and it is not a byte.
    std::optional<double> badCoverWidth() const
    {
        return m_coverWidthBad ? std::optional<double>(m_coverWidth) : std::nullopt;
    }
    const std::vector<OutOfRangeValue> &outOfRange() const { return m_outOfRange; }
    /// Placeholder lines whose old value does not look like what their rule
    /// writes: a wrong address, or a template for other firmware.
    std::size_t oldValueWarnings() const { return m_oldValueWarnings; }

private:
    const ElementQuery &m_query;
    std::size_t m_maxListed;
    std::size_t m_lines = 0;
    std::vector<MalformedLine> m_malformed;
    std::size_t m_malformedCount = 0;
    bool m_coverWidthBad = false;
    double m_coverWidth = 0;
    std::vector<OutOfRangeValue> m_outOfRange;
    std::size_t m_oldValueWarnings = 0;
    std::array<bool, 34> m_ruleSeen{};
};

/// Checks and generates in one pass over the template, one scan per line:
/// the patch lines go to `out`, what would go wrong is gathered in `check`.
/// Whether the patch may be kept is decided once the pass is over.
class PatchRun
{
public:
    PatchRun(const ElementQuery &query, std::int16_t selIndex,
             std::size_t maxListed = TemplateCheck::kMaxListed)
        : check(query, maxListed), generator(query, selIndex)
    {
    }

    void line(std::string_view line, bool hasStar, std::string &out)
    {
        const TemplateLine t = readTemplateLine(line, hasStar);
        check.checkLine(t.rule, t.fields);
        generator.processLine(line, t.rule, t.fields, out);
    }

    TemplateCheck check;
    PatchGenerator generator;
};

} // namespace jukora::patch
