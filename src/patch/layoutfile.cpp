#include "layoutfile.h"

#include <QDir>
#include <QFile>

namespace jukora::patch {

std::optional<PatchLayout> LayoutFileReader::fail(Error error, const QString &why)
{
    m_error = error;
    m_errorString = why;
    return std::nullopt;
}

std::optional<PatchLayout> LayoutFileReader::read(const QString &patchPath,
                                                  const QString &templatePath)
{
    m_error = Error::None;
    m_errorString.clear();
    QFile patchFile(patchPath);
    if (!patchFile.open(QIODevice::ReadOnly))
        return fail(Error::PatchUnreadable, patchFile.errorString() + QLatin1Char('.'));
    if (patchFile.size() > kMaxBytes) {
        return fail(
            Error::PatchTooLarge,
            QStringLiteral("It is %1 MB large; a patch this program reads is at most %2 MB.")
                .arg(patchFile.size() / (1024 * 1024))
                .arg(kMaxBytes / (1024 * 1024)));
    }
    QFile templateFile(templatePath);
    if (!templateFile.open(QIODevice::ReadOnly)) {
        return fail(Error::TemplateUnreadable,
                    QStringLiteral("The template %1 could not be read: %2.")
                        .arg(QDir::toNativeSeparators(templatePath), templateFile.errorString()));
    }
    const QByteArray patchBytes = patchFile.readAll();
    const QByteArray templateBytes = templateFile.readAll();
    std::string why;
    auto layout = readLayout(
        std::string_view(templateBytes.constData(), static_cast<std::size_t>(templateBytes.size())),
        std::string_view(patchBytes.constData(), static_cast<std::size_t>(patchBytes.size())),
        &why);
    if (!layout) {
        return fail(Error::Mismatch, QStringLiteral("It does not match that template: %1.")
                                         .arg(QString::fromStdString(why)));
    }
    return layout;
}

} // namespace jukora::patch
