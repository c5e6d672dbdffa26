#pragma once

#include <cstddef>
#if defined(__SSE2__)
#include <emmintrin.h>
#endif
#include <string>
#include <string_view>

namespace jukora::patch {

/// The first CR or LF in [p, end), or end. Sets `star` when a '*' (which
/// every placeholder starts with) stands before it, so that the many lines
/// without one are known to be plain without a second look.
inline const char *findLineEnd(const char *p, const char *end, bool &star)
{
#if defined(__SSE2__)
    const __m128i cr = _mm_set1_epi8('\r');
    const __m128i lf = _mm_set1_epi8('\n');
    const __m128i asterisk = _mm_set1_epi8('*');
    while (end - p >= 16) {
        const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i *>(p));
        const auto ends = static_cast<unsigned>(
            _mm_movemask_epi8(_mm_or_si128(_mm_cmpeq_epi8(bytes, cr), _mm_cmpeq_epi8(bytes, lf))));
        const auto stars =
            static_cast<unsigned>(_mm_movemask_epi8(_mm_cmpeq_epi8(bytes, asterisk)));
        if (ends) {
            const unsigned at = static_cast<unsigned>(__builtin_ctz(ends));
            star |= (stars & ((1u << at) - 1)) != 0;
            return p + at;
        }
        star |= stars != 0;
        p += 16;
    }
#endif
    while (p != end && *p != '\r' && *p != '\n') {
        star |= *p == '*';
        ++p;
    }
    return p;
}

/// Cuts a byte stream, fed in chunks of any size, into lines. CR LF, a lone
/// CR and a lone LF each end a line; the terminator is not part of the line.
/// A last line without terminator is still a line, and an empty stream has no
/// line at all. Bytes are never decoded: any 8-bit value passes through.
/// Each line goes to `onLine(std::string_view line, bool hasStar)`.
class LineSplitter
{
public:
    template <typename OnLine> void feed(std::string_view chunk, OnLine &&onLine)
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
        bool star = false;
        while ((p = findLineEnd(p, end, star)) != end) {
            const char c = *p;
            const std::string_view piece(start, static_cast<std::size_t>(p - start));
            if (m_carry.empty()) {
                onLine(piece, star);
            } else {
                m_carry.append(piece);
                onLine(std::string_view(m_carry), star || m_carryStar);
                m_carry.clear();
                m_carryStar = false;
            }
            star = false;
            ++p;
            if (c == '\r') {
                if (p == end)
                    m_pendingCr = true;
                else if (*p == '\n')
                    ++p;
            }
            start = p;
        }
        if (start != end) {
            m_carry.append(start, static_cast<std::size_t>(end - start));
            m_carryStar |= star;
        }
    }

    /// Hands over the last line if the stream did not end with a terminator.
    template <typename OnLine> void finish(OnLine &&onLine)
    {
        if (!m_carry.empty()) {
            onLine(std::string_view(m_carry), m_carryStar);
            m_carry.clear();
        }
        m_carryStar = false;
        m_pendingCr = false;
    }

private:
    std::string m_carry; ///< start of a line that a chunk boundary cut
    bool m_carryStar = false;
    bool m_pendingCr = false;
};

/// Hands every line of a buffer held whole to `onLine(line, hasStar)`.
template <typename OnLine> void forEachLine(std::string_view bytes, OnLine &&onLine)
{
    LineSplitter splitter;
    splitter.feed(bytes, onLine);
    splitter.finish(onLine);
}

} // namespace jukora::patch
