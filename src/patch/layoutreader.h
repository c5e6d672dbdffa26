#pragma once

#include "layout.h"
#include "placeholderrules.h"
#include "templateline.h"

#include <array>
#include <cstdint>
#include <cstring>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace jukora::patch {

/// A layout read back from a patch: only what the patch carries is set.
struct PatchLayout
{
    std::array<std::optional<float>, 14> left;
    std::array<std::optional<float>, 14> top;
    std::array<std::optional<int>, 14> alignment;
    std::optional<float> coverWidth;
    std::size_t matchedLines = 0;
};

/// Reads the layout that a patch written from `templateBytes` carries. A
/// template line with a placeholder names an address (field 0 less the
/// placeholder); the patch line with that address carries the value, the
/// byte before the rule's suffix. Patch lines at other addresses are
/// ignored. X gives Left, Y gives Top (value + 24), a right edge gives Left
/// (value - 80) where the patch has no X for that label, the cover width
/// gives the cover's size, an alignment code the label's alignment.
///
/// Nothing, with `error` saying what did not match, when no address
/// matches, a value is not hex, a suffix differs from the rule's, or two
/// lines disagree on one value.
std::optional<PatchLayout> readLayout(std::string_view templateBytes, std::string_view patchBytes,
                                      std::string *error);

/// The same reading with the template fed line by line, for a template too
/// large to hold whole. `patchBytes` must outlive the reader.
class LayoutReader
{
public:
    explicit LayoutReader(std::string_view patchBytes);
    void templateLine(std::string_view line, bool hasStar);
    /// The same for a line read already.
    void take(const TemplateLine &t)
    {
        // Most lines stop here, in the caller's own loop.
        if (!t.rule || t.fields.malformation)
            return;
        const std::string_view address = t.fields.address;
        if (m_byEnding && (address.size() < 4 || !hasEnding(address.data() + address.size() - 4)))
            return;
        takeAt(t);
    }
    std::optional<PatchLayout> finish(std::string *error);

    /// The layout that the patch lines taken so far carry, each rule's value
    /// from the first of its lines that gives one; for a sound patch (whose
    /// lines for one rule agree) finish() gives the same once every template
    /// line is in. changes() counts how often it has changed.
    PatchLayout layoutSoFar() const;
    std::size_t changes() const { return m_changes; }

private:
    static constexpr std::uint32_t kNone = 0xFFFFFFFF;
    /// One patch line with a space, 32 bytes: a patch written from a large
    /// template has as many of them as the template has lines.
    struct PatchLine
    {
        const char *data;
        std::uint32_t size;              ///< of the line
        std::uint32_t addressSize;       ///< the address: the line up to its first space
        std::uint32_t number;            ///< in the patch, from 1
        std::uint32_t entry;             ///< its address's entry in m_addresses
        std::uint32_t nextThere = kNone; ///< the next patch line at the same address
        /// The rule (number in kRules) of the template line that took it.
        std::uint8_t rule = kNoRule;
        std::string_view line() const { return {data, size}; }
        std::string_view addressText() const { return {data, addressSize}; }
    };
    static_assert(sizeof(PatchLine) <= 32);
    static constexpr std::uint8_t kNoRule = 0xFF;
    /// The patch lines at one address form a chain in patch order; the
    /// template's placeholder lines there take them in that order.
    struct AtAddress
    {
        std::uint32_t first;   ///< the patch line that names it first
        std::uint32_t last;    ///< while the chain is built
        std::uint32_t untaken; ///< the first line no template line has taken, or kNone
    };
    /// A slot of the table over m_addresses: 0 when empty, else 1 + an
    /// index in the low bits and the address's hash above them.
    using Slot = std::uint64_t;
    static constexpr Slot kIndexBits = 0xFFFFFFFF;
    /// The slot of `address`: its entry, or the empty slot where it goes.
    Slot &slotOf(std::string_view address, std::uint64_t hash);
    std::string_view addressOf(const AtAddress &at) const
    {
        return m_patchLines[at.first].addressText();
    }
    /// Takes the patch line for a placeholder line that may have one.
    void takeAt(const TemplateLine &t);
    /// The entry of `address` in m_addresses, or kNone.
    std::uint32_t find(std::string_view address);

    std::vector<PatchLine> m_patchLines;
    std::vector<AtAddress> m_addresses;
    /// Most template lines name an address the patch does not have, and a
    /// miss costs a hash and one or two slots.
    std::vector<Slot> m_slots;
    /// A patch written from this very template has its lines in the
    /// template's order: the next template line's address is most often a
    /// few patch lines past the last one taken, found without the table.
    std::size_t m_cursor = 0;

    std::array<std::optional<int>, kRules.size()> m_soFar;
    std::size_t m_changes = 0;

    /// A template line's address ends at its first space. When every address
    /// in the patch is at least four bytes long, a line is read only if the
    /// four bytes before its first space are the last four of one of them:
    /// one bit of this table tells, and most lines stop there.
    static constexpr std::size_t kEndingBits = 4096;
    static std::size_t endingBit(const char *lastFour)
    {
        std::uint32_t word;
        std::memcpy(&word, lastFour, 4);
        return (word * 0x9E3779B1u) >> 20; // the top 12 bits: kEndingBits
    }
    bool hasEnding(const char *lastFour) const
    {
        const std::size_t bit = endingBit(lastFour);
        return m_endings[bit / 64] >> (bit % 64) & 1;
    }
    std::array<std::uint64_t, kEndingBits / 64> m_endings{};
    bool m_byEnding = false;
};

/// Puts what a patch carries onto a layout; everything else stays as it is.
void applyPatchLayout(const PatchLayout &patch, Layout &layout);

/// The layout of a run that takes it from a patch in the same pass as it
/// writes the new patch. It grows as the reader takes the patch's lines, and
/// each rule's value is worked out at the rule's first line from the layout
/// as it stands then. A patch written from this template carries each value
/// at the very line that first needs it, so one read of the template does;
/// held() tells afterwards whether every value used is the one the finished
/// layout gives, and where one is not, the run is made again with that.
class GrowingLayout
{
public:
    explicit GrowingLayout(LayoutReader &reader) : m_reader(reader) {}
    GrowingLayout(const GrowingLayout &) = delete;
    GrowingLayout &operator=(const GrowingLayout &) = delete;

    /// What the run's rules are to read.
    const ElementQuery &query() const { return m_query; }
    /// Hands one template line to the reader; at a rule's first line (before
    /// the line is checked and written) brings the layout up to date and
    /// notes the value the rule reads.
    void line(const TemplateLine &t)
    {
        m_reader.take(t);
        if (t.rule && !t.fields.malformation && !m_used[std::size_t(t.rule - kRules.data())])
            firstUse(*t.rule);
    }
    /// True when every value used is the one `finished` gives.
    bool held(const Layout &finished) const;

private:
    void firstUse(const PlaceholderRule &rule);

    LayoutReader &m_reader;
    Layout m_layout = defaultLayout();
    LayoutQuery m_query{m_layout};
    std::size_t m_changes = 0; ///< the reader's, when m_layout was last brought up to date
    std::array<std::optional<float>, kRules.size()> m_used;
};

} // namespace jukora::patch
