#pragma once

#include "layout.h"
#include "layoutreader.h"
#include "patchgenerator.h"
#include "templatereader.h"

#include <QByteArray>

namespace jukora::test {

/// A template held in memory, run once through the check and the rewrite
/// with a layout of its own.
struct MemoryRun : patch::PatchOutput
{
    patch::Layout layout;
    patch::LayoutQuery query{layout};
    patch::PatchRun run;
    std::string patch;

    MemoryRun(const QByteArray &bytes, const patch::Layout &l,
              std::size_t maxListed = patch::TemplateCheck::kMaxListed)
        : layout(l), run(query, this, maxListed)
    {
        patch::TemplateReader reader(run);
        reader.feed(std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())));
        reader.finish();
        run.finish();
    }
    void write(std::string_view bytes) override { patch.append(bytes); }
    void takeBack(std::uint64_t bytes) override { patch.resize(patch.size() - bytes); }
    QByteArray bytes() const { return QByteArray::fromStdString(patch); }
};

/// Reads the layout that `patchBytes` carries, matched against a template
/// held whole.
inline std::optional<patch::PatchLayout> readLayout(std::string_view templateBytes,
                                                    std::string_view patchBytes, std::string *error)
{
    patch::LayoutReader reader(patchBytes);
    patch::forEachLine(templateBytes, [&](std::string_view line) {
        reader.line(line, patch::readTemplateLine(line));
    });
    return reader.finish(error);
}

} // namespace jukora::test
