#pragma once

#include <algorithm>
#include <string>
#include <string_view>

namespace jukora::patch {

/// The longest line a template may have. A longer one is handed over cut to
/// kMaxLineBytes + 1 bytes, so that its length still tells that it was too
/// long: a file with such a line is no template, and reading the line whole
/// could take any amount of memory.
inline constexpr std::size_t kMaxLineBytes = 64 * 1024;

/// Cuts a byte stream, fed in chunks of any size, into lines. CR LF, a lone
/// CR and a lone LF each end a line; the terminator is not part of the line.
/// A last line without terminator is still a line, and an empty stream has no
/// line at all. Bytes are never decoded: any 8-bit value passes through.
/// Each line goes to `onLine(std::string_view line)`; the view lasts only for
/// that call.
class LineSplitter
{
public:
    template <typename OnLine> void feed(std::string_view chunk, OnLine &&onLine)
    {
        if (m_pendingCr && !chunk.empty()) {
            // The CR that ended the last chunk's line may have its LF here.
            if (chunk.front() == '\n')
                chunk.remove_prefix(1);
            m_pendingCr = false;
        }
        for (;;) {
            // A plain loop: find_first_of would look each byte up in the set.
            const auto at = std::find_if(chunk.begin(), chunk.end(),
                                         [](char c) { return c == '\r' || c == '\n'; });
            if (at == chunk.end())
                break;
            const auto end = static_cast<std::size_t>(at - chunk.begin());
            if (m_carry.empty()) {
                onLine(chunk.substr(0, std::min(end, kMaxLineBytes + 1)));
            } else {
                carry(chunk.substr(0, end));
                onLine(std::string_view(m_carry));
                m_carry.clear();
            }
            const bool cr = chunk[end] == '\r';
            chunk.remove_prefix(end + 1);
            if (cr) {
                if (chunk.empty())
                    m_pendingCr = true;
                else if (chunk.front() == '\n')
                    chunk.remove_prefix(1);
            }
        }
        carry(chunk);
    }

    /// Hands over the last line if the stream did not end with a terminator.
    template <typename OnLine> void finish(OnLine &&onLine)
    {
        if (!m_carry.empty()) {
            onLine(std::string_view(m_carry));
            m_carry.clear();
        }
        m_pendingCr = false;
    }

private:
    void carry(std::string_view piece)
    {
        if (m_carry.size() <= kMaxLineBytes)
            m_carry.append(piece.substr(0, kMaxLineBytes + 1 - m_carry.size()));
    }

    std::string m_carry; ///< the start of a line that a chunk boundary cut
    bool m_pendingCr = false;
};

/// Hands every line of a buffer held whole to `onLine(line)`.
template <typename OnLine> void forEachLine(std::string_view bytes, OnLine &&onLine)
{
    LineSplitter splitter;
    splitter.feed(bytes, onLine);
    splitter.finish(onLine);
}

} // namespace jukora::patch
