#include "layoutfile.h"

#include "files.h"
#include "patchfile.h"

#include <QDir>

#include <new>

namespace jukora::patch {

std::optional<QByteArray> readPatchBytes(const QString &patchPath, QString *error)
{
    return readWholeFile(patchPath, kMaxPatchBytes, error);
}

QString mismatchSentence(const std::string &why)
{
    return QStringLiteral("It does not match that template: %1").arg(QString::fromStdString(why));
}

std::optional<PatchLayout> readLayoutFile(const LayoutReader::PatchLines &patch,
                                          const QString &templatePath, QString *error,
                                          bool *mismatch)
{
    if (mismatch)
        *mismatch = false;
    LayoutReader reader(patch);
    QString reason;
    if (!readTemplate(templatePath, reader, &reason)) {
        *error = QStringLiteral("The template %1 could not be read: %2")
                     .arg(QDir::toNativeSeparators(templatePath), reason);
        return std::nullopt;
    }
    std::string why;
    auto layout = reader.finish(&why);
    if (!layout) {
        *error = mismatchSentence(why);
        if (mismatch)
            *mismatch = true;
    }
    return layout;
}

Reopened reopenPatch(const QString &patchPath, const QList<TemplateEntry> &models, qsizetype first,
                     const std::atomic<bool> *stop, const std::function<void(qsizetype)> &searched)
{
    Reopened found;
    try {
        std::optional<LayoutReader::PatchLines> patch;
        {
            const auto bytes = readPatchBytes(patchPath, &found.why);
            if (!bytes)
                return found;
            patch.emplace(
                std::string_view(bytes->constData(), static_cast<std::size_t>(bytes->size())));
        }
        found.layout = readLayoutFile(*patch, models.at(first).path, &found.why, &found.mismatch);
        if (found.layout || !found.mismatch)
            return found;
        for (qsizetype i = 0; i < models.size(); ++i) {
            QString ignored;
            found.stopped = stop && *stop;
            if (found.stopped)
                break;
            if (i == first)
                continue;
            if (auto layout = readLayoutFile(*patch, models[i].path, &ignored))
                found.fits.append({*layout, i});
            if (searched)
                searched(i + (i < first ? 1 : 0));
        }
    } catch (const std::bad_alloc &) {
        // A patch is a few kilobytes; one that the memory cannot hold is
        // said to be too large, as a file that cannot be read would be.
        found = Reopened();
        found.why = QStringLiteral("The patch is too large for the memory this program may use.");
    }
    return found;
}

} // namespace jukora::patch
