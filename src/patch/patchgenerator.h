#pragma once

#include "placeholderrules.h"
#include "templateline.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace jukora::patch {

class ElementQuery;

/// Turns template lines into patch lines, one at a time, with the values
/// the rules read from `query`.
class PatchGenerator
{
public:
    explicit PatchGenerator(const ElementQuery &query) : m_query(query) {}

    /// Appends the patch line for one template line (without its
    /// terminator), CR LF included, to `out`: "address old value;comment",
    /// the value being the rule's encoded value and its suffix. A line
    /// without placeholder is copied as it stands; a malformed placeholder
    /// line, or a cover width that is no byte, appends nothing.
    void processLine(std::string_view line, const TemplateLine &t, std::string &out) const;

private:
    const ElementQuery &m_query;
};

struct MalformedLine
{
    std::size_t lineNumber;  ///< from 1
    std::string placeholder; ///< empty for a line that is wrong whatever it holds
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
    void checkLine(const TemplateLine &t);

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
    void malformed(std::string_view placeholder, const char *what);

    const ElementQuery &m_query;
    std::size_t m_maxListed;
    std::size_t m_lines = 0;
    std::vector<MalformedLine> m_malformed;
    std::size_t m_malformedCount = 0;
    bool m_coverWidthBad = false;
    double m_coverWidth = 0;
    std::vector<OutOfRangeValue> m_outOfRange;
    std::size_t m_oldValueWarnings = 0;
    std::array<bool, kRules.size()> m_ruleSeen{};
};

/// Checks and generates in one pass over the template, one scan per line:
/// the patch lines go to `out`, what would go wrong is gathered in `check`.
/// Whether the patch may be kept is decided once the pass is over.
class PatchRun
{
public:
    explicit PatchRun(const ElementQuery &query, std::size_t maxListed = TemplateCheck::kMaxListed)
        : check(query, maxListed), generator(query)
    {
    }

    void line(std::string_view line, std::string &out)
    {
        const TemplateLine t = readTemplateLine(line);
        check.checkLine(t);
        generator.processLine(line, t, out);
    }

    TemplateCheck check;
    PatchGenerator generator;
};

} // namespace jukora::patch
