// Fuzz target: arbitrary bytes as a template, through the check and the
// rewrite with arbitrary element values. Beyond not crashing: cutting the
// template into chunks anywhere changes nothing, every output line ends in
// CR LF with no bare CR or LF inside, and every malformed line is reported.
// The exact form of each line is the business of the table tests.
#include "layout.h"
#include "linesplitter.h"
#include "patchgenerator.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>

using namespace jukora::patch;

namespace {

void require(bool holds, const char *what)
{
    if (!holds) {
        std::fprintf(stderr, "property broken: %s\n", what);
        std::abort();
    }
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

    PatchRun once(query, 0), run(query, 0);
    std::string whole, chunked;
    std::size_t malformed = 0;
    forEachLine(templ, [&](std::string_view line, bool star) {
        const PlaceholderRule *rule = findRule(line);
        require((rule != nullptr) <= star, "a placeholder line said to have no '*'");
        malformed += rule && scanLine(*rule, line).malformation;
        once.line(line, star, whole);
    });
    LineSplitter splitter;
    auto onLine = [&](std::string_view line, bool star) { run.line(line, star, chunked); };
    for (std::size_t at = 0; at < templ.size(); at += chunk)
        splitter.feed(templ.substr(at, chunk), onLine);
    splitter.finish(onLine);
    require(whole == chunked, "chunked input gave another patch");
    require(malformed == run.check.malformedCount(), "malformed lines not all reported");
    for (std::size_t at = 0; at < whole.size();) {
        const auto end = whole.find("\r\n", at);
        require(end != std::string::npos, "an output line lacks CR LF");
        require(whole.find_first_of("\r\n", at) == end, "a bare CR or LF");
        at = end + 2;
    }
    return 0;
}
