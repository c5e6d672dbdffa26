#pragma once

#include "linesplitter.h"
#include "templateline.h"

#include <string_view>

namespace jukora::patch {

/// What a TemplateReader hands each template line to.
class TemplateSink
{
public:
    virtual ~TemplateSink() = default;
    /// A line of at most kWholeLineBytes, held whole, with what
    /// readTemplateLine found in it.
    virtual void line(std::string_view text, const TemplateLine &t) = 0;
    /// The next piece of a longer line, which is never held whole.
    virtual void piece(std::string_view) {}
    /// The longer line is over: `t` is what its scan found (as
    /// readTemplateLine would), `start` its first kWholeLineBytes bytes.
    virtual void longLine(const TemplateLine &t, std::string_view start) = 0;
};

/// Reads a template fed in chunks of any size and hands each of its lines,
/// of any length, to a sink, in bounded memory.
class TemplateReader
{
public:
    /// `wholeLineBytes` other than kWholeLineBytes is for tests.
    explicit TemplateReader(TemplateSink &sink, std::size_t wholeLineBytes = kWholeLineBytes)
        : m_splitter(wholeLineBytes), m_lines{sink, LineScanner(wholeLineBytes)}
    {
    }

    void feed(std::string_view chunk) { m_splitter.feed(chunk, m_lines); }
    void finish() { m_splitter.finish(m_lines); }

private:
    struct Lines
    {
        TemplateSink &sink;
        LineScanner scanner;

        void line(std::string_view text) { sink.line(text, readTemplateLine(text)); }
        void piece(std::string_view bytes)
        {
            scanner.feed(bytes);
            sink.piece(bytes);
        }
        void endPieces()
        {
            sink.longLine(scanner.result(), scanner.start());
            scanner.reset();
        }
    };

    LineSplitter m_splitter;
    Lines m_lines;
};

} // namespace jukora::patch
