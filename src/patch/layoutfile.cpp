#include "layoutfile.h"

#include "files.h"

#include <QDir>

namespace jukora::patch {

std::optional<PatchLayout> readLayoutFile(const QString &patchPath, const QString &templatePath,
                                          QString *error, bool *mismatch)
{
    if (mismatch)
        *mismatch = false;
    QFile patchFile(patchPath);
    if (!openForReading(patchFile, error)) {
        *error += QLatin1Char('.');
        return std::nullopt;
    }
    if (patchFile.size() > kMaxPatchBytes) {
        *error = QStringLiteral("It is %1 MB large; a patch this program reads is at most %2 MB.")
                     .arg(patchFile.size() / (1024 * 1024))
                     .arg(kMaxPatchBytes / (1024 * 1024));
        return std::nullopt;
    }
    QFile templateFile(templatePath);
    QString reason;
    if (!openForReading(templateFile, &reason)) {
        *error = QStringLiteral("The template %1 could not be read: %2.")
                     .arg(QDir::toNativeSeparators(templatePath), reason);
        return std::nullopt;
    }
    const QByteArray patchBytes = patchFile.readAll();
    const QByteArray templateBytes = templateFile.readAll();
    std::string why;
    auto layout = readLayout(
        std::string_view(templateBytes.constData(), static_cast<std::size_t>(templateBytes.size())),
        std::string_view(patchBytes.constData(), static_cast<std::size_t>(patchBytes.size())),
        &why);
    if (!layout) {
        *error =
            QStringLiteral("It does not match that template: %1.").arg(QString::fromStdString(why));
        if (mismatch)
            *mismatch = true;
    }
    return layout;
}

} // namespace jukora::patch
