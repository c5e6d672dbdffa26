#pragma once

#include "layout.h"
#include "linesplitter.h"
#include "patchgenerator.h"

#include <QByteArray>

namespace jukora::test {

/// A template held in memory, run once through the check and the rewrite
/// with a layout of its own.
struct MemoryRun
{
    patch::Layout layout;
    patch::LayoutQuery query{layout};
    patch::PatchRun run;
    std::string patch;
    std::string chunked; ///< the same template fed a byte at a time

    MemoryRun(const QByteArray &bytes, const patch::Layout &l, std::int16_t selIndex = 0,
              std::size_t maxListed = patch::TemplateCheck::kMaxListed)
        : layout(l), run(query, selIndex, maxListed)
    {
        const std::string text = bytes.toStdString();
        patch::PatchBytes whole, piecewise;
        patch::forEachLine(text,
                           [&](std::string_view line, bool star) { run.line(line, star, whole); });
        patch::PatchRun again(query, selIndex, maxListed);
        patch::LineSplitter splitter;
        auto onLine = [&](std::string_view line, bool star) { again.line(line, star, piecewise); };
        for (std::size_t at = 0; at < text.size(); ++at)
            splitter.feed(std::string_view(text).substr(at, 1), onLine);
        splitter.finish(onLine);
        patch = whole.view();
        chunked = piecewise.view();
    }
    QByteArray bytes() const { return QByteArray::fromStdString(patch); }
};

} // namespace jukora::test
