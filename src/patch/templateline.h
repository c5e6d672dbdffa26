#pragma once

#include "placeholderrules.h"

#include <string_view>

namespace jukora::patch {

/// What one scan of a placeholder line finds: the fields the rewrite copies
/// and, when it cannot be rewritten, why. The fields are views into the line.
struct LineScan
{
    std::string_view address;  ///< field 0 (up to the first space) less the placeholder
    std::string_view oldValue; ///< field 1: from the first space to the next, or the end
    std::string_view comment;  ///< from the first ";" to the next, or the end
    /// Why the line cannot become a patch line, or nullptr. It needs a space
    /// (field 1, the old value), a ";" (the comment) and a field 0 at least
    /// as long as its placeholder; and no line may be longer than
    /// kMaxLineBytes, placeholder or not.
    const char *malformation = nullptr;
};

/// A template line looked at once: its rule (null for a plain line) and,
/// for a placeholder line, its fields. The check, the rewrite and the
/// layout reader all start from this.
struct TemplateLine
{
    const PlaceholderRule *rule = nullptr;
    LineScan fields;
};

/// Finds a line's rule (the first in kRules whose placeholder occurs in it
/// anywhere, case sensitive) and, when it has one, its fields. A line longer
/// than kMaxLineBytes has no rule, only its malformation.
TemplateLine readTemplateLine(std::string_view line);

} // namespace jukora::patch
