// Fuzz target: arbitrary bytes as a template, through the placeholder rules
// with arbitrary element values. Checks properties of the output, not only
// that nothing crashes:
//  - the patch is a sequence of lines each ended by CR LF;
//  - a line without placeholder comes out byte for byte;
//  - a placeholder line is reported malformed (or its cover width refused),
//    or comes out as "address old value;comment" with a two-hex-digit value;
//  - cutting the template into chunks anywhere changes nothing.
#include "codec.h"
#include "elementquery.h"
#include "linesplitter.h"
#include "patchgenerator.h"

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

namespace {

using namespace jukora::patch;

struct FuzzQuery : ElementQuery
{
    float lefts[14] = {};
    float tops[14] = {};
    int aligns[14] = {};
    float width = 150;
    float left(int i) const override { return lefts[i]; }
    float top(int i) const override { return tops[i]; }
    float coverWidth() const override { return width; }
    int alignment(int i) const override { return aligns[i]; }
};

[[noreturn]] void fail(const char *what)
{
    std::fprintf(stderr, "property broken: %s\n", what);
    std::abort();
}

float quarterValue(const std::uint8_t *p)
{
    const auto raw = static_cast<std::int16_t>(p[0] | (p[1] << 8));
    return static_cast<float>(raw) / 4.0f; // halves included, for rounding ties
}

bool isHex(char c)
{
    return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'F');
}

std::string_view field(std::string_view line, char separator, std::size_t n)
{
    for (std::size_t i = 0; i < n; ++i) {
        const auto at = line.find(separator);
        if (at == std::string_view::npos)
            return {};
        line.remove_prefix(at + 1);
    }
    return line.substr(0, line.find(separator));
}

void checkLine(std::string_view in, std::string_view out, const FuzzQuery &query)
{
    const PlaceholderRule *rule = findRule(in);
    if (!rule) {
        if (in != out)
            fail("a plain line changed");
        return;
    }
    const std::string_view address = field(in, ' ', 0).substr(rule->placeholder.size());
    const std::string_view old = field(in, ' ', 1);
    const std::string_view comment = field(in, ';', 1);
    std::string prefix(address);
    prefix += ' ';
    prefix += old;
    prefix += ' ';
    if (out.substr(0, prefix.size()) != prefix)
        fail("address or old value not kept");
    std::string_view rest = out.substr(prefix.size());
    if (rest.size() < 3 || !isHex(rest[0]) || !isHex(rest[1]))
        fail("value is not two hex digits");
    if (rule->kind == ValueKind::Alignment && (rest[0] != '0' || rest[1] > '2'))
        fail("alignment code out of range");
    rest.remove_prefix(2);
    if (rest.substr(0, rule->suffix.size()) != rule->suffix)
        fail("suffix missing");
    rest.remove_prefix(rule->suffix.size());
    if (rest.empty() || rest[0] != ';' || rest.substr(1) != comment)
        fail("comment not kept");
    (void)query;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    constexpr std::size_t header = 14 * 4 + 2 + 5 + 1;
    if (size < header)
        return 0;
    FuzzQuery query;
    for (int i = 0; i < 14; ++i) {
        query.lefts[i] = quarterValue(data + 4 * i);
        query.tops[i] = quarterValue(data + 4 * i + 2);
    }
    query.width = quarterValue(data + 56);
    for (int i = 9; i <= 13; ++i)
        query.aligns[i] = data[58 + i - 9] % 3;
    const std::size_t chunk = 1 + data[63] % 17;
    const std::string_view templ(reinterpret_cast<const char *>(data + header), size - header);

    // Whole, and again in chunks: the same patch.
    PatchRun once(query, 0);
    std::string whole;
    forEachLine(templ,
                [&](std::string_view line, bool hasStar) { once.line(line, hasStar, whole); });
    PatchRun run(query, 0);
    std::string chunked;
    std::vector<std::string> inLines;
    LineSplitter splitter;
    auto onLine = [&](std::string_view line, bool hasStar) {
        inLines.emplace_back(line);
        run.line(line, hasStar, chunked);
    };
    for (std::size_t at = 0; at < templ.size(); at += chunk)
        splitter.feed(templ.substr(at, chunk), onLine);
    splitter.finish(onLine);
    if (whole != chunked)
        fail("chunked input gave another patch");

    // Line by line: every output line ends in CR LF; match input to output.
    std::string_view out(whole);
    for (const std::string &in : inLines) {
        const PlaceholderRule *rule = findRule(in);
        if (rule && (scanLine(*rule, in).malformation ||
                     (rule->kind == ValueKind::Width && !fitsByte(query.width)))) {
            continue; // reported (malformed, or a width the patch cannot carry): no output line
        }
        const auto end = out.find("\r\n");
        if (end == std::string_view::npos)
            fail("an output line lacks CR LF");
        const std::string_view line = out.substr(0, end);
        if (line.find('\r') != std::string_view::npos || line.find('\n') != std::string_view::npos)
            fail("a bare CR or LF inside an output line");
        checkLine(in, line, query);
        out.remove_prefix(end + 2);
    }
    if (!out.empty())
        fail("output left over");
    const bool reported = run.check.malformedCount() > 0 || run.check.badCoverWidth().has_value();
    std::size_t malformed = 0;
    for (const std::string &in : inLines) {
        const PlaceholderRule *rule = findRule(in);
        malformed += rule && scanLine(*rule, in).malformation;
    }
    if (malformed != run.check.malformedCount())
        fail("malformed lines not all reported");
    (void)reported;
    return 0;
}
