#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace jukora::patch {

/// Cuts a byte stream, fed in chunks of any size, into lines. CR LF, a lone
/// CR and a lone LF each end a line; the terminator is not part of the line.
/// A last line without terminator is still a line, and an empty stream has no
/// line at all. Bytes are never decoded: any 8-bit value passes through.
class LineSplitter
{
public:
    template <typename OnLine>
    void feed(std::string_view chunk, OnLine &&onLine)
    {
        const char *const begin = chunk.data();
        const char *const end = begin + chunk.size();
        const char *p = begin;
        if (m_pendingCr && p != end) {
            // The CR that ended the last chunk's line may have its LF here.
            if (*p == '\n')
                ++p;
            m_pendingCr = false;
        }
        const char *start = p;
        while (p != end) {
            const char c = *p;
            if (c != '\r' && c != '\n') {
                ++p;
                continue;
            }
            const std::string_view piece(start, static_cast<std::size_t>(p - start));
            if (m_carry.empty()) {
                onLine(piece);
            } else {
                m_carry.append(piece);
                onLine(std::string_view(m_carry));
                m_carry.clear();
            }
            ++p;
            if (c == '\r') {
                if (p == end)
                    m_pendingCr = true;
                else if (*p == '\n')
                    ++p;
            }
            start = p;
        }
        if (start != end)
            m_carry.append(start, static_cast<std::size_t>(end - start));
    }

    /// Hands over the last line if the stream did not end with a terminator.
    template <typename OnLine>
    void finish(OnLine &&onLine)
    {
        if (!m_carry.empty()) {
            onLine(std::string_view(m_carry));
            m_carry.clear();
        }
        m_pendingCr = false;
    }

private:
    std::string m_carry; ///< start of a line that a chunk boundary cut
    bool m_pendingCr = false;
};

} // namespace jukora::patch
