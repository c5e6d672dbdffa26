#pragma once

#include "placeholderrules.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace jukora::patch {

/// What a placeholder line may hold of itself, its address, old value and
/// comment together; the rest of a line is never held, and a line without
/// placeholder is copied through in pieces, whatever its length.
inline constexpr std::size_t kMaxHeldBytes = 16 * 1024 * 1024;

/// What one scan of a placeholder line finds: the fields the rewrite copies
/// and, when it cannot be rewritten, why. The fields are views into the line
/// (or into the scanner that read it in pieces).
struct LineScan
{
    std::string_view address;  ///< field 0 (up to the first space) less the placeholder
    std::string_view oldValue; ///< field 1: from the first space to the next, or the end
    std::string_view comment;  ///< from the first ";" to the next, or the end
    /// Why the line cannot become a patch line, or nullptr. It needs a space
    /// (field 1, the old value), a ";" (the comment) and a field 0 at least
    /// as long as its placeholder, and what it keeps must fit kMaxHeldBytes.
    const char *malformation = nullptr;
};

/// A template line looked at once: its rule (null for a plain line) and,
/// for a placeholder line, its fields. The check, the rewrite and the
/// layout reader all start from this.
struct TemplateLine
{
    const PlaceholderRule *rule = nullptr;
    LineScan fields;
    std::uint64_t length = 0; ///< of the whole line, in bytes
};

/// The malformation of a placeholder line that keeps more than kMaxHeldBytes.
extern const char *const kTooMuchHeld;

/// A malformation as a reason for the user: the text itself, or for
/// kTooMuchHeld the line's length and the limit.
std::string malformationText(const TemplateLine &t);

/// Finds a line's rule (the first in kRules whose placeholder occurs in it
/// anywhere, case sensitive) and, when it has one, its fields.
TemplateLine readTemplateLine(std::string_view line);

/// Reads a line handed in pieces as readTemplateLine reads it whole,
/// holding only what a placeholder line keeps (its field 0, old value and
/// comment, up to kMaxHeldBytes together) and the line's first `keepStart`
/// bytes.
class LineScanner
{
public:
    explicit LineScanner(std::size_t keepStart = 0) : m_keepStart(keepStart) {}

    void feed(std::string_view piece);
    /// What the whole line holds; its views last until the next feed() or
    /// reset().
    TemplateLine result() const;
    /// The line's first bytes, as many as the scanner keeps.
    std::string_view start() const { return m_start; }
    void reset();

private:
    void hold(std::string &into, std::string_view bytes);
    void findStars(std::string_view piece);

    std::size_t m_keepStart;
    std::uint64_t m_length = 0;
    std::uint64_t m_field0Length = 0;
    int m_spaces = 0;     ///< seen so far, up to 2
    int m_semicolons = 0; ///< seen so far, up to 2
    std::string m_field0, m_oldValue, m_comment, m_start;
    std::size_t m_held = 0;
    bool m_heldTooMuch = false;
    bool m_inStretch = false; ///< a '*' was seen; m_stretch holds it and what followed
    std::string m_stretch;
    const PlaceholderRule *m_rule = nullptr;
};

} // namespace jukora::patch
