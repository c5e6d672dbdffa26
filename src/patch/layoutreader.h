#pragma once

#include "layout.h"
#include "placeholderrules.h"
#include "templateline.h"
#include "templatereader.h"

#include <array>
#include <cstddef>
#include <map>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace jukora::patch {

/// A layout read back from a patch: only what the patch carries is set.
struct PatchLayout
{
    std::array<std::optional<float>, kElementSlots> left;
    std::array<std::optional<float>, kElementSlots> top;
    std::array<std::optional<int>, kElementSlots> alignment;
    std::optional<float> coverWidth;
};

/// Reads the layout that a patch written from a template carries, the
/// template fed line by line. A template line with a placeholder names an
/// address (field 0 less the placeholder); the patch line with that address
/// carries the value, the byte before the rule's suffix. Patch lines at
/// other addresses are ignored. X gives Left, Y gives Top (value + 24), a
/// right edge gives Left (value - 80) where the patch has no X for that
/// label, the cover width gives the cover's size, an alignment code the
/// label's alignment.
class LayoutReader : public TemplateSink
{
public:
    /// What a patch's lines carry, read once and shared by the readers that
    /// match it against one template each. The patch is kept as one copy;
    /// each line is where its address and value lie in it, so that even a
    /// patch of many megabytes takes little more than its own size.
    class PatchLines
    {
    public:
        explicit PatchLines(std::string_view patchBytes);

    private:
        friend class LayoutReader;
        struct Line
        {
            std::size_t address, addressSize; ///< the line up to its first space
            std::size_t value, valueSize;     ///< from its second space to the next ";"
            std::size_t number;               ///< in the patch, from 1
        };
        std::string_view address(const Line &line) const
        {
            return std::string_view(m_bytes).substr(line.address, line.addressSize);
        }
        /// The lines at one address, in patch order: a range of m_byAddress.
        /// A template may patch one address from two rules; the patch then
        /// has two lines there, and the template's lines take them in the
        /// same order.
        std::span<const std::size_t> at(std::string_view address) const;

        std::string m_bytes;
        std::vector<Line> m_lines;
        std::vector<std::size_t> m_byAddress; ///< line indices by address, then patch order
    };

    /// Keeps its own copy of what the patch's lines carry.
    explicit LayoutReader(std::string_view patchBytes);
    /// Reads against lines read before, which must outlive the reader.
    explicit LayoutReader(const PatchLines &patch) : m_patch(patch) {}

    /// Takes the next template line.
    void line(std::string_view, const TemplateLine &t) override { take(t); }
    void longLine(const TemplateLine &t, std::string_view) override { take(t); }

    /// Nothing, with `error` saying what did not match (the line and what
    /// is wrong with it, as a sentence to follow a colon), when no address
    /// matches, a value is not hex, a suffix differs from the rule's, or two
    /// lines disagree on one value.
    std::optional<PatchLayout> finish(std::string *error) const;

private:
    void take(const TemplateLine &t);

    std::optional<PatchLines> m_own;
    const PatchLines &m_patch;
    /// How many lines at an address (the start of its range) the template
    /// has taken so far.
    std::map<const std::size_t *, std::size_t> m_taken;
    /// The rule of the template line that took a patch line, by line.
    std::map<std::size_t, const PlaceholderRule *> m_rules;
};

/// Puts what a patch carries onto a layout; everything else stays as it is.
void applyPatchLayout(const PatchLayout &patch, Layout &layout);

} // namespace jukora::patch
