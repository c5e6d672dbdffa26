#include "layoutreader.h"

#include "codec.h"
#include "linesplitter.h"
#include "placeholderrules.h"
#include "templateline.h"

#include <algorithm>
#include <numeric>

namespace jukora::patch {

namespace {

/// What can be wrong with the value of a patch line for a rule.
enum class ValueFault { None, NotHex, OtherSuffix, NoAlignment };

/// The value of a patch line for `rule`, and its byte when sound.
ValueFault readValue(std::string_view v, const PlaceholderRule &rule, int *byte)
{
    const auto value = parseHex(v.substr(0, 2));
    if (v.size() != 2 + rule.suffix.size() || !value)
        return ValueFault::NotHex;
    if (v.substr(2) != rule.suffix)
        return ValueFault::OtherSuffix;
    *byte = static_cast<int>(*value);
    if (rule.kind == ValueKind::Alignment && !isAlignmentCode(*byte))
        return ValueFault::NoAlignment;
    return ValueFault::None;
}

/// Where the value of a patch line, "address old value;comment", lies in
/// it: from the second space to the ";". A value is a few characters; only
/// its start is kept, enough to tell and to show that it is wrong.
std::pair<std::size_t, std::size_t> valueOf(std::string_view line, std::size_t firstSpace)
{
    const auto secondSpace = line.find(' ', firstSpace + 1);
    if (secondSpace == std::string_view::npos)
        return {0, 0};
    const std::string_view rest = line.substr(secondSpace + 1);
    return {secondSpace + 1,
            std::min<std::size_t>(rest.find(';'), std::min<std::size_t>(rest.size(), 40))};
}

/// The layout that one byte for each rule (where given) carries.
PatchLayout layoutOf(const std::array<std::optional<int>, kRules.size()> &values)
{
    PatchLayout layout;
    for (std::size_t i = 0; i < kRules.size(); ++i) {
        const PlaceholderRule &rule = kRules[i];
        const auto element = static_cast<std::size_t>(rule.element);
        if (!values[i])
            continue;
        const float v = decodeValue(rule.kind, *values[i]);
        switch (rule.kind) {
        case ValueKind::X:
            layout.left[element] = v;
            break;
        case ValueKind::RightEdge:
            break; // below, where the patch has no X
        case ValueKind::Y:
            layout.top[element] = v;
            break;
        case ValueKind::Width:
            layout.coverWidth = v;
            break;
        case ValueKind::Alignment:
            layout.alignment[element] = *values[i];
            break;
        }
    }
    for (std::size_t i = 0; i < kRules.size(); ++i) {
        const PlaceholderRule &rule = kRules[i];
        const auto element = static_cast<std::size_t>(rule.element);
        if (values[i] && rule.kind == ValueKind::RightEdge && !layout.left[element])
            layout.left[element] = decodeValue(rule.kind, *values[i]);
    }
    return layout;
}

// Strings are appended to in place: GCC 12 at -O3 warns (-Wrestrict) about
// the inlined copies of `"literal" + std::string(...)`.
std::string quoted(std::string_view text)
{
    std::string s(1, '"');
    s += text;
    s += '"';
    return s;
}

} // namespace

LayoutReader::PatchLines::PatchLines(std::string_view patchBytes) : m_bytes(patchBytes)
{
    // The patch is small and a template may be large, so the template's
    // lines are only looked up against the patch's.
    std::size_t number = 0;
    forEachLine(m_bytes, [&](std::string_view line) {
        ++number;
        const auto space = line.find(' ');
        if (space == std::string_view::npos)
            return;
        const auto start = static_cast<std::size_t>(line.data() - m_bytes.data());
        const auto [value, valueSize] = valueOf(line, space);
        m_lines.push_back({start, space, start + value, valueSize, number});
    });
    m_byAddress.resize(m_lines.size());
    std::iota(m_byAddress.begin(), m_byAddress.end(), std::size_t(0));
    std::stable_sort(m_byAddress.begin(), m_byAddress.end(), [&](std::size_t a, std::size_t b) {
        return address(m_lines[a]) < address(m_lines[b]);
    });
}

std::span<const std::size_t> LayoutReader::PatchLines::at(std::string_view wanted) const
{
    // (std::ranges would read better, but the fuzz target's clang cannot
    // build this libstdc++'s ranges.)
    const auto first = std::lower_bound(
        m_byAddress.begin(), m_byAddress.end(), wanted,
        [&](std::size_t i, std::string_view a) { return address(m_lines[i]) < a; });
    const auto last =
        std::upper_bound(first, m_byAddress.end(), wanted, [&](std::string_view a, std::size_t i) {
            return a < address(m_lines[i]);
        });
    return {first, last};
}

LayoutReader::LayoutReader(std::string_view patchBytes)
    : m_own(std::in_place, patchBytes), m_patch(*m_own)
{
}

void LayoutReader::take(const TemplateLine &t)
{
    if (!t.rule || t.fields.malformation)
        return;
    const std::span<const std::size_t> lines = m_patch.at(t.fields.address);
    if (lines.empty())
        return;
    std::size_t &taken = m_taken[lines.data()];
    if (taken < lines.size())
        m_rules[lines[taken++]] = t.rule;
}

std::optional<PatchLayout> LayoutReader::finish(std::string *error) const
{
    std::array<std::optional<int>, kRules.size()> values;
    std::size_t matched = 0;
    std::string problem;
    for (const auto &[index, takenBy] : m_rules) {
        const PatchLines::Line &patchLine = m_patch.m_lines[index];
        const PlaceholderRule &rule = *takenBy;
        const std::string_view value =
            std::string_view(m_patch.m_bytes).substr(patchLine.value, patchLine.valueSize);
        int byte = 0;
        const ValueFault fault = readValue(value, rule, &byte);
        const auto where = [&] {
            std::string text("line ");
            text += std::to_string(patchLine.number) + " (" + std::string(rule.placeholder) +
                    ", address " + std::string(m_patch.address(patchLine)) + ")";
            return text;
        };
        if (fault == ValueFault::NotHex) {
            problem = where() + ": the value " + quoted(value) + " is not a byte in hex" +
                      (rule.suffix.empty() ? "" : " followed by " + quoted(rule.suffix));
            break;
        }
        if (fault == ValueFault::OtherSuffix) {
            problem = where() + ": the value " + quoted(value) + " should end in " +
                      quoted(rule.suffix) + " for this instruction";
            break;
        }
        if (fault == ValueFault::NoAlignment) {
            problem =
                where() + ": " + quoted(value) + " is no alignment (00 left, 01 right, 02 centre)";
            break;
        }
        auto &slot = values[static_cast<std::size_t>(&rule - kRules.data())];
        if (slot && *slot != byte) {
            problem = where() + ": another line gives this value as " + std::to_string(*slot);
            break;
        }
        slot = byte;
        ++matched;
    }
    if (!problem.empty()) {
        *error = problem + '.';
        return std::nullopt;
    }
    if (matched == 0) {
        *error = "none of the patch's addresses is one that the template's placeholders patch.";
        return std::nullopt;
    }
    return layoutOf(values);
}

void applyPatchLayout(const PatchLayout &patch, Layout &layout)
{
    for (std::size_t i = 0; i < layout.left.size(); ++i) {
        if (patch.left[i])
            layout.left[i] = *patch.left[i];
        if (patch.top[i])
            layout.top[i] = *patch.top[i];
        if (patch.alignment[i])
            layout.alignment[i] = *patch.alignment[i];
    }
    if (patch.coverWidth)
        layout.coverWidth = *patch.coverWidth;
}

} // namespace jukora::patch
