#include "firmware.h"

#include "codec.h"
#include "instruction.h"

#include <cstdio>

namespace jukora::patch {

namespace {

bool isBlank(char c)
{
    return c == ' ' || c == '\t';
}

std::string_view trimFront(std::string_view text)
{
    while (!text.empty() && isBlank(text.front()))
        text.remove_prefix(1);
    return text;
}

/// The next run of non-blank characters, taken off the front of `text`.
std::string_view takeWord(std::string_view &text)
{
    text = trimFront(text);
    std::size_t end = 0;
    while (end < text.size() && !isBlank(text[end]))
        ++end;
    const std::string_view word = text.substr(0, end);
    text.remove_prefix(end);
    return word;
}

std::string hex(std::int64_t value)
{
    char text[24];
    std::snprintf(text, sizeof text, value < 0 ? "-%llX" : "%llX",
                  static_cast<unsigned long long>(value < 0 ? -value : value));
    return text;
}

std::string hexText(std::string_view bytes)
{
    std::string text;
    for (char c : bytes) {
        char pair[3];
        std::snprintf(pair, sizeof pair, "%02X", static_cast<unsigned char>(c));
        text += pair;
    }
    return text;
}

} // namespace

std::optional<std::uint32_t> parseAddress(std::string_view text)
{
    if (text.size() > 8)
        return std::nullopt;
    const auto value = parseHex(text);
    return value ? std::optional<std::uint32_t>(static_cast<std::uint32_t>(*value)) : std::nullopt;
}

FirmwareCheck::FirmwareCheck(std::string_view image, std::uint32_t base)
    : FirmwareCheck(
          image.size(),
          [image](std::uint64_t offset, std::size_t length, std::string *bytes) {
              *bytes = std::string(image.substr(static_cast<std::size_t>(offset), length));
              return true;
          },
          base)
{
}

bool FirmwareCheck::line(std::string_view line, const TemplateLine &t, std::string *why)
{
    if (t.rule) // a malformed one is reported by the template check
        return t.fields.malformation || compare(t.fields.address, t.fields.oldValue, why);

    std::string_view rest = trimFront(line.substr(0, line.find(';')));
    if (rest.empty() || rest.front() == '#' || rest.substr(0, 2) == "//")
        return true;
    if (rest.front() == '+' || rest.front() == '-') {
        const bool minus = rest.front() == '-';
        rest.remove_prefix(1);
        const std::string_view word = takeWord(rest);
        const auto offset = parseAddress(word);
        if (!offset) {
            ++m_failed;
            *why = "the offset line \"" + std::string(minus ? "-" : "+") + std::string(word) +
                   "\" is not a sign and one to eight hex digits";
            return false;
        }
        m_offset = minus ? -std::int64_t(*offset) : std::int64_t(*offset);
        return true;
    }
    // "1A3014: 04 C3", "1A3014 04 C3" and "1A3014:04 C3" are all one patch line.
    std::string_view address = takeWord(rest);
    std::string_view old;
    if (const auto colon = address.find(':'); colon != std::string_view::npos) {
        old = address.substr(colon + 1);
        address = address.substr(0, colon);
    }
    if (!parseAddress(address))
        return true; // not a patch line: nothing an applier writes
    if (old.empty())
        old = takeWord(rest);
    if (takeWord(rest).empty())
        return true; // new bytes only: nothing to compare
    return compare(address, old, why);
}

bool FirmwareCheck::longLine(const TemplateLine &t, std::string_view start, std::string *why)
{
    if (t.rule)
        return line(start, t, why);
    // A comment after the patch bytes: the bytes are all in the start.
    if (const std::size_t comment = start.find(';'); comment != std::string_view::npos)
        return line(start.substr(0, comment), t, why);
    std::string_view rest = trimFront(start);
    if (rest.empty() || rest.front() == '#' || rest.substr(0, 2) == "//" || rest.front() == '+' ||
        rest.front() == '-')
        return line(start, t, why);
    std::string_view address = takeWord(rest);
    if (!parseAddress(address.substr(0, address.find(':'))))
        return true; // not a patch line: nothing an applier writes
    ++m_failed;
    *why = "the line is " + std::to_string(t.length) + " bytes long; the firmware check reads a " +
           "patch line's first " + std::to_string(start.size()) +
           " bytes only, so its old bytes were not compared";
    return false;
}

bool FirmwareCheck::compare(std::string_view address, std::string_view old, std::string *why)
{
    address = trimFront(address);
    if (!address.empty() && address.back() == ':')
        address.remove_suffix(1);
    ++m_checked;
    ++m_failed; // until the bytes are found equal
    const auto at = parseAddress(address);
    if (!at) {
        *why = "the address \"" + std::string(address) + "\" is not one to eight hex digits";
        return false;
    }
    const auto bytes = hexBytes(old);
    if (!bytes) {
        *why = "the old value " + std::string(old) + " is not whole bytes in hex";
        return false;
    }
    const std::int64_t where = std::int64_t(*at) + m_offset;
    const std::int64_t from = where - std::int64_t(m_base);
    const auto size = static_cast<std::int64_t>(m_imageSize);
    if (from < 0 || from + static_cast<std::int64_t>(bytes->size()) > size) {
        *why = "the address " + hex(where) + " lies outside the firmware image, which holds " +
               (size == 0 ? std::string("no bytes")
                          : hex(m_base) + " to " + hex(std::int64_t(m_base) + size - 1));
        return false;
    }
    std::string found;
    if (!m_read(static_cast<std::uint64_t>(from), bytes->size(), &found)) {
        *why = "the firmware image could not be read at " + hex(where);
        return false;
    }
    if (found != *bytes) {
        *why = "old bytes " + std::string(old.substr(0, 24)) + (old.size() > 24 ? "..." : "") +
               " differ from the firmware's " + hexText(found) + " at " + hex(where);
        return false;
    }
    --m_failed;
    return true;
}

} // namespace jukora::patch
