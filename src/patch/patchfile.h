#pragma once

#include "linesplitter.h"
#include "patchgenerator.h"

#include <QFile>
#include <QString>

#include <optional>

namespace jukora::patch {

/// Reads the file at `path` in chunks and hands each of its lines to
/// `onLine`, bytes as they are. Returns false and sets `error` to the
/// system's reason when the file cannot be opened or read.
template <typename OnLine>
bool readLines(const QString &path, OnLine &&onLine, QString *error)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        *error = file.errorString();
        return false;
    }
    LineSplitter splitter;
    QByteArray chunk(1 << 16, Qt::Uninitialized);
    for (;;) {
        const qint64 got = file.read(chunk.data(), chunk.size());
        if (got < 0) {
            *error = file.errorString();
            return false;
        }
        if (got == 0)
            break;
        splitter.feed(std::string_view(chunk.constData(), static_cast<std::size_t>(got)), onLine);
    }
    splitter.finish(onLine);
    return true;
}

/// Checks a whole template file before anything is written. Nothing when
/// the file cannot be read (the reason is in `error`).
std::optional<TemplateCheck> checkTemplateFile(const QString &path, const ElementQuery &query,
                                               QString *error);

/// Writes the patch for the template at `templatePath` to `patchPath`, all
/// or nothing: the lines go to a temporary file beside the target, which
/// replaces the target only once the whole patch is written. On failure any
/// file at `patchPath` is left as it was and `error` says why.
bool writePatchFile(const QString &templatePath, const QString &patchPath,
                    PatchGenerator &generator, QString *error);

} // namespace jukora::patch
