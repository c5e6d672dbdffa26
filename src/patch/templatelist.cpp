#include "templatelist.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

#include <dirent.h>

#include <algorithm>

namespace jukora {

namespace {

/// Template files in `folder` whose names Qt cannot represent (not valid
/// UTF-8): QDir does not list them at all.
int unreadableNames(const QString &folder)
{
    int count = 0;
    if (DIR *dir = ::opendir(QFile::encodeName(folder).constData())) {
        while (const dirent *entry = ::readdir(dir)) {
            const QByteArray name(entry->d_name);
            if (name.size() > 4 && name.right(4).toLower() == ".txt" &&
                QFile::encodeName(QFile::decodeName(name)) != name)
                ++count;
        }
        ::closedir(dir);
    }
    return count;
}

} // namespace

std::optional<QList<TemplateEntry>> listTemplates(const QString &folder, QString *error,
                                                  QString *warning)
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
    const int unreadable = unreadableNames(folder);
    const QString leftOut =
        unreadable == 0
            ? QString()
            : QStringLiteral("%1 template file(s) in %2 were left out: their names are not "
                             "valid UTF-8, which this program cannot open. Rename them (for "
                             "example with convmv) and start the program again.")
                  .arg(unreadable)
                  .arg(shown);
    if (warning)
        *warning = leftOut;
    if (entries.isEmpty() && unreadable > 0) {
        *error = leftOut;
        return std::nullopt;
    }
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
