#include "templatelist.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

#include <algorithm>

namespace jukora {

std::optional<QList<TemplateEntry>> listTemplates(const QString &folder, QString *error)
{
    QList<TemplateEntry> entries;
    const QDir dir(folder);
    const QString shown = QDir::toNativeSeparators(dir.absolutePath());
    if (!QFileInfo(folder).isDir()) {
        *error = QStringLiteral("The template folder %1 was not found.\n\n"
                                "Put a folder named DB with the phone templates (*.txt) "
                                "beside the program and start it again.")
                     .arg(shown);
        return std::nullopt;
    }
    // QDir::Files without QDir::Hidden: regular files only, no dot-files.
    const QFileInfoList files = dir.entryInfoList(QDir::Files, QDir::NoSort);
    for (const QFileInfo &info : files) {
        const QString name = info.fileName();
        if (!name.endsWith(QLatin1String(".txt"), Qt::CaseInsensitive) || !info.isFile())
            continue;
        entries.append({name.left(name.size() - 4), info.absoluteFilePath()});
    }
    std::sort(entries.begin(), entries.end(), [](const TemplateEntry &a, const TemplateEntry &b) {
        const int folded = a.model.compare(b.model, Qt::CaseInsensitive);
        if (folded != 0)
            return folded < 0;
        return a.path < b.path;
    });
    if (entries.isEmpty()) {
        *error = QStringLiteral("The template folder %1 holds no phone template.\n\n"
                                "Put at least one template file (*.txt) in it and start "
                                "the program again.")
                     .arg(shown);
        return std::nullopt;
    }
    return entries;
}

QString templateFolder()
{
    return QCoreApplication::applicationDirPath() + QStringLiteral("/DB");
}

} // namespace jukora
