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

    MemoryRun(const QByteArray &bytes, const patch::Layout &l,
              std::size_t maxListed = patch::TemplateCheck::kMaxListed)
        : layout(l), run(query, maxListed)
    {
        const std::string text = bytes.toStdString();
        patch::forEachLine(text, [&](std::string_view line) { run.line(line, patch); });
    }
    QByteArray bytes() const { return QByteArray::fromStdString(patch); }
};

} // namespace jukora::test
