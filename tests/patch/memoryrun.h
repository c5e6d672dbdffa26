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

    MemoryRun(const QByteArray &bytes, const patch::Layout &l,
              std::size_t maxListed = patch::TemplateCheck::kMaxListed)
        : layout(l), run(query, maxListed)
    {
        const std::string text = bytes.toStdString();
        patch::forEachLine(text, [&](std::string_view line) { run.line(line, patch); });
        patch::PatchRun again(query, maxListed);
        patch::LineSplitter splitter;
        auto onLine = [&](std::string_view line) { again.line(line, chunked); };
        for (std::size_t at = 0; at < text.size(); ++at)
            splitter.feed(std::string_view(text).substr(at, 1), onLine);
        splitter.finish(onLine);
    }
    QByteArray bytes() const { return QByteArray::fromStdString(patch); }
};

} // namespace jukora::test
