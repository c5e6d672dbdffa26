#include "patchlanguage.h"

#include "codec.h"
#include "linesplitter.h"

#include <algorithm>
#include <vector>

namespace jukora::patch {

namespace {

constexpr std::size_t kShownCharacters = 24;
constexpr std::uint64_t kMaxAddressDigits = 8;

std::string quoted(const std::string &text, std::uint64_t length)
{
    return '"' + text + (length > text.size() ? "...\"" : "\"");
}

std::string bytesText(std::uint64_t bytes)
{
    return std::to_string(bytes) + (bytes == 1 ? " byte" : " bytes");
}

} // namespace

void PatchLanguageCheck::problem(std::string text)
{
    if (m_state.problem.empty())
        m_state.problem = std::move(text);
}

namespace {
bool endsWord(char c)
{
    return c == ';' || c == '/' || c == ' ' || c == '\t';
}
} // namespace

void PatchLanguageCheck::feed(std::string_view piece)
{
    // A line is taken a word at a time; what follows ";" or "//" not at all.
    while (!piece.empty() && !m_state.restIsComment) {
        std::size_t run = 0;
        if (!m_inBlock && !m_state.slash) {
            while (run < piece.size() && !endsWord(piece[run]))
                ++run;
        }
        if (run > 0) {
            wordRun(piece.substr(0, run));
        } else {
            run = 1;
            character(piece.front());
        }
        piece.remove_prefix(run);
    }
}

void PatchLanguageCheck::character(char c)
{
    LineState &s = m_state;
    if (s.restIsComment)
        return;
    if (m_inBlock) {
        if (m_blockStar && c == '/')
            m_inBlock = false;
        m_blockStar = c == '*';
        return;
    }
    if (s.slash) {
        s.slash = false;
        if (c == '/' || c == '*') {
            endWord();
            s.restIsComment = c == '/';
            m_inBlock = c == '*';
            m_blockStar = false;
            m_blockOpenedAt = current();
            return;
        }
        wordCharacter('/');
    }
    switch (c) {
    case ';':
        endWord();
        s.restIsComment = true;
        break;
    case '/':
        s.slash = true;
        break;
    case ' ':
    case '\t':
        endWord();
        break;
    default:
        wordCharacter(c);
    }
}

void PatchLanguageCheck::wordCharacter(char c)
{
    wordRun(std::string_view(&c, 1));
}

void PatchLanguageCheck::wordRun(std::string_view run)
{
    LineState &s = m_state;
    if (!s.inWord) {
        s.inWord = true;
        Word &w = s.word;
        w.length = w.value = 0;
        w.allHex = true;
        w.shown.clear();
        if (s.kind == Kind::Blank) {
            const char c = run.front();
            s.kind = c == '#' ? Kind::Directive : c == '+' || c == '-' ? Kind::Offset : Kind::Data;
            if (s.kind == Kind::Offset) {
                s.negative = c == '-';
                w.shown.assign(1, c);
                run.remove_prefix(1); // the sign is not one of the offset's digits
            }
        }
    }
    if (s.kind == Kind::Data && !s.afterColon) {
        if (const std::size_t colon = run.find(':'); colon != std::string_view::npos) {
            addToWord(run.substr(0, colon));
            endAddress();
            run.remove_prefix(colon + 1);
        }
    }
    addToWord(run);
}

void PatchLanguageCheck::endAddress()
{
    // The address ends at the colon; what follows in the word is the old data.
    LineState &s = m_state;
    Word &w = s.word;
    if (w.length == 0)
        problem("no address before the colon");
    else if (!w.allHex)
        problem("the address " + quoted(w.shown, w.length) + " is not hex");
    else if (w.length > kMaxAddressDigits)
        problem("the address " + quoted(w.shown, w.length) + " has more than 8 hex digits");
    s.afterColon = true;
    w.length = w.value = 0;
    w.allHex = true;
    w.shown.clear();
}

void PatchLanguageCheck::addToWord(std::string_view run)
{
    Word &w = m_state.word;
    if (w.shown.size() < kShownCharacters)
        w.shown.append(run.substr(0, kShownCharacters - w.shown.size()));
    if (w.allHex) {
        w.allHex = leadingHexDigits(run) == run.size();
        // The value matters only for an offset, which has at most 8 digits.
        if (w.allHex && w.length + run.size() <= kMaxAddressDigits)
            w.value = (w.value << (4 * run.size())) | parseHex(run).value_or(0);
    }
    w.length += run.size();
}

void PatchLanguageCheck::endWord()
{
    LineState &s = m_state;
    if (!s.inWord)
        return;
    s.inWord = false;
    const Word &w = s.word;
    const int index = s.words++;
    switch (s.kind) {
    case Kind::Blank:
        break;
    case Kind::Data:
        endDataWord(w);
        break;
    case Kind::Offset:
        if (index > 0)
            problem("an offset line holds the offset alone, but " + quoted(w.shown, w.length) +
                    " follows it");
        else if (w.length == 0)
            problem("no hex digits after the offset's sign");
        else if (!w.allHex)
            problem("the offset " + quoted(w.shown, w.length + 1) + " is not hex");
        else if (w.length > kMaxAddressDigits)
            problem("the offset " + quoted(w.shown, w.length + 1) + " has more than 8 hex digits");
        break;
    case Kind::Directive:
        if (index < 3)
            s.directive[index] = w.shown;
        else
            problem("a directive is \"#pragma enable NAME\" or \"#pragma disable NAME\", but " +
                    quoted(w.shown, w.length) + " follows it");
        break;
    }
}

void PatchLanguageCheck::endDataWord(const Word &w)
{
    LineState &s = m_state;
    if (!s.afterColon) {
        problem(w.allHex && w.length > 0
                    ? "no colon after the address " + quoted(w.shown, w.length)
                    : quoted(w.shown, w.length) +
                          " starts no patch line: a data line starts with a hex address and "
                          "a colon, an offset with + or -, a directive with #pragma");
        s.afterColon = true; // one reason is enough
        return;
    }
    if (w.length == 0)
        return; // the colon ended the word
    ++s.dataItems;
    if (!w.allHex)
        problem("the data " + quoted(w.shown, w.length) + " is not hex");
    else if (w.length % 2 != 0)
        problem("the data " + quoted(w.shown, w.length) + " has an odd number of hex digits");
    if (s.dataItems == 1)
        s.oldBytes = w.length / 2;
    else if (s.dataItems == 2)
        s.newBytes = w.length / 2;
    else if (s.dataItems == 3)
        problem("more than old and new data after the address");
}

void PatchLanguageCheck::judgeLine()
{
    LineState &s = m_state;
    switch (s.kind) {
    case Kind::Blank:
        break;
    case Kind::Data:
        if (s.dataItems == 0)
            problem("no data after the address");
        else if (s.dataItems == 2 && s.oldBytes < s.newBytes)
            problem("the old data (" + bytesText(s.oldBytes) + ") is shorter than the new data (" +
                    bytesText(s.newBytes) + ")");
        break;
    case Kind::Offset:
        if (s.problem.empty())
            takeOffset();
        break;
    case Kind::Directive:
        if (s.problem.empty())
            takePragma();
        break;
    }
}

void PatchLanguageCheck::takeOffset()
{
    const std::uint64_t value = m_state.word.value;
    const bool negative = m_state.negative;
    // "+0" ends an offset; so does the opposite of the offset in force,
    // the customary close of a "+A0000000" block.
    if (value == 0 || (m_offsetLine != 0 && value == m_offset && negative != m_offsetNegative)) {
        m_offsetLine = 0;
        return;
    }
    m_offset = value;
    m_offsetNegative = negative;
    m_offsetLine = current();
}

void PatchLanguageCheck::takePragma()
{
    const std::string(&words)[3] = m_state.directive;
    const bool enables = words[1] == "enable";
    if (words[0] != "#pragma" || (!enables && words[1] != "disable") || words[2].empty()) {
        problem("a directive is \"#pragma enable NAME\" or \"#pragma disable NAME\"; patchers "
                "know no other");
        return;
    }
    const auto at = m_pragmas.find(words[2]);
    if (at == m_pragmas.end())
        m_pragmas.emplace(words[2], Pragma{enables, enables, current()});
    else
        at->second = {at->second.firstEnables, enables, current()};
}

void PatchLanguageCheck::resetLine()
{
    // Field by field, so that the strings keep what they have allocated.
    LineState &s = m_state;
    s.kind = Kind::Blank;
    s.inWord = s.restIsComment = s.slash = s.afterColon = s.negative = false;
    s.words = s.dataItems = 0;
    s.oldBytes = s.newBytes = 0;
    for (std::string &word : s.directive)
        word.clear();
    s.problem.clear();
}

void PatchLanguageCheck::restartLine()
{
    resetLine();
    m_inBlock = m_blockAtLineStart;
    m_blockStar = false;
}

void PatchLanguageCheck::endLine()
{
    if (m_state.slash) {
        m_state.slash = false;
        wordCharacter('/');
    }
    endWord();
    judgeLine();
    if (!m_state.problem.empty()) {
        // One reason a line: a block comment it opens is not named again.
        m_blockLineWarned = m_inBlock && m_blockOpenedAt == current();
        m_warn(current(), std::move(m_state.problem));
    }
    resetLine();
    m_blockStar = false;
    m_blockAtLineStart = m_inBlock;
    ++m_line;
}

void PatchLanguageCheck::finish()
{
    if (m_inBlock && !m_blockLineWarned)
        m_warn(m_blockOpenedAt, "the block comment opened here is never closed with */");
    if (m_offsetLine != 0)
        m_warn(m_offsetLine, "this offset is still in force at the end of the file; patchers "
                             "expect +0 at the end");
    for (const auto &[name, pragma] : m_pragmas) {
        if (pragma.enables == pragma.firstEnables)
            m_warn(pragma.line, "#pragma " + std::string(pragma.enables ? "enable " : "disable ") +
                                    name + " is still in force at the end of the file");
    }
}

std::string patchLanguageFindings(std::string_view bytes)
{
    std::vector<std::pair<std::size_t, std::string>> found;
    PatchLanguageCheck check(
        [&](std::size_t line, std::string reason) { found.emplace_back(line, std::move(reason)); });
    forEachLine(bytes, [&](std::string_view line) {
        check.feed(line);
        check.endLine();
    });
    check.finish();
    std::stable_sort(found.begin(), found.end(),
                     [](const auto &a, const auto &b) { return a.first < b.first; });
    std::string text;
    for (const auto &[line, reason] : found)
        text += std::to_string(line) + ": " + reason + '\n';
    return text;
}

} // namespace jukora::patch
