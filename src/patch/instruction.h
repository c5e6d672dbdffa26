#pragma once

#include "placeholderrules.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace jukora::patch {

/// A 16-bit Thumb instruction named the way a disassembly names it:
/// "MOVS R1", "ADDS R2", "CMP R0", and for other kinds the mnemonic alone
/// ("BL", "PUSH", "LDR"). The register matters for the instructions the
/// rules write: the same value in another register is another instruction.
std::string thumbName(std::uint16_t instruction);

/// The instruction a rule writes, "MOVS R1" for a rule with the suffix 21;
/// empty for a rule that writes a single byte.
std::string ruleInstruction(const PlaceholderRule &rule);

/// The bytes a hex field stands for ("6B21" is 6B, 21), or nothing when it
/// is not whole bytes in hex.
std::optional<std::string> hexBytes(std::string_view field);

/// True when the old value of a placeholder line looks like what its rule
/// writes; cheap enough for every line of a Generate. Otherwise `why` (when
/// given) says how it differs, as a reason for a FILE:LINE: warning line. A
/// rule with a suffix patches the value byte of a two-byte instruction
/// (value first, then the suffix); the old value must be two bytes ending in
/// that suffix. A rule without suffix patches one byte. Appliers refuse a
/// line whose old and new values differ in length.
bool oldValueFits(const PlaceholderRule &rule, std::string_view oldValue,
                  std::string *why = nullptr);

} // namespace jukora::patch
