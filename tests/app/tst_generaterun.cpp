#include "windowfixture.h"

#include <QtTest>

using namespace jukora;
using test::ProgramFolder;
using test::WindowFixture;

class TestGenerateRun : public QObject
{
    Q_OBJECT

private slots:
    void cancelTouchesNothing();
    void goldenPatches_data();
    void goldenPatches();
    void doneOnlyAfterTheFileIsComplete();
    void refusals_data();
    void refusals();
    void positionsOffTheByteAskFirst_data();
    void positionsOffTheByteAskFirst();
    void selIndexEndsOnTheLastEncodedElement();
};

void TestGenerateRun::cancelTouchesNothing()
{
    ProgramFolder folder({{QStringLiteral("m"), "*cx*A: 00 00;c\r\n"}});
    WindowFixture f(folder.db());
    f.window->comm().FileName = QStringLiteral("/somewhere/else.vkp");
    f.window->GenerateRun();
    QCOMPARE(f.dialogs.calls.size(), 1);
    const auto save = f.dialogs.calls.first();
    QCOMPARE(save.text, QStringLiteral("Vkp patch|*.vkp"));
    QCOMPARE(save.detail, QString()); // the file name is emptied first
    QCOMPARE(QDir(folder.dir.path()).entryList(QDir::Files), QStringList());
}

void TestGenerateRun::goldenPatches_data()
{
    QTest::addColumn<QString>("model");
    for (const char *model : {"Novo N3", "Novo N5", "orla X1"})
        QTest::newRow(model) << QString::fromLatin1(model);
}

void TestGenerateRun::goldenPatches()
{
    QFETCH(QString, model);
    WindowFixture f;
    f.selectModel(model);
    QTemporaryDir out;
    const QString path = out.filePath(QStringLiteral("patch")); // no extension is added
    const QByteArray expected =
        test::readFile(test::sourceDir() + QStringLiteral("/tests/data/golden/%1.vkp").arg(model));
    QCOMPARE(f.generate(path), expected);
    QCOMPARE(f.messages().size(), 1);
    QCOMPARE(f.messages().first().text, QStringLiteral("Done"));
    QCOMPARE(f.messages().first().title, QStringLiteral("Jukora Patch Editor"));
    QCOMPARE(f.window->comm().FileName, path); // kept after the run
    QCOMPARE(f.generate(path), expected);      // again, over the first
}

void TestGenerateRun::doneOnlyAfterTheFileIsComplete()
{
    QByteArray templ, expected;
    for (int i = 0; i < 20000; ++i) {
        templ += "*cx*" + QByteArray::number(i) + ": 07 07 ;x\r\nplain line\r\n";
        expected += QByteArray::number(i) + ": 07 0721;x\r\nplain line\r\n";
    }
    ProgramFolder folder({{QStringLiteral("big"), templ}});
    WindowFixture f(folder.db());
    const QString path = folder.file(QStringLiteral("p.vkp"));
    test::writeFile(path, "old");
    QByteArray atDone;
    f.dialogs.onMessage = [&](const test::FakeDialogs::Call &) { atDone = test::readFile(path); };
    f.generate(path);
    QCOMPARE(atDone, expected);
}

void TestGenerateRun::refusals_data()
{
    QTest::addColumn<QByteArray>("templ"); // empty: the template is gone
    QTest::addColumn<float>("cover");
    QTest::addColumn<QString>("target"); // in the program folder
    QTest::addColumn<QStringList>("says");
    QTest::newRow("template gone")
        << QByteArray() << 150.f << "p.vkp" << QStringList{"m.txt", "No patch was written"};
    QTest::newRow("malformed lines")
        << QByteArray(
               "; ok\r\n*cx*A: 00 00;fine\r\n*cy*B:0000;x\r\n*tpw*C: 00 00\r\nAB *albumx* 1;x")
        << 150.f << "p.vkp"
        << QStringList{"line 3 (*cy*): no space", "line 4 (*tpw*): no \";\"",
                       "line 5 (*albumx*): the first field is shorter", "No patch was written"};
    QTest::newRow("cover width 256") << QByteArray("*cw*A: 9620 9620;w\r\n") << 256.f << "p.vkp"
                                     << QStringList{"256 pixels wide", "0 to 255"};
    QTest::newRow("folder is a file") << QByteArray("plain\r\n") << 150.f << "p.vkp/p.vkp"
                                      << QStringList{"p.vkp/p.vkp", "unchanged"};
}

void TestGenerateRun::refusals()
{
    QFETCH(QByteArray, templ);
    QFETCH(float, cover);
    QFETCH(QString, target);
    QFETCH(QStringList, says);
    ProgramFolder folder({{QStringLiteral("m"), templ.isEmpty() ? "x" : templ}});
    WindowFixture f(folder.db());
    if (templ.isEmpty())
        QVERIFY(QFile::remove(folder.templ(QStringLiteral("m"))));
    f.model().setCoverSize(cover);
    const QString old = folder.file(QStringLiteral("p.vkp"));
    test::writeFile(old, "precious");
    f.generate(folder.file(target));
    QCOMPARE(f.messages().size(), 1);
    QCOMPARE(f.messages().first().icon, Dialogs::Icon::Critical);
    for (const QString &part : says)
        QVERIFY2(f.messages().first().text.contains(part), qPrintable(f.messages().first().text));
    QCOMPARE(test::readFile(old), QByteArray("precious"));
    QCOMPARE(QDir(folder.dir.path()).entryList(QDir::Files | QDir::Hidden).size(), 1);
}

void TestGenerateRun::positionsOffTheByteAskFirst_data()
{
    QTest::addColumn<bool>("answer");
    QTest::newRow("no writes nothing") << false;
    QTest::newRow("yes writes the low bits") << true;
}

void TestGenerateRun::positionsOffTheByteAskFirst()
{
    QFETCH(bool, answer);
    ProgramFolder folder({{QStringLiteral("m"),
                           "*tpw*A: F0 F0;r\r\n*tpx*B: A022 A022;x\r\n*tpw*C: F0 F0;again\r\n"}});
    WindowFixture f(folder.db());
    f.model().setPosition(10, 176, 142); // right edge 256: one past the byte
    const QString path = folder.file(QStringLiteral("p.vkp"));
    test::writeFile(path, "old");
    const QByteArray written = f.generate(path, answer);
    const auto questions = f.dialogs.callsOf(QStringLiteral("question"));
    QCOMPARE(questions.size(), 1);
    const QString text = questions.first().text;
    QVERIFY2(text.contains(QStringLiteral("\nplay time right edge: 256, written as 00\n")),
             qPrintable(text));
    QCOMPARE(text.count(QStringLiteral("right edge")), 1); // listed once
    QCOMPARE(written, answer ? QByteArray("A: F0 00;r\r\nB: A022 B022;x\r\nC: F0 00;again\r\n")
                             : QByteArray("old"));
    QCOMPARE(f.messages().size(), answer ? 1 : 0);
}

void TestGenerateRun::selIndexEndsOnTheLastEncodedElement()
{
    ProgramFolder folder({{QStringLiteral("m"), "*ay*A: 00 00;\r\n*cw*B: 00 00;\r\n*tpa*C: 0 0;"}});
    WindowFixture f(folder.db());
    QCOMPARE(f.tool().selIndex(), std::int16_t(0));
    f.generate(folder.file(QStringLiteral("p.vkp")));
    QCOMPARE(f.tool().selIndex(), std::int16_t(11));
}

QTEST_MAIN(TestGenerateRun)
#include "tst_generaterun.moc"
