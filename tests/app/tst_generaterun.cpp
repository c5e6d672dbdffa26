#include "generatejob.h"
#include "refusal.h"
#include "windowfixture.h"

#include <QtTest>

using namespace jukora;
using test::ProgramFolder;
using test::WindowFixture;

class TestGenerateRun : public QObject
{
    Q_OBJECT

private slots:
    void goldenPatches_data()
    {
        QTest::addColumn<QString>("model");
        for (const char *model : {"Novo N3", "Novo N5", "orla X1"})
            QTest::newRow(model) << QString::fromLatin1(model);
        QTest::newRow("an empty template") << QString();
    }
    void goldenPatches()
    {
        QFETCH(QString, model);
        const ProgramFolder empty{{"empty", ""}};
        WindowFixture f(model.isEmpty() ? empty.db() : test::sourceDir() + "/DB");
        if (!model.isEmpty())
            f.selectModel(model);
        f.generate(QString()); // cancelled: the dialog offers patches, and no name
        QCOMPARE(f.dialogs.calls.first().text, QStringLiteral("Vkp patch (*.vkp)"));
        QCOMPARE(f.dialogs.calls.first().detail, QString());
        f.dialogs.calls.clear();
        QTemporaryDir out;
        const QString path = out.filePath("patch"); // no extension is added
        const QByteArray expected =
            model.isEmpty()
                ? QByteArray()
                : test::readFile(test::sourceDir() + "/tests/data/golden/" + model + ".vkp");
        QCOMPARE(f.generate(path), expected);
        QCOMPARE(f.generate(path + "2"), expected); // again: the same bytes
        QCOMPARE(f.messages().size(), 2);
        QCOMPARE(f.messages().first().text, QStringLiteral("Done"));
        // Nothing is held afterwards: a press on bare surface drags nothing.
        const patch::Layout before = f.model().layout();
        test::press(f.view(), {120, 280});
        test::move(f.view(), {60, 60}, Qt::LeftButton);
        QCOMPARE(f.model().layout().left, before.left);
    }
    void doneOnlyAfterTheFileIsComplete()
    {
        QByteArray templ, expected;
        for (int i = 0; i < 20000; ++i) {
            templ += "*cx*" + QByteArray::number(i) + ": 07 07 ;x\r\nplain line\r\n";
            expected += QByteArray::number(i) + ": 07 0721;x\r\nplain line\r\n";
        }
        ProgramFolder folder{{"big", templ}};
        WindowFixture f(folder.db());
        QByteArray atDone;
        f.dialogs.onMessage = [&](const auto &) { atDone = test::readFile(folder.file("p.vkp")); };
        f.generate(folder.file("p.vkp"));
        QCOMPARE(atDone, expected);
        QVERIFY(f.dialogs.progressCalls >= 2); // the template is read in pieces
        // Cancelled part way: nothing written, nothing left behind, no box.
        f.dialogs.progressCalls = 0;
        f.dialogs.cancelAt = 1;
        f.dialogs.calls.clear();
        test::writeFile(folder.file("p.vkp"), "old");
        f.generate(folder.file("p.vkp"));
        QCOMPARE(test::readFile(folder.file("p.vkp")), QByteArray("old"));
        QVERIFY(f.messages().isEmpty());
        QCOMPARE(QDir(folder.dir.path()).entryList(QDir::Files | QDir::Hidden).size(), 1);
    }
    void refusals_data()
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
        QTest::newRow("every reason at once: line, cover width 256, folder is a file")
            << QByteArray("*cw*A: 0 0;w\r\n*cx*B: 0 0\r\n") << 256.f << "p.vkp/p.vkp"
            << QStringList{"line 2 (*cx*)", "256 pixels wide", "0 to 255", "could not be written",
                           "p.vkp/p.vkp"};
        QTest::newRow("target is the template itself")
            << QByteArray("*cx*A: 00 00;x\r\n") << 150.f << "DB/m.txt"
            << QStringList{"the template the patch is made from", "No patch was written"};
    }
    void refusals()
    {
        QFETCH(QByteArray, templ);
        QFETCH(float, cover);
        QFETCH(QString, target);
        QFETCH(QStringList, says);
        ProgramFolder folder{{"m", templ.isEmpty() ? "x" : templ}};
        WindowFixture f(folder.db());
        if (templ.isEmpty())
            QVERIFY(QFile::remove(folder.templ("m")));
        f.model().setCoverSize(cover);
        test::writeFile(folder.file("p.vkp"), "precious");
        f.dialogs.saveAnswers << folder.file(target);
        f.window->onGenerateClicked();
        QCOMPARE(f.messages().size(), 1);
        QCOMPARE(f.messages().first().icon, Dialogs::Icon::Critical);
        for (const QString &part : says)
            QVERIFY_CONTAINS(f.messages().first().text, part);
        QCOMPARE(test::readFile(folder.file("p.vkp")), QByteArray("precious"));
        if (!templ.isEmpty())
            QCOMPARE(test::readFile(folder.templ("m")), templ);
        QCOMPARE(QDir(folder.dir.path()).entryList(QDir::Files | QDir::Hidden).size(), 1);
    }
    void positionsOffTheByteAskFirst_data()
    {
        QTest::addColumn<bool>("answer");
        QTest::newRow("no writes nothing") << false;
        QTest::newRow("yes writes the low bits") << true;
    }
    void positionsOffTheByteAskFirst()
    {
        QFETCH(bool, answer);
        // The old value of B is MOVS R3 where *tpx* writes MOVS R2.
        ProgramFolder folder{
            {"m", "*tpw*A: F0 F0;r\r\n*tpx*B: A023 A023;x\r\n*tpw*C: F0 F0;again"}};
        WindowFixture f(folder.db());
        f.model().setPosition(patch::PlayTime, 176, 142); // right edge 256: one past the byte
        test::writeFile(folder.file("p.vkp"), "old");
        const QByteArray written = f.generate(folder.file("p.vkp"), answer);
        const QString question = f.dialogs.callsOf("question").value(0).text;
        QVERIFY_CONTAINS(question, "\nplay time right edge: 256, written as 00\n");
        QCOMPARE(question.count("right edge"), 1); // listed once
        QCOMPARE(written, answer ? QByteArray("A: F0 00;r\r\nB: A023 B022;x\r\nC: F0 00;again\r\n")
                                 : QByteArray("old"));
        QCOMPARE(f.messages().size(), answer ? 1 : 0);
        if (answer) { // written, with the odd line in the details
            QVERIFY(f.messages().first().text.startsWith("Done\n\nOne of the template's lines"));
            QCOMPARE(f.messages().first().detail,
                     QStringLiteral("line 2: the old value A023 is MOVS R3, but *tpx* writes "
                                    "MOVS R2: is the address right?"));
        }
    }
    void boxesFitTheScreen()
    {
        // As tall as a box may be, a line more, a hundred folders.
        for (const int lines : {kMaxBoxLines, kMaxBoxLines + 1, 102}) {
            QStringList text;
            for (int i = 1; i <= lines; ++i)
                text << QStringLiteral("  /folder/%1").arg(i);
            const QString whole = text.join(u'\n');
            const BoxText box = fitOnScreen(whole, QStringLiteral("more"));
            QVERIFY(box.text.count(u'\n') < kMaxBoxLines);
            QVERIFY(box.text.startsWith(QStringLiteral("  /folder/1\n")));
            // Nothing is lost: what the box does not show is in the details.
            QCOMPARE(box.text == whole, lines <= kMaxBoxLines);
            QCOMPARE(box.details, box.text == whole ? QStringLiteral("more") : whole + "\n\nmore");
        }
    }
    void longListsGoToTheDetails()
    {
        // Two more than the 1000 listed: every one counted.
        ProgramFolder folder{{"m", QByteArray("*cx*A\r\n").repeated(1002)}};
        WindowFixture f(folder.db());
        f.generate(folder.file("p.vkp"));
        const auto box = f.messages().value(0);
        QCOMPARE(box.text.count("): no space"), patch::kShownMalformedLines);
        QVERIFY(box.text.contains("(1002 lines in all: see the details)"));
        QCOMPARE(box.detail.count('\n'), 1000);
        QVERIFY(box.detail.endsWith("no old value\nand 2 more"));
    }
};

QTEST_MAIN(TestGenerateRun)
#include "tst_generaterun.moc"
