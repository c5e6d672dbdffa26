#include "fakedialogs.h"
#include "mainwindow.h"
#include "startup.h"
#include "testutil.h"

#include <QtTest>

using namespace jukora;

class TestStartup : public QObject
{
    Q_OBJECT

private slots:
    void failedStartSaysWhyAndShowsNoWindow_data();
    void failedStartSaysWhyAndShowsNoWindow();
    void windowListsTheFolder();
};

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
    if (createFolder)
        QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("DB")));
    test::FakeDialogs dialogs;
    QVERIFY(!startEditor(dialogs, db));
    QCOMPARE(dialogs.calls.size(), 1);
    const auto &call = dialogs.calls.first();
    QCOMPARE(call.icon, Dialogs::Icon::Critical);
    QCOMPARE(call.title, QStringLiteral("Jukora Patch Editor"));
    QVERIFY2(call.text.contains(says), qPrintable(call.text));
    QVERIFY2(call.text.contains(QDir::toNativeSeparators(db)), qPrintable(call.text));
    QVERIFY(QApplication::topLevelWidgets().isEmpty());
}

void TestStartup::windowListsTheFolder()
{
    test::ProgramFolder folder({{QStringLiteral("b"), "b"}, {QStringLiteral("A"), "a"}});
    test::FakeDialogs dialogs;
    const auto window = startEditor(dialogs, folder.db());
    QVERIFY(window);
    QVERIFY(dialogs.calls.isEmpty());
    QCOMPARE(window->selectedTemplate(), folder.templ(QStringLiteral("A")));
}

QTEST_MAIN(TestStartup)
#include "tst_startup.moc"
