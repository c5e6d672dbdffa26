#pragma once

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

#include <initializer_list>
#include <utility>

/// Fails, showing the whole text, unless `text` contains `part`.
#define QVERIFY_CONTAINS(text, part) QVERIFY2((text).contains(part), qPrintable(text))

namespace jukora::test {

/// The project's source folder (set by CTest), for DB/ and the golden files.
inline QString sourceDir()
{
    const QByteArray dir = qgetenv("JUKORA_SOURCE_DIR");
    return dir.isEmpty() ? QStringLiteral(".") : QString::fromLocal8Bit(dir);
}

inline void writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    QVERIFY2(file.open(QIODevice::WriteOnly), qPrintable(path));
    QCOMPARE(file.write(bytes), bytes.size());
}

inline QByteArray readFile(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

/// A scratch program folder with a DB of its own: `templates` are model
/// names and their template bytes.
struct ProgramFolder
{
    QTemporaryDir dir;
    ProgramFolder(std::initializer_list<std::pair<QString, QByteArray>> templates = {})
    {
        QDir(dir.path()).mkdir(QStringLiteral("DB"));
        for (const auto &t : templates)
            writeFile(templ(t.first), t.second);
    }
    QString db() const { return dir.filePath(QStringLiteral("DB")); }
    QString templ(const QString &model) const
    {
        return db() + u'/' + model + QStringLiteral(".txt");
    }
    QString file(const QString &name) const { return dir.filePath(name); }
};

} // namespace jukora::test
