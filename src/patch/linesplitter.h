#pragma once

#include <algorithm>
#include <string>
#include <string_view>

namespace jukora::patch {

/// Lines up to this length are handed over whole; a longer one comes in
/// pieces, so that a line of any length takes bounded memory.
inline constexpr std::size_t kWholeLineBytes = 64 * 1024;

namespace detail {
/// The first CR or LF in `text`. A plain loop: find_first_of would look
/// each byte up in the set.
inline std::size_t findLineEnd(std::string_view text)
{
    const auto at =
        std::find_if(text.begin(), text.end(), [](char c) { return c == '\r' || c == '\n'; });
    return at == text.end() ? std::string_view::npos : static_cast<std::size_t>(at - text.begin());
}
} // namespace detail

/// Cuts a byte stream, fed in chunks of any size, into lines. CR LF, a lone
/// CR and a lone LF each end a line; the terminator is not part of the line.
/// A last line without terminator is still a line, and an empty stream has no
/// line at all. Bytes are never decoded: any 8-bit value passes through.
///
/// A line of at most kWholeLineBytes (or as given) goes to `sink.line(view)`, the view
/// lasting only for that call. A longer line goes, in order, to
/// `sink.piece(view)` as many times as it takes, then `sink.endPieces()`.
class LineSplitter
{
public:
    /// `wholeLineBytes` other than kWholeLineBytes is for tests, which cross
    /// the limit with short lines.
    explicit LineSplitter(std::size_t wholeLineBytes = kWholeLineBytes)
        : m_wholeLineBytes(wholeLineBytes)
    {
    }

    template <typename Sink> void feed(std::string_view chunk, Sink &sink)
    {
        if (m_pendingCr && !chunk.empty()) {
            // The CR that ended the last chunk's line may have its LF here.
            if (chunk.front() == '\n')
                chunk.remove_prefix(1);
            m_pendingCr = false;
        }
        for (;;) {
            const std::size_t end = detail::findLineEnd(chunk);
            if (end == std::string_view::npos)
                break;
            endLine(chunk.substr(0, end), sink);
            const bool cr = chunk[end] == '\r';
            chunk.remove_prefix(end + 1);
            if (cr) {
                if (chunk.empty())
                    m_pendingCr = true;
                else if (chunk.front() == '\n')
                    chunk.remove_prefix(1);
            }
        }
        carry(chunk, sink);
    }

    /// Hands over the last line if the stream did not end with a terminator.
    template <typename Sink> void finish(Sink &sink)
    {
        if (m_inPieces || !m_carry.empty())
            endLine({}, sink);
        m_pendingCr = false;
    }

private:
    /// The line ends after `tail`.
    template <typename Sink> void endLine(std::string_view tail, Sink &sink)
    {
        if (!m_inPieces && m_carry.empty() && tail.size() <= m_wholeLineBytes) {
            sink.line(tail);
            return;
        }
        carry(tail, sink);
        if (m_inPieces) {
            sink.endPieces();
            m_inPieces = false;
        } else {
            sink.line(std::string_view(m_carry));
            m_carry.clear();
        }
    }

    /// Keeps the start of an unfinished line, or hands it on once it is
    /// known to be long.
    template <typename Sink> void carry(std::string_view piece, Sink &sink)
    {
        if (!m_inPieces && m_carry.size() + piece.size() <= m_wholeLineBytes) {
            m_carry.append(piece);
            return;
        }
        if (!m_inPieces) {
            m_inPieces = true;
            if (!m_carry.empty())
                sink.piece(std::string_view(m_carry));
            m_carry.clear();
        }
        if (!piece.empty())
            sink.piece(piece);
    }

    std::size_t m_wholeLineBytes;
    std::string m_carry; ///< the start of a line that a chunk boundary cut
    bool m_inPieces = false;
    bool m_pendingCr = false;
};

/// Hands every line of a buffer held whole to `onLine(line)`, whatever its
/// length (the buffer holds it already).
template <typename OnLine> void forEachLine(std::string_view bytes, OnLine &&onLine)
{
    while (!bytes.empty()) {
        const std::size_t end = detail::findLineEnd(bytes);
        if (end == std::string_view::npos) {
            onLine(bytes);
            return;
        }
        onLine(bytes.substr(0, end));
        const bool cr = bytes[end] == '\r';
        bytes.remove_prefix(end + 1);
        if (cr && !bytes.empty() && bytes.front() == '\n')
            bytes.remove_prefix(1);
    }
}

} // namespace jukora::patch
