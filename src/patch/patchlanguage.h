#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <map>
#include <string>
#include <string_view>

namespace jukora::patch {

/// Reads a patch as a phone's patcher reads it and names every line the
/// patcher would reject or misread. Lines are fed in pieces of any length,
/// so a line of any length takes constant memory.
///
/// The language: a data line is a hex address of at most 8 digits, a colon,
/// then the old data and the new data separated by blanks (the old data may
/// be left out); data are pairs of hex digits, and old data shorter than the
/// new data is wrong. "+HEX" and "-HEX" move the addresses that follow; an
/// offset still in force at the end of the file is suspicious (patchers
/// expect "+0" there, or the offset line taken back by its opposite).
/// "#pragma enable NAME" and "#pragma disable NAME" are directives; another
/// directive, or a pragma not switched back by the end, is suspicious.
/// Blank lines and comments (";" or "//" to the end of the line, "/* ... */"
/// across lines) are fine, but a block comment must be closed.
class PatchLanguageCheck
{
public:
    /// Called with the line number (from 1) and the reason, as a reason for
    /// a FILE:LINE: warning line, for each line that is wrong; at most once
    /// a line, and for the end of the file's findings from finish().
    using Warn = std::function<void(std::size_t line, std::string reason)>;

    explicit PatchLanguageCheck(Warn warn) : m_warn(std::move(warn)) {}

    /// The next piece of the current line, without its terminator.
    void feed(std::string_view piece);
    /// Forgets what was fed of the current line, to feed it again (a
    /// template line, then the patch line it became).
    void restartLine();
    /// The current line is over.
    void endLine();
    /// The file is over.
    void finish();

    std::size_t lines() const { return m_line; }

private:
    enum class Kind { Blank, Data, Offset, Directive };
    struct Word
    {
        std::uint64_t length = 0;
        bool allHex = true;
        std::uint64_t value = 0; ///< as hex, while it fits
        std::string shown;       ///< its start, to name it
    };
    struct LineState
    {
        Kind kind = Kind::Blank;
        bool inWord = false;
        bool restIsComment = false;
        bool slash = false; ///< a '/' that may start a comment
        bool afterColon = false;
        bool negative = false; ///< an offset line's sign
        Word word;
        int words = 0;
        int dataItems = 0;
        std::uint64_t oldBytes = 0, newBytes = 0;
        std::string directive[3];
        std::string problem;
    };
    struct Pragma
    {
        bool firstEnables;
        bool enables;
        std::size_t line;
    };

    void character(char c);
    void wordCharacter(char c);
    void wordRun(std::string_view run);
    void addToWord(std::string_view run);
    void endAddress();
    void resetLine();
    void endWord();
    void endDataWord(const Word &word);
    void judgeLine();
    void takeOffset();
    void takePragma();
    void problem(std::string text);
    std::size_t current() const { return m_line + 1; }

    Warn m_warn;
    LineState m_state;
    std::size_t m_line = 0;
    bool m_inBlock = false, m_blockStar = false, m_blockAtLineStart = false;
    std::size_t m_blockOpenedAt = 0;
    bool m_blockLineWarned = false; ///< the line that opened it has a warning already
    bool m_offsetNegative = false;
    std::uint64_t m_offset = 0;
    std::size_t m_offsetLine = 0;
    std::map<std::string, Pragma, std::less<>> m_pragmas;
};

/// Runs the check over a patch held whole and gives each finding as
/// "LINE: reason", in file order; for tests and tools.
std::string patchLanguageFindings(std::string_view bytes);

} // namespace jukora::patch
