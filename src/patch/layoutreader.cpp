#include "layoutreader.h"

#include "codec.h"
#include "linesplitter.h"
#include "placeholderrules.h"
#include "templateline.h"

#include <algorithm>
#include <bit>
#include <cstring>
#include <vector>

namespace jukora::patch {

namespace {

template <typename OnLine> void eachLine(std::string_view bytes, OnLine &&onLine)
{
    std::size_t number = 0;
    forEachLine(bytes,
                [&](std::string_view line, bool hasStar) { onLine(++number, line, hasStar); });
}

/// Eight bytes at a time, multiplied and folded; addresses are short.
std::uint64_t addressHash(std::string_view address)
{
    constexpr std::uint64_t kMultiplier = 0x9E3779B97F4A7C15ull;
    std::uint64_t hash = address.size();
    for (; address.size() >= 8; address.remove_prefix(8)) {
        std::uint64_t word;
        std::memcpy(&word, address.data(), 8);
        hash = (hash ^ word) * kMultiplier;
        hash ^= hash >> 29;
    }
    // The last 0 to 7 bytes without a loop: two loads that overlap, or the
    // first, middle and last byte, cover every byte.
    const auto byte = [&](std::size_t i) {
        return std::uint64_t(static_cast<unsigned char>(address[i]));
    };
    const std::size_t n = address.size();
    std::uint64_t word = 0;
    if (n >= 4) {
        std::uint32_t low, high;
        std::memcpy(&low, address.data(), 4);
        std::memcpy(&high, address.data() + n - 4, 4);
        word = low | std::uint64_t(high) << 32;
    } else if (n > 0) {
        word = byte(0) | byte(n / 2) << 8 | byte(n - 1) << 16;
    }
    hash = (hash ^ word) * kMultiplier;
    return hash ^ hash >> 32;
}

/// What can be wrong with the value of a patch line for a rule.
enum class ValueFault { None, NotHex, OtherSuffix, NoAlignment };

/// The value of a patch line, "address old value;comment", for `rule`: the
/// bytes from the second space to the ";", and its byte when sound.
ValueFault readValue(std::string_view line, std::size_t addressSize, const PlaceholderRule &rule,
                     std::string_view *value, int *byte)
{
    const std::string_view afterAddress = line.substr(addressSize + 1);
    const auto secondSpace = afterAddress.find(' ');
    const std::string_view rest = secondSpace == std::string_view::npos
                                      ? std::string_view()
                                      : afterAddress.substr(secondSpace + 1);
    *value = rest.substr(0, rest.find(';'));
    const std::string_view v = *value;
    if (v.size() != 2 + rule.suffix.size() || hexDigit(v[0]) < 0 || hexDigit(v[1]) < 0)
        return ValueFault::NotHex;
    if (v.substr(2) != rule.suffix)
        return ValueFault::OtherSuffix;
    *byte = hexDigit(v[0]) * 16 + hexDigit(v[1]);
    if (rule.kind == ValueKind::Alignment && *byte > 2)
        return ValueFault::NoAlignment;
    return ValueFault::None;
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

LayoutReader::LayoutReader(std::string_view patchBytes)
{
    // The patch's lines by address, in patch order. A patch is small and a
    // template may be large, so the template is only looked up against them.
    // A patch read whole is at most tens of megabytes: its line numbers and
    // indexes fit in 32 bits.
    std::size_t terminators = 0;
    for (const char *p = patchBytes.data(), *end = p + patchBytes.size();
         (p = static_cast<const char *>(std::memchr(p, '\n', std::size_t(end - p)))); ++p)
        ++terminators;
    m_patchLines.reserve(terminators + 1);
    eachLine(patchBytes, [&](std::size_t number, std::string_view line, bool) {
        const auto space = line.find(' ');
        if (space != std::string_view::npos)
            m_patchLines.push_back({line.data(), static_cast<std::uint32_t>(line.size()),
                                    static_cast<std::uint32_t>(space),
                                    static_cast<std::uint32_t>(number), 0});
    });
    std::size_t slots = 16;
    while (slots < 2 * m_patchLines.size())
        slots *= 2;
    m_slots.assign(slots, 0);
    // A large patch's table is far larger than the processor's caches: the
    // slot of a line some way ahead is fetched while this one is placed.
    constexpr std::size_t kAhead = 16;
    std::vector<std::uint64_t> hashes(m_patchLines.size());
    for (std::size_t i = 0; i < m_patchLines.size(); ++i)
        hashes[i] = addressHash(m_patchLines[i].addressText());
    for (std::uint32_t i = 0; i < m_patchLines.size(); ++i) {
        if (i + kAhead < m_patchLines.size())
            __builtin_prefetch(&m_slots[hashes[i + kAhead] & (m_slots.size() - 1)]);
        PatchLine &patchLine = m_patchLines[i];
        const std::string_view address = patchLine.addressText();
        const std::uint64_t hash = hashes[i];
        Slot &slot = slotOf(address, hash);
        if (slot == 0) {
            m_addresses.push_back({i, i, i});
            slot = (hash & ~kIndexBits) | m_addresses.size();
        } else {
            AtAddress &at = m_addresses[(slot & kIndexBits) - 1];
            m_patchLines[at.last].nextThere = i;
            at.last = i;
        }
        patchLine.entry = static_cast<std::uint32_t>((slot & kIndexBits) - 1);
    }
    m_byEnding = !m_addresses.empty();
    for (const AtAddress &at : m_addresses) {
        const std::string_view address = addressOf(at);
        if (address.size() < 4) {
            m_byEnding = false;
            break;
        }
        const std::size_t bit = endingBit(address.data() + address.size() - 4);
        m_endings[bit / 64] |= std::uint64_t(1) << (bit % 64);
    }
}

LayoutReader::Slot &LayoutReader::slotOf(std::string_view address, std::uint64_t hash)
{
    // The hash's high bits stand beside the index, so that another address
    // in the slot is almost always told apart without comparing bytes.
    const std::size_t mask = m_slots.size() - 1;
    for (std::size_t at = hash & mask;; at = (at + 1) & mask) {
        Slot &slot = m_slots[at];
        if (slot == 0 || (((slot ^ hash) & ~kIndexBits) == 0 &&
                          addressOf(m_addresses[(slot & kIndexBits) - 1]) == address))
            return slot;
    }
}

std::uint32_t LayoutReader::find(std::string_view address)
{
    constexpr std::size_t kLookAhead = 8;
    const std::size_t end = std::min(m_cursor + kLookAhead, m_patchLines.size());
    for (std::size_t i = m_cursor; i < end; ++i) {
        if (m_patchLines[i].addressText() == address)
            return m_patchLines[i].entry;
    }
    const Slot slot = slotOf(address, addressHash(address));
    return slot == 0 ? kNone : static_cast<std::uint32_t>((slot & kIndexBits) - 1);
}

void LayoutReader::templateLine(std::string_view line, bool hasStar)
{
    if (!hasStar)
        return;
    if (m_byEnding) {
        // The address is the first field less a placeholder of at least four
        // bytes, so one of four bytes or more needs a space at 8 or later.
        const std::size_t space = line.find(' ');
        if (space == std::string_view::npos || space < 8)
            return;
        if (!hasEnding(line.data() + space - 4))
            return;
    }
    // Where endings are looked at, they were above: the bytes before the
    // first space are those that end the address.
    const TemplateLine t = readTemplateLine(line, hasStar);
    if (t.rule && !t.fields.malformation)
        takeAt(t);
}

void LayoutReader::takeAt(const TemplateLine &t)
{
    // A template may patch one address from two rules; the patch then has
    // two lines there, taken in the same order.
    const std::uint32_t entry = find(t.fields.address);
    if (entry == kNone)
        return;
    AtAddress &at = m_addresses[entry];
    if (at.untaken == kNone)
        return;
    PatchLine &taken = m_patchLines[at.untaken];
    const auto ruleNumber = static_cast<std::size_t>(t.rule - kRules.data());
    taken.rule = static_cast<std::uint8_t>(ruleNumber);
    at.untaken = taken.nextThere;
    m_cursor = static_cast<std::size_t>(&taken - m_patchLines.data()) + 1;
    if (!m_soFar[ruleNumber]) {
        std::string_view value;
        int byte = 0;
        if (readValue(taken.line(), taken.addressSize, *t.rule, &value, &byte) ==
            ValueFault::None) {
            m_soFar[ruleNumber] = byte;
            ++m_changes;
        }
    }
}

PatchLayout LayoutReader::layoutSoFar() const
{
    return layoutOf(m_soFar);
}

std::optional<PatchLayout> readLayout(std::string_view templateBytes, std::string_view patchBytes,
                                      std::string *error)
{
    LayoutReader reader(patchBytes);
    forEachLine(templateBytes,
                [&](std::string_view line, bool hasStar) { reader.templateLine(line, hasStar); });
    return reader.finish(error);
}

std::optional<PatchLayout> LayoutReader::finish(std::string *error)
{
    std::array<std::optional<int>, kRules.size()> values;
    std::size_t matched = 0;
    std::string problem;
    for (const PatchLine &patchLine : m_patchLines) {
        if (patchLine.rule == kNoRule)
            continue;
        const PlaceholderRule &rule = kRules[patchLine.rule];
        std::string_view value;
        int byte = 0;
        const ValueFault fault =
            readValue(patchLine.line(), patchLine.addressSize, rule, &value, &byte);
        // Said only when something is wrong: most patch lines are fine.
        const auto where = [&] {
            std::string text("line ");
            text += std::to_string(patchLine.number) + " (" + std::string(rule.placeholder) +
                    ", address " + std::string(patchLine.addressText()) + ")";
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
        *error = problem;
        return std::nullopt;
    }
    if (matched == 0) {
        *error = "none of the patch's addresses is one that the template's placeholders patch";
        return std::nullopt;
    }
    PatchLayout layout = layoutOf(values);
    layout.matchedLines = matched;
    return layout;
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

void GrowingLayout::firstUse(const PlaceholderRule &rule)
{
    if (m_reader.changes() != m_changes) {
        m_changes = m_reader.changes();
        m_layout = defaultLayout();
        applyPatchLayout(m_reader.layoutSoFar(), m_layout);
    }
    m_used[static_cast<std::size_t>(&rule - kRules.data())] = ruleValue(rule, m_query);
}

bool GrowingLayout::held(const Layout &finished) const
{
    const LayoutQuery query(finished);
    for (std::size_t i = 0; i < kRules.size(); ++i) {
        // The same bits, not merely equal: the patch writes what it reads.
        if (m_used[i] && std::bit_cast<std::uint32_t>(*m_used[i]) !=
                             std::bit_cast<std::uint32_t>(ruleValue(kRules[i], query)))
            return false;
    }
    return true;
}

} // namespace jukora::patch
