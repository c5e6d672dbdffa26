#include "templatelist.h"
#include "testfiles.h"

#include <QtTest>

using namespace jukora;

class TestTemplateList : public QObject
{
    Q_OBJECT

private slots:
    void listing_data()
    {
        QTest::addColumn<QStringList>("files");
        QTest::addColumn<QStringList>("folders");
        QTest::addColumn<QStringList>("models");
        QTest::newRow("sorted without case")
            << QStringList{"beta.txt", "Alpha.txt", "gamma.txt"} << QStringList{}
            << QStringList{"Alpha", "beta", "gamma"};
        QTest::newRow("upper-case extension")
            << QStringList{"Phone.TXT", "b.Txt"} << QStringList{} << QStringList{"b", "Phone"};
        QTest::newRow("other names left out")
            << QStringList{"notes.txt.bak", "readme.txt", "txt", "a.text", "x.vkp"} << QStringList{}
            << QStringList{"readme"};
        QTest::newRow("folders and hidden files left out")
            << QStringList{".hidden.txt", ".txt", "k.txt"} << QStringList{"x.txt", "sub"}
            << QStringList{"k"};
        // Names that differ only in case come in one fixed order, each with its
        // own file.
        QTest::newRow("same name, other case")
            << QStringList{"phone.txt", "PHONE.txt", "Phone.txt"} << QStringList{}
            << QStringList{"PHONE", "Phone", "phone"};
    }
    void listing()
    {
        QFETCH(QStringList, files);
        QFETCH(QStringList, folders);
        QFETCH(QStringList, models);
        QTemporaryDir dir;
        for (const QString &name : files)
            test::writeFile(dir.filePath(name), name.toUtf8());
        for (const QString &name : folders)
            QVERIFY(QDir(dir.path()).mkdir(name));
        QString error;
        const auto listed = listTemplates({dir.path()}, &error);
        QVERIFY2(listed, qPrintable(error));
        QStringList got;
        for (const TemplateEntry &entry : *listed) {
            got << entry.model;
            QCOMPARE(test::readFile(entry.path), QFileInfo(entry.path).fileName().toUtf8());
        }
        QCOMPARE(got, models);
    }
    void userFolderWinsOverSystemOverProgram()
    {
        QTemporaryDir root;
        qputenv("XDG_DATA_HOME", QFile::encodeName(root.filePath("home")));
        qputenv("XDG_DATA_DIRS", QFile::encodeName(root.filePath("sys")));
        QCoreApplication::setApplicationName(QString::fromLatin1(kApplicationName));
        QStringList folders = templateFolders();
        QCOMPARE(folders.mid(0, 2), QStringList({root.filePath("home/jukora-patch-editor/DB"),
                                                 root.filePath("sys/jukora-patch-editor/DB")}));
        QCOMPARE(folders.last(), QCoreApplication::applicationDirPath() + "/DB");
        folders.last() = root.filePath("program/DB");
        for (const QString &folder : folders)
            QVERIFY(QDir().mkpath(folder));
        QString error;
        QVERIFY(!listTemplates(folders, &error));
        QVERIFY2(error.contains("looked in:\n  " + folders.join("\n  ") +
                                "\n\nPut your phone "
                                "templates (*.txt) in " +
                                folders.first()),
                 qPrintable(error));
        const auto list = [&] {
            QStringList got;
            for (const TemplateEntry &entry :
                 listTemplates(folders, &error).value_or(QList<TemplateEntry>()))
                got << entry.model + '=' + test::readFile(entry.path);
            return got;
        };
        test::writeFile(folders[2] + "/both.txt", "program");
        test::writeFile(folders[2] + "/a.txt", "program");
        test::writeFile(folders[1] + "/both.txt", "system");
        test::writeFile(folders[1] + "/Both.txt", "system");
        QCOMPARE(list(), QStringList({"a=program", "Both=system", "both=system"}));
        test::writeFile(folders[0] + "/both.txt", "user");
        QCOMPARE(list(), QStringList({"a=program", "Both=system", "both=user"}));
    }
};

QTEST_GUILESS_MAIN(TestTemplateList)
#include "tst_templatelist.moc"
