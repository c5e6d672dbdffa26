#include "patchfile.h"

#include <QSaveFile>

namespace jukora::patch {

std::optional<TemplateCheck> checkTemplateFile(const QString &path, const ElementQuery &query,
                                               QString *error)
{
    TemplateCheck check(query);
    if (!readLines(path, [&](std::string_view line) { check.checkLine(line); }, error))
        return std::nullopt;
    return check;
}

bool writePatchFile(const QString &templatePath, const QString &patchPath,
                    PatchGenerator &generator, QString *error)
{
    QSaveFile out(patchPath);
    if (!out.open(QIODevice::WriteOnly)) {
        *error = out.errorString();
        return false;
    }

    constexpr std::size_t flushAt = 1 << 16;
    std::string buffer;
    buffer.reserve(flushAt + 4096);
    bool ok = true;
    std::size_t lineNumber = 0;
    auto flush = [&] {
        if (!buffer.empty() && ok &&
            out.write(buffer.data(), static_cast<qint64>(buffer.size())) !=
                static_cast<qint64>(buffer.size())) {
            *error = out.errorString();
            ok = false;
        }
        buffer.clear();
    };
    auto onLine = [&](std::string_view line) {
        if (!ok)
            return;
        ++lineNumber;
        if (generator.processLine(line, buffer) == PatchGenerator::LineResult::Malformed) {
            // The template was checked before; it changed since.
            *error = QStringLiteral("the template changed while the patch was being written "
                                    "(line %1 can no longer be rewritten)")
                         .arg(lineNumber);
            ok = false;
            return;
        }
        if (buffer.size() >= flushAt)
            flush();
    };

    QString readError;
    if (!readLines(templatePath, onLine, &readError)) {
        out.cancelWriting();
        *error = QStringLiteral("the template %1 could not be read: %2").arg(templatePath, readError);
        return false;
    }
    flush();
    if (!ok) {
        out.cancelWriting();
        return false;
    }
    if (!out.commit()) {
        *error = out.errorString();
        return false;
    }
    return true;
}

} // namespace jukora::patch
