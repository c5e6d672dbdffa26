#include "templateline.h"

#include "linesplitter.h"

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
        const std::string_view stretch = line.substr(star, next - star + 1);
        for (const PlaceholderRule &rule : kRules) {
            if (rule.placeholder == stretch) {
                if (!found || &rule < found)
                    found = &rule;
                break;
            }
        }
        star = next;
    }
    return found;
}

static_assert(kMaxLineBytes == 65536, "the message about long lines names the limit");

} // namespace

TemplateLine readTemplateLine(std::string_view line)
{
    TemplateLine t;
    if (line.size() > kMaxLineBytes) {
        t.fields.malformation = "the line is longer than 65536 bytes, far longer than any "
                                "template's: is this file a template?";
        return t;
    }
    t.rule = findRule(line);
    if (!t.rule)
        return {};

    const std::size_t space = line.find(' ');
    const std::size_t semicolon = line.find(';');
    LineScan &scan = t.fields;
    if (space == npos)
        scan.malformation = "no space after the address, so there is no old value";
    else if (semicolon == npos)
        scan.malformation = "no \";\" to start the comment";
    else if (space < t.rule->placeholder.size())
        scan.malformation =
            "the first field is shorter than the placeholder, so there is no address";
    if (scan.malformation)
        return t;
    scan.address = cut(line, t.rule->placeholder.size(), space);
    scan.oldValue = cut(line, space + 1, next(line, ' ', space));
    scan.comment = cut(line, semicolon + 1, next(line, ';', semicolon));
    return t;
}

} // namespace jukora::patch
