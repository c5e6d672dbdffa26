#include "templateline.h"

#include <algorithm>
#include <string>

namespace jukora::patch {

namespace {

constexpr auto npos = std::string_view::npos;

/// From `from` to `to` (or the end of the line when `to` is npos).
std::string_view cut(std::string_view line, std::size_t from, std::size_t to)
{
    return line.substr(from, to == npos ? npos : to - from);
}

/// The position of the second `c` in `line`, given the first.
std::size_t next(std::string_view line, char c, std::size_t first)
{
    return first == npos ? npos : line.find(c, first + 1);
}

/// True when every placeholder is a name between two '*' with no '*'
/// inside: then each of its occurrences in a line runs from a '*' to the
/// very next one.
constexpr bool starDelimited()
{
    for (const PlaceholderRule &rule : kRules) {
        const std::string_view p = rule.placeholder;
        if (p.size() < 3 || p.front() != '*' || p.back() != '*' ||
            p.substr(1, p.size() - 2).find('*') != npos)
            return false;
    }
    return true;
}
static_assert(starDelimited(), "a placeholder must be a name between two '*', with no '*' inside");

/// The rule of the stretch from one '*' to the next, when it is a placeholder.
const PlaceholderRule *ruleOf(std::string_view stretch)
{
    for (const PlaceholderRule &rule : kRules) {
        if (rule.placeholder == stretch)
            return &rule;
    }
    return nullptr;
}

/// The first in kRules of `found` and `rule`.
const PlaceholderRule *first(const PlaceholderRule *found, const PlaceholderRule *rule)
{
    return rule && (!found || rule < found) ? rule : found;
}

/// The first rule in kRules whose placeholder occurs anywhere in the line.
/// Each stretch from one '*' to the next is compared with the table, so a
/// line costs a look at its stars, not a search for every placeholder.
const PlaceholderRule *findRule(std::string_view line)
{
    const PlaceholderRule *found = nullptr;
    for (std::size_t star = line.find('*'); star != npos;) {
        const std::size_t next = line.find('*', star + 1);
        if (next == npos)
            break;
        found = first(found, ruleOf(line.substr(star, next - star + 1)));
        star = next;
    }
    return found;
}

constexpr std::size_t longestPlaceholder()
{
    std::size_t longest = 0;
    for (const PlaceholderRule &rule : kRules)
        longest = std::max(longest, rule.placeholder.size());
    return longest;
}

/// What keeps a placeholder line from becoming a patch line, by its shape.
const char *shapeFault(const PlaceholderRule &rule, bool space, bool semicolon,
                       std::uint64_t field0Length)
{
    if (!space)
        return "no space after the address, so there is no old value";
    if (!semicolon)
        return "no \";\" to start the comment";
    if (field0Length < rule.placeholder.size())
        return "the first field is shorter than the placeholder, so there is no address";
    return nullptr;
}

} // namespace

const char *const kTooMuchHeld = "too long";

std::string malformationText(const TemplateLine &t)
{
    if (t.fields.malformation != kTooMuchHeld)
        return t.fields.malformation ? t.fields.malformation : "";
    return "the line is " + std::to_string(t.length) +
           " bytes long, and its first field, old value and comment take more than the " +
           std::to_string(kMaxHeldBytes) + " bytes (" + std::to_string(kMaxHeldBytes >> 20) +
           " MiB) a placeholder line may keep";
}

TemplateLine readTemplateLine(std::string_view line)
{
    TemplateLine t;
    t.length = line.size();
    t.rule = findRule(line);
    if (!t.rule)
        return t;

    const std::size_t space = line.find(' ');
    const std::size_t semicolon = line.find(';');
    LineScan &scan = t.fields;
    scan.malformation =
        shapeFault(*t.rule, space != npos, semicolon != npos, space == npos ? line.size() : space);
    if (scan.malformation)
        return t;
    scan.address = cut(line, t.rule->placeholder.size(), space);
    scan.oldValue = cut(line, space + 1, next(line, ' ', space));
    scan.comment = cut(line, semicolon + 1, next(line, ';', semicolon));
    return t;
}

void LineScanner::reset()
{
    *this = LineScanner(m_keepStart);
}

void LineScanner::hold(std::string &into, std::string_view bytes)
{
    if (m_heldTooMuch || bytes.empty())
        return;
    if (m_held + bytes.size() > kMaxHeldBytes) {
        m_heldTooMuch = true;
        return;
    }
    into.append(bytes);
    m_held += bytes.size();
}

void LineScanner::findStars(std::string_view piece)
{
    // A stretch longer than any placeholder is no placeholder; only that it
    // is too long matters then.
    constexpr std::size_t longest = longestPlaceholder();
    for (;;) {
        const std::size_t star = piece.find('*');
        if (star == npos) {
            if (m_inStretch && m_stretch.size() <= longest)
                m_stretch.append(piece.substr(0, longest + 1 - m_stretch.size()));
            return;
        }
        if (m_inStretch && m_stretch.size() + star + 1 <= longest) {
            m_stretch.append(piece.substr(0, star + 1));
            m_rule = first(m_rule, ruleOf(m_stretch));
        }
        m_inStretch = true;
        m_stretch.assign(1, '*');
        piece.remove_prefix(star + 1);
    }
}

void LineScanner::feed(std::string_view piece)
{
    if (m_start.size() < m_keepStart)
        m_start.append(piece.substr(0, m_keepStart - m_start.size()));
    findStars(piece);
    // Field 0 and the old value end at the first and the second space.
    for (std::string_view rest = piece; m_spaces < 2 && !rest.empty();) {
        const std::size_t space = rest.find(' ');
        const std::string_view part = rest.substr(0, space);
        if (m_spaces == 0) {
            hold(m_field0, part);
            m_field0Length += part.size();
        } else {
            hold(m_oldValue, part);
        }
        if (space == npos)
            break;
        ++m_spaces;
        rest.remove_prefix(space + 1);
    }
    // The comment runs from the first ";" to the second.
    for (std::string_view rest = piece; m_semicolons < 2 && !rest.empty();) {
        const std::size_t semicolon = rest.find(';');
        if (m_semicolons == 1)
            hold(m_comment, rest.substr(0, semicolon));
        if (semicolon == npos)
            break;
        ++m_semicolons;
        rest.remove_prefix(semicolon + 1);
    }
    m_length += piece.size();
}

TemplateLine LineScanner::result() const
{
    TemplateLine t;
    t.length = m_length;
    t.rule = m_rule;
    if (!t.rule)
        return t;
    LineScan &scan = t.fields;
    scan.malformation = shapeFault(*m_rule, m_spaces > 0, m_semicolons > 0, m_field0Length);
    if (!scan.malformation && m_heldTooMuch)
        scan.malformation = kTooMuchHeld;
    if (scan.malformation)
        return t;
    scan.address = std::string_view(m_field0).substr(m_rule->placeholder.size());
    scan.oldValue = m_oldValue;
    scan.comment = m_comment;
    return t;
}

} // namespace jukora::patch
