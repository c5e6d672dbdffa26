#pragma once

#include "patchlanguage.h"
#include "placeholderrules.h"
#include "templateline.h"
#include "templatereader.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <functional>
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
    ElementIndex element;
    ValueKind kind;
    std::string placeholder;
    double value;        ///< rounded
    std::string written; ///< the two hex digits the patch would get
};

/// "track number right edge: 280, written as 18": the element, the value and
/// the byte the patch would carry.
std::string describe(const OutOfRangeValue &value);

/// A line a patch may go out with, but that is worth a look before the
/// patch reaches a phone.
struct LineWarning
{
    std::size_t lineNumber; ///< from 1
    std::string what;       ///< a reason for a FILE:LINE: warning line
};

/// Everything a template would go wrong on, gathered before anything is
/// written: malformed placeholder lines, a cover width outside 0-255, and
/// positions that do not fit a byte (listed once per placeholder); and what
/// is only suspicious: old values unlike the instruction a placeholder
/// writes, and lines a phone's patcher would reject or misread.
class TemplateCheck
{
public:
    /// Enough for any template being written; a broken or foreign file of
    /// millions of lines still gives a list of bounded size.
    static constexpr std::size_t kMaxListed = 1000;

    /// Told of each malformed line ("error") and each warning ("warning")
    /// as it is found, whether listed or not.
    using Reporter = std::function<void(const char *kind, std::size_t line,
                                        std::string_view placeholder, const std::string &what)>;

    /// Lists at most `maxListed` malformed lines and as many warnings;
    /// malformedCount() and warningCount() count them all.
    explicit TemplateCheck(const ElementQuery &query, std::size_t maxListed = kMaxListed);

    void setReporter(Reporter reporter) { m_reporter = std::move(reporter); }

    /// Checks the next line of the template.
    void checkLine(const TemplateLine &t);
    /// Takes a warning about line `lineNumber` (one of the patch's lines).
    void warn(std::size_t lineNumber, std::string what);
    /// The template is over: the warnings in line order.
    void finish();

    const std::vector<MalformedLine> &malformed() const { return m_malformed; }
    std::size_t malformedCount() const { return m_malformedCount; }
    /// The rounded cover width when a Width rule is present and it is not a byte.
    std::optional<double> badCoverWidth() const
    {
        return m_coverWidthBad ? std::optional<double>(m_coverWidth) : std::nullopt;
    }
    const std::vector<OutOfRangeValue> &outOfRange() const { return m_outOfRange; }
    /// Lines worth a look, in line order once finish() is called.
    const std::vector<LineWarning> &warnings() const { return m_warnings; }
    std::size_t warningCount() const { return m_warningCount; }

private:
    void malformed(std::string_view placeholder, std::string what);

    const ElementQuery &m_query;
    std::size_t m_maxListed;
    std::size_t m_lines = 0;
    std::vector<MalformedLine> m_malformed;
    std::size_t m_malformedCount = 0;
    bool m_coverWidthBad = false;
    double m_coverWidth = 0;
    std::vector<OutOfRangeValue> m_outOfRange;
    std::vector<LineWarning> m_warnings;
    std::size_t m_warningCount = 0;
    std::size_t m_lastWarned = 0;
    std::array<bool, kRules.size()> m_ruleSeen{};
    Reporter m_reporter;
};

/// Where a PatchRun's lines go.
class PatchOutput
{
public:
    virtual ~PatchOutput() = default;
    /// Takes the next bytes of the patch.
    virtual void write(std::string_view bytes) = 0;
    /// Takes back the last `bytes` bytes written: a line copied through in
    /// pieces turned out to be a placeholder line.
    virtual void takeBack(std::uint64_t bytes) = 0;
};

/// Checks and generates in one pass over the template, one scan per line:
/// the patch lines go to the output (none for a check alone), what would go
/// wrong is gathered in `check`, and every patch line, as a phone's patcher
/// will see it, goes through the patch language check. Whether the patch
/// may be kept is decided once the pass is over.
class PatchRun : public TemplateSink
{
public:
    explicit PatchRun(const ElementQuery &query, PatchOutput *output,
                      std::size_t maxListed = TemplateCheck::kMaxListed);

    void line(std::string_view text, const TemplateLine &t) override;
    void piece(std::string_view bytes) override;
    void longLine(const TemplateLine &t, std::string_view start) override;
    /// The template is over: the last lines go out, and the check ends.
    void finish();

    TemplateCheck check;
    PatchGenerator generator;

private:
    /// The patch line of template line `t` (`text` when held whole) goes
    /// out, and to the patch language check.
    void write(std::string_view text, const TemplateLine &t);
    void flush();

    PatchOutput *m_output;
    PatchLanguageCheck m_language;
    std::string m_out;               ///< patch lines not yet written
    std::uint64_t m_longWritten = 0; ///< bytes of the current long line copied through
};

} // namespace jukora::patch
