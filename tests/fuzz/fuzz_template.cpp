// Fuzz target: arbitrary bytes as a template, through the placeholder rules
// with arbitrary element values. Checks properties of the output, not only
// that nothing crashes: the patch is lines ended by CR LF; a plain line comes
// out byte for byte; a placeholder line is reported (malformed, or a cover
// width the patch cannot carry) or comes out as "address old value;comment"
// with a two-hex-digit value and the rule's suffix; cutting the template
// into chunks anywhere changes nothing.
#include "codec.h"
#include "layout.h"
#include "linesplitter.h"
#include "patchgenerator.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

using namespace jukora::patch;

namespace {

void require(bool holds, const char *what)
{
    if (holds)
        return;
    std::fprintf(stderr, "property broken: %s\n", what);
    std::abort();
}

/// Field `n` of `line` cut at `separator`, read independently of the rules.
std::string_view field(std::string_view line, char separator, std::size_t n)
{
    for (; n > 0; --n) {
        const auto at = line.find(separator);
        line = at == std::string_view::npos ? std::string_view() : line.substr(at + 1);
    }
    return line.substr(0, line.find(separator));
}

void checkLine(std::string_view in, std::string_view out)
{
    const PlaceholderRule *rule = findRule(in);
    if (!rule)
        return require(in == out, "a plain line changed");
    const std::string head = std::string(field(in, ' ', 0).substr(rule->placeholder.size())) + ' ' +
                             std::string(field(in, ' ', 1)) + ' ';
    require(out.substr(0, head.size()) == head, "address or old value not kept");
    const std::string_view value = out.substr(head.size(), 2);
    const auto hex = [](char c) { return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'F'); };
    require(value.size() == 2 && hex(value[0]) && hex(value[1]), "value is not two hex digits");
    require(rule->kind != ValueKind::Alignment || (value[0] == '0' && value[1] <= '2'),
            "alignment code out of range");
    const std::string tail = std::string(rule->suffix) + ';' + std::string(field(in, ';', 1));
    require(out.substr(head.size() + 2) == tail, "suffix or comment not kept");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    // The first 64 bytes set the layout (quarter pixels, for rounding ties)
    // and the chunk size; the rest is the template.
    constexpr std::size_t header = 64;
    if (size < header)
        return 0;
    const auto quarter = [&](std::size_t at) {
        return static_cast<float>(static_cast<std::int16_t>(data[at] | (data[at + 1] << 8))) / 4;
    };
    Layout layout;
    for (std::size_t i = 0; i < 14; ++i) {
        layout.left[i] = quarter(4 * i);
        layout.top[i] = quarter(4 * i + 2);
        layout.alignment[i] = i >= 9 ? data[58 + i - 9] % 3 : 0;
    }
    layout.coverWidth = quarter(56);
    const LayoutQuery query(layout);
    const std::size_t chunk = 1 + data[63] % 17;
    const std::string_view templ(reinterpret_cast<const char *>(data + header), size - header);

    // Whole, and again in chunks: the same patch.
    PatchRun once(query, 0), run(query, 0);
    std::string whole, chunked;
    forEachLine(templ, [&](std::string_view line, bool star) { once.line(line, star, whole); });
    std::vector<std::string> inLines;
    LineSplitter splitter;
    auto onLine = [&](std::string_view line, bool star) {
        inLines.emplace_back(line);
        run.line(line, star, chunked);
    };
    for (std::size_t at = 0; at < templ.size(); at += chunk)
        splitter.feed(templ.substr(at, chunk), onLine);
    splitter.finish(onLine);
    require(whole == chunked, "chunked input gave another patch");

    // Line by line: each input line has its output line, or is reported.
    std::string_view out(whole);
    std::size_t malformed = 0;
    for (const std::string &in : inLines) {
        const PlaceholderRule *rule = findRule(in);
        const bool bad = rule && scanLine(*rule, in).malformation;
        malformed += bad;
        if (bad || (rule && rule->kind == ValueKind::Width && !fitsByte(layout.coverWidth)))
            continue;
        const auto end = out.find("\r\n");
        require(end != std::string_view::npos, "an output line lacks CR LF");
        const std::string_view line = out.substr(0, end);
        require(line.find_first_of("\r\n") == std::string_view::npos, "a bare CR or LF");
        checkLine(in, line);
        out.remove_prefix(end + 2);
    }
    require(out.empty(), "output left over");
    require(malformed == run.check.malformedCount(), "malformed lines not all reported");
    return 0;
}
