#include "templateline.h"

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

} // namespace

TemplateLine readTemplateLine(std::string_view line)
{
    // Every placeholder starts with '*'; most lines have none.
    if (line.find('*') == npos)
        return {};
    TemplateLine t;
    for (const PlaceholderRule &rule : kRules) {
        if (line.find(rule.placeholder) != npos) {
            t.rule = &rule;
            break;
        }
    }
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
