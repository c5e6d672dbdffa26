#pragma once

#include "layout.h"
#include "placeholderrules.h"

#include <array>
#include <cstdint>
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
    std::optional<PatchLayout> finish(std::string *error);

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
        std::uint32_t address;           ///< its entry in m_addresses
        std::uint32_t nextThere = kNone; ///< the next patch line at the same address
        std::uint8_t rule =
            kNoRule; ///< the rule (number in kRules) of the template line that took it
        std::string_view line() const { return {data, size}; }
        std::string_view addressText() const { return {data, addressSize}; }
    };
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

    /// A template line's address ends at its first space. When every address
    /// in the patch is at least four bytes long, a line is read only if the
    /// four bytes before its first space are the last four of one of them:
    /// one bit of this table tells, and most lines stop there.
    static constexpr std::size_t kEndingBits = 4096;
    static std::size_t endingBit(const char *lastFour);
    std::array<std::uint64_t, kEndingBits / 64> m_endings{};
    bool m_byEnding = false;
};

/// Puts what a patch carries onto a layout; everything else stays as it is.
void applyPatchLayout(const PatchLayout &patch, Layout &layout);

} // namespace jukora::patch
