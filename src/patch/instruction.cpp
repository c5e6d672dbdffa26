#include "instruction.h"

#include "codec.h"

#include <array>

namespace jukora::patch {

namespace {

std::string registerName(unsigned number)
{
    return {'R', static_cast<char>('0' + number)}; // R0 to R7
}

struct Form
{
    std::uint16_t mask;
    std::uint16_t bits;
    const char *name;
};

/// The other 16-bit Thumb forms by their fixed bits, the narrower first.
constexpr std::array<Form, 23> kForms = {{
    {0xFF00, 0xDF00, "SVC"},       {0xFF00, 0xDE00, "UDF"},       {0xFF00, 0xBE00, "BKPT"},
    {0xFF87, 0x4700, "BX"},        {0xFF87, 0x4780, "BLX"},       {0xFF00, 0x4400, "ADD"},
    {0xFF00, 0x4500, "CMP"},       {0xFF00, 0x4600, "MOV"},       {0xFF00, 0xB000, "ADD/SUB SP"},
    {0xFE00, 0xB400, "PUSH"},      {0xFE00, 0xBC00, "POP"},       {0xF800, 0x4800, "LDR"},
    {0xF800, 0x1800, "ADDS/SUBS"}, {0xF000, 0xD000, "B"},         {0xF800, 0xE000, "B"},
    {0xF800, 0xE800, "BLX"},       {0xF000, 0xF000, "BL"},        {0xF000, 0x5000, "LDR/STR"},
    {0xE000, 0x6000, "LDR/STR"},   {0xF000, 0x8000, "LDRH/STRH"}, {0xF000, 0x9000, "LDR/STR"},
    {0xF000, 0xA000, "ADR"},       {0xF000, 0xC000, "LDM/STM"},
}};

std::string bytesWord(std::size_t count)
{
    return std::to_string(count) + (count == 1 ? " byte" : " bytes");
}

} // namespace

std::string thumbName(std::uint16_t instruction)
{
    // Move, compare, add or subtract an 8-bit value: 001 op Rd imm8.
    if ((instruction & 0xE000) == 0x2000) {
        static constexpr const char *kOps[] = {"MOVS", "CMP", "ADDS", "SUBS"};
        return std::string(kOps[(instruction >> 11) & 3]) + ' ' +
               registerName((instruction >> 8) & 7);
    }
    // Shift by an immediate: 000 op imm5 Rm Rd.
    if ((instruction & 0xE000) == 0 && (instruction & 0x1800) != 0x1800) {
        static constexpr const char *kShifts[] = {"LSLS", "LSRS", "ASRS"};
        return kShifts[(instruction >> 11) & 3];
    }
    // Two registers, one operation: 010000 op Rm Rd.
    if ((instruction & 0xFC00) == 0x4000) {
        static constexpr const char *kOps[] = {"ANDS", "EORS", "LSLS", "LSRS", "ASRS", "ADCS",
                                               "SBCS", "RORS", "TST",  "NEGS", "CMP",  "CMN",
                                               "ORRS", "MULS", "BICS", "MVNS"};
        return kOps[(instruction >> 6) & 15];
    }
    for (const Form &form : kForms) {
        if ((instruction & form.mask) == form.bits)
            return form.name;
    }
    return "another instruction";
}

std::string ruleInstruction(const PlaceholderRule &rule)
{
    if (rule.suffix.size() != 2)
        return {};
    const auto high = parseHex(rule.suffix).value_or(0);
    return thumbName(static_cast<std::uint16_t>(high << 8));
}

std::optional<std::string> hexBytes(std::string_view field)
{
    if (field.empty() || field.size() % 2 != 0)
        return std::nullopt;
    std::string bytes;
    bytes.reserve(field.size() / 2);
    for (std::size_t i = 0; i < field.size(); i += 2) {
        const auto byte = parseHex(field.substr(i, 2));
        if (!byte)
            return std::nullopt;
        bytes.push_back(static_cast<char>(*byte));
    }
    return bytes;
}

namespace {

bool looksLikeRule(const PlaceholderRule &rule, std::string_view oldValue)
{
    const std::size_t digits = rule.suffix.empty() ? 2 : 4;
    if (oldValue.size() != digits || !parseHex(oldValue))
        return false;
    // One instruction byte stands for one instruction, and the reverse.
    return rule.suffix.empty() || parseHex(oldValue.substr(2)) == parseHex(rule.suffix);
}

std::string whyNot(const PlaceholderRule &rule, std::string_view oldValue)
{
    // A value of any length is named by its start.
    constexpr std::size_t shown = 24;
    const std::string old = "the old value " + std::string(oldValue.substr(0, shown)) +
                            (oldValue.size() > shown ? "..." : "");
    const auto bytes = hexBytes(oldValue);
    if (!bytes)
        return old + " is not whole bytes in hex; appliers refuse the line";
    const std::string writes = ruleInstruction(rule);
    const std::size_t wanted = writes.empty() ? 1 : 2;
    if (bytes->size() != wanted) {
        return old + " is " + bytesWord(bytes->size()) + ", but " + std::string(rule.placeholder) +
               " writes " + bytesWord(wanted) + (writes.empty() ? "" : " (" + writes + ")") +
               ": appliers refuse a line whose old and new values differ in length";
    }
    // The value byte comes first, the instruction's own byte second.
    const auto instruction = static_cast<std::uint16_t>(
        static_cast<unsigned char>((*bytes)[1]) << 8 | static_cast<unsigned char>((*bytes)[0]));
    return old + " is " + thumbName(instruction) + ", but " + std::string(rule.placeholder) +
           " writes " + writes + ": is the address right?";
}

} // namespace

bool oldValueFits(const PlaceholderRule &rule, std::string_view oldValue, std::string *why)
{
    if (looksLikeRule(rule, oldValue))
        return true;
    if (why)
        *why = whyNot(rule, oldValue);
    return false;
}

} // namespace jukora::patch
