#include "templatelist.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QSet>
#include <QStandardPaths>

#include <dirent.h>

#include <cerrno>
#include <cstring>

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

/// What keeps the program from reading `folder`, or nothing when it can be
/// read or is simply not there: "cannot be read: Permission denied", or a
/// file standing where one of its folders should be.
QString folderProblem(const QString &folder)
{
    const QByteArray path = QFile::encodeName(folder);
    if (DIR *dir = ::opendir(path.constData())) {
        ::closedir(dir);
        return {};
    }
    if (errno == EACCES || errno == EIO || errno == ELOOP)
        return QStringLiteral("cannot be read: %1")
            .arg(QString::fromLocal8Bit(std::strerror(errno)));
    // A file in the way: the folder cannot exist there at all. The walk goes
    // up an absolute path, so it ends at the root even for a relative one.
    for (QString up = QFileInfo(folder).absoluteFilePath(); up != QFileInfo(up).path();
         up = QFileInfo(up).path()) {
        const QFileInfo info(up);
        if (info.exists() && !info.isDir())
            return QStringLiteral("%1 is a file, not a folder").arg(QDir::toNativeSeparators(up));
    }
    return {};
}

/// Why no template was found: every folder searched, with what is wrong
/// with it, and advice that points to the first folder the templates could
/// go in (not one that cannot be read or that a file stands in the way of).
QString noTemplateFound(const QStringList &folders, const QList<QString> &problems,
                        bool someUnreadable)
{
    QStringList shown;
    QString advised;
    for (qsizetype i = 0; i < folders.size(); ++i) {
        const QString folder = QDir::toNativeSeparators(QDir(folders[i]).absolutePath());
        shown << QStringLiteral("  ") + folder +
                     (problems[i].isEmpty() ? QString() : QStringLiteral(" (%1)").arg(problems[i]));
        if (advised.isEmpty() && problems[i].isEmpty())
            advised = folder;
    }
    QString text = QStringLiteral("No phone template was found. The program looked in:\n%1\n\n")
                       .arg(shown.join(QLatin1Char('\n')));
    text += someUnreadable ? QStringLiteral("Give yourself read access to a folder that cannot be "
                                            "read (chmod u+rx), or put")
                           : QStringLiteral("Put");
    text += QStringLiteral(" your phone templates (*.txt) in %1 and start the program again.")
                .arg(advised.isEmpty() ? QStringLiteral("one of these folders") : advised);
    return text;
}

} // namespace

std::optional<QList<TemplateEntry>> listTemplates(const QStringList &folders, QString *error,
                                                  QString *warning)
{
    QList<TemplateEntry> entries;
    QSet<QString> models;
    QStringList leftOut, unreadableFolders;
    QList<QString> problems;
    int unreadable = 0;
    for (const QString &folder : folders) {
        problems << folderProblem(folder);
        if (problems.last().startsWith(QLatin1String("cannot be read")))
            unreadableFolders << QStringLiteral("%1 %2").arg(QDir::toNativeSeparators(folder),
                                                             problems.last());
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
    QStringList notes;
    if (unreadable > 0)
        notes << QStringLiteral("%1 template file(s) in %2 were left out: their names are not "
                                "valid UTF-8, which this program cannot open. Rename them (for "
                                "example with convmv) and start the program again.")
                     .arg(unreadable)
                     .arg(leftOut.join(QStringLiteral(", ")));
    if (!unreadableFolders.isEmpty())
        notes << QStringLiteral("The templates of a folder that cannot be read were left out: "
                                "%1. Give yourself read access to it (chmod u+rx) and start the "
                                "program again.")
                     .arg(unreadableFolders.join(QStringLiteral("; ")));
    const QString leftOutText = notes.join(QStringLiteral("\n\n"));
    if (warning)
        *warning = leftOutText;
    if (entries.isEmpty() && unreadable > 0) {
        *error = leftOutText;
        return std::nullopt;
    }
    if (entries.isEmpty()) {
        *error = noTemplateFound(folders, problems, !unreadableFolders.isEmpty());
        return std::nullopt;
    }
    return entries;
}

std::optional<TemplateEntry> findTemplate(const QList<TemplateEntry> &templates,
                                          const QString &model, QString *error)
{
    QStringList models, alike;
    const TemplateEntry *found = nullptr;
    for (const TemplateEntry &entry : templates) {
        if (entry.model == model)
            return entry;
        models << entry.model;
        if (entry.model.compare(model, Qt::CaseInsensitive) == 0) {
            alike << entry.model;
            found = &entry;
        }
    }
    if (alike.size() == 1)
        return *found;
    if (alike.size() > 1)
        *error = QStringLiteral("the phone model \"%1\" could be any of %2, which differ only in "
                                "case. Give the name exactly as one of them is written.")
                     .arg(model, alike.join(QStringLiteral(", ")));
    else
        *error = QStringLiteral("there is no template for the phone model \"%1\". The models are: "
                                "%2.")
                     .arg(model, models.join(QStringLiteral(", ")));
    return std::nullopt;
}

QStringList templateFolders(QString *note)
{
    // The writable location comes first, then the system's, highest first.
    QStringList folders;
    const QString home = qEnvironmentVariable("XDG_DATA_HOME");
    const bool relativeHome = !home.isEmpty() && QDir::isRelativePath(home);
    if (relativeHome) {
        const QString standard = QDir::homePath() + QStringLiteral("/.local/share/") +
                                 QCoreApplication::applicationName();
        folders << standard + QStringLiteral("/DB");
        if (note)
            *note = QStringLiteral("XDG_DATA_HOME is the relative path \"%1\", which would name "
                                   "another folder in every working folder; it was ignored, and "
                                   "your templates are read from %2 instead. Set it to an "
                                   "absolute path.")
                        .arg(home, QDir::toNativeSeparators(standard + QStringLiteral("/DB")));
    }
    for (const QString &data : QStandardPaths::standardLocations(QStandardPaths::AppDataLocation)) {
        if (!QDir::isRelativePath(data))
            folders << data + QStringLiteral("/DB");
    }
    folders << QCoreApplication::applicationDirPath() + QStringLiteral("/DB");
    folders.removeDuplicates();
    return folders;
}

} // namespace jukora
