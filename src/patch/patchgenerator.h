#pragma once

#include "placeholderrules.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace jukora::patch {

class ElementQuery;

/// Why a placeholder line cannot be turned into a patch line, or nullptr when
/// it can. A rule line needs a space (field 1, the old value), a ";" (the
/// comment) and a field 0 at least as long as its placeholder.
const char *malformation(const PlaceholderRule &rule, std::string_view line);

/// The album cover's width as the two hex digits of the Width rule, or
/// nothing when the rounded width is not a byte.
std::optional<std::string> coverWidthPair(float width);

/// Turns template lines into patch lines, one at a time. The working state
/// keeps the names the rest of the program uses for it; SelIndex starts at the
/// window's value and ends on the last element an X or Y rule encoded.
class PatchGenerator
{
public:
    enum class LineResult { Copied, Rewritten, Malformed };

    PatchGenerator(const ElementQuery &query, std::int16_t selIndex);

    /// Appends the patch line for one template line (without its terminator),
    /// CR LF included, to `out`. A line without placeholder is copied as it
    /// stands. A malformed placeholder line appends nothing.
    LineResult processLine(std::string_view line, std::string &out)
    {
        return processLine(line, findRule(line), out);
    }
    /// The same for a line whose rule has been looked up already.
    LineResult processLine(std::string_view line, const PlaceholderRule *rule, std::string &out);

    void EncodeX();
    void EncodeY();
    void EmitLine(std::string &out);

    std::int16_t SelIndex;
    std::string_view InLine; ///< the template line being processed
    std::vector<std::string_view> LineFields;
    std::string OutLine;
    std::string HexPair;

private:
    void cutInLine(char separator);

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

/// "title label right edge: 280, written as 18": the element, the value and
/// the byte the patch would carry.
std::string describe(const OutOfRangeValue &value);

/// Everything a template would go wrong on, gathered before anything is
/// written: malformed placeholder lines, a cover width outside 0-255, and
/// positions that do not fit a byte (listed once per placeholder).
class TemplateCheck
{
public:
    static constexpr std::size_t kMaxListed = 50;

    /// Lists at most `maxListed` malformed lines; malformedCount() counts
    /// them all.
    explicit TemplateCheck(const ElementQuery &query, std::size_t maxListed = kMaxListed);

    void checkLine(std::string_view line) { checkLine(line, findRule(line)); }
    /// The same for a line whose rule has been looked up already.
    void checkLine(std::string_view line, const PlaceholderRule *rule);

    bool canWrite() const { return m_malformedCount == 0 && !m_coverWidthBad; }

    std::size_t lineCount() const { return m_lines; }
    const std::vector<MalformedLine> &malformed() const { return m_malformed; }
    std::size_t malformedCount() const { return m_malformedCount; }
    /// The rounded cover width when a Width rule is present and it is not a byte.
    std::optional<double> badCoverWidth() const
    {
        return m_coverWidthBad ? std::optional<double>(m_coverWidth) : std::nullopt;
    }
    const std::vector<OutOfRangeValue> &outOfRange() const { return m_outOfRange; }

private:
    const ElementQuery &m_query;
    std::size_t m_maxListed;
    std::size_t m_lines = 0;
    std::vector<MalformedLine> m_malformed;
    std::size_t m_malformedCount = 0;
    bool m_coverWidthBad = false;
    double m_coverWidth = 0;
    std::vector<OutOfRangeValue> m_outOfRange;
    std::array<bool, 34> m_ruleSeen{};
};

/// Checks and generates in one pass over the template: the patch lines go
/// to `out`, what would go wrong is gathered in `check`. Whether the patch
/// may be kept is decided once the pass is over.
class PatchRun
{
public:
    PatchRun(const ElementQuery &query, std::int16_t selIndex)
        : check(query), generator(query, selIndex)
    {
    }

    void line(std::string_view line, bool hasStar, std::string &out)
    {
        const PlaceholderRule *rule = findRule(line, hasStar);
        check.checkLine(line, rule);
        generator.processLine(line, rule, out);
    }

    TemplateCheck check;
    PatchGenerator generator;
};

/// The value a rule's element has for that rule, before encoding (Left, Top
/// less 24, Left plus 80, width or alignment code), in single precision.
float ruleValue(const PlaceholderRule &rule, const ElementQuery &query);

/// Whole-buffer helpers for tests and tools: check or generate a template
/// held in memory.
TemplateCheck checkTemplate(std::string_view templateBytes, const ElementQuery &query);
std::string generatePatch(std::string_view templateBytes, const ElementQuery &query,
                          std::int16_t &selIndex);

} // namespace jukora::patch
