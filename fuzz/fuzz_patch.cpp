// Random bytes, split at random points, through the readers a hostile file
// reaches: the template line reader, the layout reader (the bytes as the
// template and as the patch, with and without a last line end), the firmware
// check's line reader against a small image, and the cover size parser.
// Besides not crashing, each checks a property that a sound reader has.
#include "coversize.h"
#include "firmware.h"
#include "layout.h"
#include "layoutreader.h"
#include "linesplitter.h"
#include "patchgenerator.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <cmath>
#include <cstdlib>
#include <set>
#include <string>
#include <vector>

using namespace jukora;

namespace {

void require(bool holds)
{
    if (!holds)
        std::abort();
}

std::vector<std::string> linesOf(std::string_view bytes)
{
    std::vector<std::string> lines;
    patch::forEachLine(bytes, [&](std::string_view line) { lines.emplace_back(line); });
    return lines;
}

/// A layout whose every value fits the byte the patch has for it.
patch::Layout fittingLayout(FuzzedDataProvider &values)
{
    patch::Layout layout;
    for (std::size_t i = 0; i < layout.left.size(); ++i) {
        layout.left[i] = values.ConsumeIntegralInRange(0, 175); // right edges fit too
        layout.top[i] = values.ConsumeIntegralInRange(24, 279);
        layout.alignment[i] = values.ConsumeIntegralInRange(0, 2);
    }
    layout.coverWidth = values.ConsumeIntegralInRange(0, 255);
    return layout;
}

/// A patch written from a template reads back as the layout that wrote it,
/// wherever the template's plain lines name no address its placeholders do.
void roundTrip(const std::string &templ, const patch::Layout &layout)
{
    const patch::LayoutQuery query(layout);
    patch::PatchRun run(query);
    std::string written;
    std::set<std::string, std::less<>> placeholderAt, plainAt;
    bool sound = true, anyRule = false;
    patch::forEachLine(templ, [&](std::string_view line) {
        run.line(line, written);
        const patch::TemplateLine t = patch::readTemplateLine(line);
        sound &= t.fields.malformation == nullptr;
        if (t.rule) {
            anyRule = true;
            placeholderAt.emplace(t.fields.address);
        } else {
            plainAt.emplace(line.substr(0, line.find(' ')));
        }
    });
    for (const std::string &address : placeholderAt)
        sound &= plainAt.count(address) == 0;
    if (!sound)
        return;
    std::string why;
    const auto read = patch::readLayout(templ, written, &why);
    require(bool(read) == anyRule);
    if (!read)
        return;
    patch::Layout back = layout;
    patch::applyPatchLayout(*read, back);
    require(back.left == layout.left && back.top == layout.top &&
            back.alignment == layout.alignment && back.coverWidth == layout.coverWidth);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    FuzzedDataProvider provider(data, size);
    const auto layout = fittingLayout(provider);
    const std::string bytes = provider.ConsumeRemainingBytesAsString();
    FuzzedDataProvider cuts(data, size); // the same bytes, read again as cut points

    // The line reader: whole, or in pieces cut anywhere, the same lines.
    const std::vector<std::string> whole = linesOf(bytes);
    {
        std::vector<std::string> pieces;
        patch::LineSplitter splitter;
        const auto onLine = [&](std::string_view line) { pieces.emplace_back(line); };
        std::string_view rest(bytes);
        while (!rest.empty()) {
            const auto n = cuts.ConsumeIntegralInRange<std::size_t>(1, rest.size());
            splitter.feed(rest.substr(0, n), onLine);
            rest.remove_prefix(n);
        }
        splitter.finish(onLine);
        require(pieces == whole);
    }
    for (const std::string &line : whole) {
        require(line.size() <= patch::kMaxLineBytes + 1);
        const patch::TemplateLine t = patch::readTemplateLine(line);
        if (t.rule && !t.fields.malformation)
            require(line.find(t.rule->placeholder) != std::string::npos);
    }

    // The layout reader with the bytes as the template and as the patch: a
    // last line end makes no difference.
    std::string why, whyEnded;
    const auto asPatch = patch::readLayout(bytes, bytes, &why);
    const auto ended = patch::readLayout(bytes, bytes + "\r\n", &whyEnded);
    require(bool(asPatch) == bool(ended) && why == whyEnded);
    roundTrip(bytes, layout);

    // The firmware check against a small image fails a line at most once.
    const std::string image("\x6B\x21\x04\xC3\x7F\x00\x20\x21", 8);
    patch::FirmwareCheck firmware(image, 0x10);
    for (const std::string &line : whole)
        firmware.line(line, patch::readTemplateLine(line), &why);
    require(firmware.failed() <= whole.size() && firmware.checked() <= whole.size());

    // The cover size: a size it accepts is one the preview can hold, and
    // what the read-outs show of it reads back the same.
    for (const char *name : {"C", "de_DE"}) {
        const QLocale locale{QString::fromLatin1(name)};
        QString error;
        const QString text = QString::fromUtf8(bytes.data(), qsizetype(bytes.size()));
        if (const auto cover = parseCoverSize(text, locale, &error)) {
            require(*cover >= 0 && *cover <= kMaxCoverSize);
            const auto again = parseCoverSize(readoutText(*cover, locale), locale, &error);
            require(again && std::abs(*again - *cover) <= *cover * 1e-6f);
        }
    }
    return 0;
}
