#include "fakedialogs.h"
#include "mainwindow.h"
#include "startup.h"
#include "templatelist.h"
#include "testutil.h"

#include <QComboBox>
#include <QTemporaryDir>
#include <QtTest>

using namespace jukora;

class TestStartup : public QObject
{
    Q_OBJECT

private slots:
    void listing_data();
    void listing();
    void differentCaseNamesAreStable();
    void listedFileIsTheOneFound();
    void failedStartSaysWhyAndShowsNoWindow_data();
    void failedStartSaysWhyAndShowsNoWindow();
};

void TestStartup::listing_data()
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
    QTest::newRow("spaces and 8-bit names")
        << QStringList{"Novo N3.txt", "\u00C4ra 2.txt"} << QStringList{}
        << QStringList{"Novo N3", "\u00C4ra 2"};
}

void TestStartup::listing()
{
    QFETCH(QStringList, files);
    QFETCH(QStringList, folders);
    QFETCH(QStringList, models);
    QTemporaryDir dir;
    for (const QString &name : files)
        test::writeFile(dir.filePath(name), "x\r\n");
    for (const QString &name : folders)
        QVERIFY(QDir(dir.path()).mkdir(name));
    const TemplateListing listing = listTemplates(dir.path());
    QVERIFY(listing.error.isEmpty());
    QStringList got;
    for (const TemplateEntry &entry : listing.entries)
        got << entry.model;
    QCOMPARE(got, models);
}

void TestStartup::differentCaseNamesAreStable()
{
    QTemporaryDir dir;
    for (const char *name : {"phone.txt", "Phone.txt", "PHONE.txt", "a.txt"})
        test::writeFile(dir.filePath(QString::fromLatin1(name)), "x");
    QStringList first;
    for (const TemplateEntry &entry : listTemplates(dir.path()).entries)
        first << entry.model;
    QCOMPARE(first.size(), 4);
    QCOMPARE(first.first(), QStringLiteral("a"));
    for (int i = 0; i < 5; ++i) {
        QStringList again;
        for (const TemplateEntry &entry : listTemplates(dir.path()).entries)
            again << entry.model;
        QCOMPARE(again, first);
    }
}

void TestStartup::listedFileIsTheOneFound()
{
    QTemporaryDir dir;
    test::writeFile(dir.filePath(QStringLiteral("Phone.TXT")), "upper");
    const TemplateListing listing = listTemplates(dir.path());
    QCOMPARE(listing.entries.size(), 1);
    QCOMPARE(listing.entries.first().model, QStringLiteral("Phone"));
    QCOMPARE(test::readFile(listing.entries.first().path), QByteArray("upper"));

    test::FakeDialogs dialogs;
    MainWindow window(listing.entries, dialogs);
    QCOMPARE(window.selectedTemplate(), listing.entries.first().path);
}

void TestStartup::failedStartSaysWhyAndShowsNoWindow_data()
{
    QTest::addColumn<bool>("createFolder");
    QTest::addColumn<QString>("says");
    QTest::newRow("missing folder") << false << "was not found";
    QTest::newRow("no template") << true << "holds no phone template";
}

void TestStartup::failedStartSaysWhyAndShowsNoWindow()
{
    QFETCH(bool, createFolder);
    QFETCH(QString, says);
    QTemporaryDir dir;
    const QString db = dir.filePath(QStringLiteral("DB"));
    if (createFolder) {
        QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("DB")));
        test::writeFile(db + QStringLiteral("/notes.txt.bak"), "x");
    }
    test::FakeDialogs dialogs;
    const auto window = startEditor(dialogs, db);
    QVERIFY(!window);
    QCOMPARE(dialogs.calls.size(), 1);
    const auto &call = dialogs.calls.first();
    QCOMPARE(call.icon, Dialogs::Icon::Critical);
    QCOMPARE(call.title, QStringLiteral("Jukora Patch Editor"));
    QVERIFY2(call.text.contains(says), qPrintable(call.text));
    QVERIFY2(call.text.contains(QDir::toNativeSeparators(db)), qPrintable(call.text));
    QVERIFY(QApplication::topLevelWidgets().isEmpty());
}

QTEST_MAIN(TestStartup)
#include "tst_startup.moc"
