#include "templatelist.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QSet>
#include <QStandardPaths>

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

std::optional<QList<TemplateEntry>> listTemplates(const QStringList &folders, QString *error,
                                                  QString *warning)
{
    QList<TemplateEntry> entries;
    QSet<QString> models;
    QStringList leftOut;
    int unreadable = 0;
    for (const QString &folder : folders) {
        // QDir::Files without QDir::Hidden: regular files only, no dot-files.
        const QFileInfoList files = QDir(folder).entryInfoList(QDir::Files, QDir::NoSort);
        for (const QFileInfo &info : files) {
            const QString name = info.fileName();
            if (!name.endsWith(QLatin1String(".txt"), Qt::CaseInsensitive) || !info.isFile())
                continue;
            const QString model = name.left(name.size() - 4);
            if (!models.contains(model)) {
                models.insert(model);
                entries.append({model, info.absoluteFilePath()});
            }
        }
        if (const int count = unreadableNames(folder)) {
            unreadable += count;
            leftOut << QDir::toNativeSeparators(folder);
        }
    }
    std::sort(entries.begin(), entries.end(), [](const TemplateEntry &a, const TemplateEntry &b) {
        const int folded = a.model.compare(b.model, Qt::CaseInsensitive);
        if (folded != 0)
            return folded < 0;
        return a.model < b.model;
    });
    const QString leftOutText =
        unreadable == 0
            ? QString()
            : QStringLiteral("%1 template file(s) in %2 were left out: their names are not "
                             "valid UTF-8, which this program cannot open. Rename them (for "
                             "example with convmv) and start the program again.")
                  .arg(unreadable)
                  .arg(leftOut.join(QStringLiteral(", ")));
    if (warning)
        *warning = leftOutText;
    if (entries.isEmpty() && unreadable > 0) {
        *error = leftOutText;
        return std::nullopt;
    }
    if (entries.isEmpty()) {
        QStringList shown;
        for (const QString &folder : folders)
            shown << QStringLiteral("  ") + QDir::toNativeSeparators(QDir(folder).absolutePath());
        *error = QStringLiteral("No phone template was found. The program looked in:\n%1\n\n"
                                "Put your phone templates (*.txt) in %2 and start the program "
                                "again.")
                     .arg(shown.join(QLatin1Char('\n')),
                          QDir::toNativeSeparators(QDir(folders.value(0)).absolutePath()));
        return std::nullopt;
    }
    return entries;
}

QStringList templateFolders()
{
    // The writable location comes first, then the system's, highest first.
    QStringList folders;
    for (const QString &data : QStandardPaths::standardLocations(QStandardPaths::AppDataLocation))
        folders << data + QStringLiteral("/DB");
    folders << QCoreApplication::applicationDirPath() + QStringLiteral("/DB");
    folders.removeDuplicates();
    return folders;
}

} // namespace jukora
