#include "templatelist.h"
#include "testfiles.h"

#include <QtTest>

using namespace jukora;

class TestTemplateList : public QObject
{
    Q_OBJECT

private slots:
    void listing_data();
    void listing();
};

void TestTemplateList::listing_data()
{
    QTest::addColumn<QStringList>("files");
    QTest::addColumn<QStringList>("folders");
    QTest::addColumn<QStringList>("models");
    QTest::newRow("sorted without case") << QStringList{"beta.txt", "Alpha.txt", "gamma.txt"}
                                         << QStringList{} << QStringList{"Alpha", "beta", "gamma"};
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

void TestTemplateList::listing()
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
    const auto listed = listTemplates(dir.path(), &error);
    QVERIFY2(listed, qPrintable(error));
    QStringList got;
    for (const TemplateEntry &entry : *listed) {
        got << entry.model;
        QCOMPARE(test::readFile(entry.path), QFileInfo(entry.path).fileName().toUtf8());
    }
    QCOMPARE(got, models);
}

QTEST_GUILESS_MAIN(TestTemplateList)
#include "tst_templatelist.moc"
