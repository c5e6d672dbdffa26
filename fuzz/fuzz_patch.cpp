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
#include "patchlanguage.h"
#include "templatereader.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <algorithm>
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

/// The layout `patchBytes` carries, read against a template held whole.
std::optional<patch::PatchLayout> readLayout(std::string_view templ, std::string_view patchBytes,
                                             std::string *error)
{
    patch::LayoutReader reader(patchBytes);
    patch::forEachLine(
        templ, [&](std::string_view line) { reader.line(line, patch::readTemplateLine(line)); });
    return reader.finish(error);
}

/// Lines as a TemplateReader hands them, each checked against what
/// readTemplateLine finds in the whole line.
struct Collected : patch::TemplateSink
{
    std::vector<std::string> lines;
    std::string longLine_;

    static void same(std::string_view line, const patch::TemplateLine &t)
    {
        const patch::TemplateLine u = patch::readTemplateLine(line);
        require(u.rule == t.rule && u.length == t.length && t.length == line.size() &&
                !u.fields.malformation == !t.fields.malformation);
        require(u.fields.address == t.fields.address && u.fields.oldValue == t.fields.oldValue &&
                u.fields.comment == t.fields.comment);
    }
    void line(std::string_view text, const patch::TemplateLine &t) override
    {
        same(text, t);
        lines.emplace_back(text);
    }
    void piece(std::string_view bytes) override { longLine_ += bytes; }
    void longLine(const patch::TemplateLine &t, std::string_view start) override
    {
        same(longLine_, t);
        require(longLine_.compare(0, start.size(), start) == 0);
        lines.push_back(std::move(longLine_));
        longLine_.clear();
    }
};

/// A patch written into memory.
struct Written : patch::PatchOutput
{
    std::string bytes;
    void write(std::string_view b) override { bytes += b; }
    void takeBack(std::uint64_t n) override { bytes.resize(bytes.size() - n); }
};

/// Feeds `bytes` to `reader` in chunks cut where `cuts` says.
void feedCut(patch::TemplateReader &reader, std::string_view bytes, FuzzedDataProvider &cuts)
{
    while (!bytes.empty()) {
        const auto n = cuts.ConsumeIntegralInRange<std::size_t>(1, bytes.size());
        reader.feed(bytes.substr(0, n));
        bytes.remove_prefix(n);
    }
    reader.finish();
}

/// Generate over lines cut anywhere, long lines copied through in pieces,
/// writes what the rewrite of each whole line writes: a plain line comes
/// out unchanged, whatever its length. The patch language check finds the
/// same in both.
std::string generated(const std::string &templ, const patch::LayoutQuery &query,
                      FuzzedDataProvider &cuts, std::size_t wholeLineBytes)
{
    std::string expected;
    const patch::PatchGenerator generator(query);
    patch::forEachLine(templ, [&](std::string_view line) {
        generator.processLine(line, patch::readTemplateLine(line), expected);
    });
    Written written;
    patch::PatchRun run(query, &written);
    patch::TemplateReader reader(run, wholeLineBytes);
    feedCut(reader, templ, cuts);
    run.finish();
    require(written.bytes == expected);
    bool anyRule = false;
    patch::forEachLine(templ, [&](std::string_view line) {
        anyRule |= patch::readTemplateLine(line).rule != nullptr;
    });
    if (!anyRule) { // then the template's lines are the patch's
        const std::string findings = patch::patchLanguageFindings(expected);
        require(std::size_t(std::count(findings.begin(), findings.end(), '\n')) ==
                run.check.warningCount());
    }
    return written.bytes;
}

/// A patch written from a template reads back as the layout that wrote it,
/// wherever the template's plain lines name no address its placeholders do.
void roundTrip(const std::string &templ, const patch::Layout &layout, FuzzedDataProvider &cuts)
{
    const patch::LayoutQuery query(layout);
    const std::string written = generated(templ, query, cuts, 8);
    std::set<std::string, std::less<>> placeholderAt, plainAt;
    bool sound = true, anyRule = false;
    patch::forEachLine(templ, [&](std::string_view line) {
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
    const auto read = readLayout(templ, written, &why);
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

    // The line reader: whole, or in chunks cut anywhere with lines longer
    // than a few bytes handed in pieces, the same lines, scanned the same.
    const std::vector<std::string> whole = linesOf(bytes);
    {
        Collected collected;
        patch::TemplateReader reader(collected, 4);
        feedCut(reader, bytes, cuts);
        require(collected.lines == whole);
    }
    for (const std::string &line : whole) {
        const patch::TemplateLine t = patch::readTemplateLine(line);
        if (t.rule && !t.fields.malformation)
            require(line.find(t.rule->placeholder) != std::string::npos);
    }

    // The layout reader with the bytes as the template and as the patch: a
    // last line end makes no difference.
    std::string why, whyEnded;
    const auto asPatch = readLayout(bytes, bytes, &why);
    const auto ended = readLayout(bytes, bytes + "\r\n", &whyEnded);
    require(bool(asPatch) == bool(ended) && why == whyEnded);
    roundTrip(bytes, layout, cuts);

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
