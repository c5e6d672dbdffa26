#include "windowfixture.h"

#include <QTemporaryDir>
#include <QtTest>

using namespace jukora;
using test::FakeDialogs;
using test::WindowFixture;

namespace {

/// A DB folder of its own, so that a test may change or remove templates.
struct OwnDb
{
    QTemporaryDir dir;
    QString db() const { return dir.filePath(QStringLiteral("DB")); }
    QString templ(const QString &model) const
    {
        return db() + QLatin1Char('/') + model + QStringLiteral(".txt");
    }
    QString out(const QString &name) const { return dir.filePath(name); }

    explicit OwnDb(const QList<QPair<QString, QByteArray>> &templates)
    {
        QDir(dir.path()).mkdir(QStringLiteral("DB"));
        for (const auto &t : templates)
            test::writeFile(templ(t.first), t.second);
    }
};

} // namespace

class TestGenerateRun : public QObject
{
    Q_OBJECT

private slots:
    void cancelTouchesNothing();
    void goldenPatches_data();
    void goldenPatches();
    void doneOnlyAfterTheFileIsComplete();
    void missingTemplateLeavesTargetUnchanged();
    void malformedTemplateWritesNothingAndNamesTheLines();
    void coverWidthOutsideAByteWritesNothing();
    void positionsOffTheByteAskFirst_data();
    void positionsOffTheByteAskFirst();
    void unwritableTargetReportsAndKeepsTheOldFile();
    void selIndexEndsOnTheLastEncodedElement();
    void generateUsesTheSelectedModel();
};

void TestGenerateRun::cancelTouchesNothing()
{
    OwnDb db({{QStringLiteral("m"), "*cx*A: 00 00;c\r\n"}});
    WindowFixture f(db.db());
    f.window->comm().FileName = QStringLiteral("/somewhere/else.vkp");
    f.window->GenerateRun();
    QCOMPARE(f.dialogs.calls.size(), 1);
    const auto save = f.dialogs.calls.first();
    QCOMPARE(save.kind, QStringLiteral("save"));
    QCOMPARE(save.text, QStringLiteral("Vkp patch|*.vkp"));
    QCOMPARE(save.detail, QString()); // the file name is emptied first
    QCOMPARE(f.window->comm().Filter, QStringLiteral("Vkp patch|*.vkp"));
    QCOMPARE(QDir(db.dir.path()).entryList(QDir::Files), QStringList());
    QCOMPARE(f.model().SelIndex, std::int16_t(0));
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
    auto *phones = f.combo("Combo1");
    phones->setCurrentIndex(phones->findText(model));
    QVERIFY(phones->currentIndex() >= 0);
    QTemporaryDir out;
    const QString path = out.filePath(QStringLiteral("patch.vkp"));
    f.dialogs.saveAnswers << path;
    f.button("Command1")->click();

    const QByteArray expected = test::readFile(
        test::sourceDir() + QStringLiteral("/tests/data/golden/") + model + QStringLiteral(".vkp"));
    QCOMPARE(test::readFile(path), expected);
    const auto messages = f.dialogs.callsOf(QStringLiteral("message"));
    QCOMPARE(messages.size(), 1);
    QCOMPARE(messages.first().text, QStringLiteral("Done"));
    QCOMPARE(messages.first().title, QStringLiteral("Jukora Patch Editor"));
    QCOMPARE(messages.first().icon, Dialogs::Icon::Information);
    QCOMPARE(f.window->comm().FileName, path); // kept after the run

    // A second run over the first gives the same bytes.
    f.dialogs.saveAnswers << path;
    f.window->GenerateRun();
    QCOMPARE(test::readFile(path), expected);
}

void TestGenerateRun::doneOnlyAfterTheFileIsComplete()
{
    QByteArray templ;
    QByteArray expected;
    for (int i = 0; i < 20000; ++i) {
        templ += "*cx*" + QByteArray::number(i) + ": 07 07 ;x\r\nplain line\r\n";
        expected += QByteArray::number(i) + ": 07 0721;x\r\nplain line\r\n";
    }
    OwnDb db({{QStringLiteral("big"), templ}});
    WindowFixture f(db.db());
    const QString path = db.out(QStringLiteral("p.vkp"));
    test::writeFile(path, "old");
    f.dialogs.saveAnswers << path;
    QByteArray atDone;
    f.dialogs.onMessage = [&](const FakeDialogs::Call &) { atDone = test::readFile(path); };
    f.window->GenerateRun();
    QCOMPARE(atDone, expected);
}

void TestGenerateRun::missingTemplateLeavesTargetUnchanged()
{
    OwnDb db({{QStringLiteral("gone"), "x\r\n"}});
    WindowFixture f(db.db());
    QVERIFY(QFile::remove(db.templ(QStringLiteral("gone"))));
    const QString path = db.out(QStringLiteral("p.vkp"));
    test::writeFile(path, "precious");
    f.dialogs.saveAnswers << path;
    f.window->GenerateRun();
    const auto messages = f.dialogs.callsOf(QStringLiteral("message"));
    QCOMPARE(messages.size(), 1);
    QCOMPARE(messages.first().icon, Dialogs::Icon::Critical);
    QVERIFY(messages.first().text.contains(QStringLiteral("gone.txt")));
    QVERIFY(messages.first().text.contains(QStringLiteral("No patch was written")));
    QCOMPARE(test::readFile(path), QByteArray("precious"));
}

void TestGenerateRun::malformedTemplateWritesNothingAndNamesTheLines()
{
    OwnDb db({{QStringLiteral("bad"), "; ok\r\n*cx*A: 00 00;fine\r\n*cy*B:0000;nospace\r\n*tpw*C: "
                                      "00 00\r\nAB *albumx* 1;x\r\n"}});
    WindowFixture f(db.db());
    const QString path = db.out(QStringLiteral("p.vkp"));
    f.dialogs.saveAnswers << path;
    f.window->GenerateRun();
    const auto messages = f.dialogs.callsOf(QStringLiteral("message"));
    QCOMPARE(messages.size(), 1);
    const QString text = messages.first().text;
    QCOMPARE(messages.first().icon, Dialogs::Icon::Critical);
    QVERIFY2(text.contains(QStringLiteral("line 3 (*cy*): no space")), qPrintable(text));
    QVERIFY2(text.contains(QStringLiteral("line 4 (*tpw*): no \";\"")), qPrintable(text));
    QVERIFY2(text.contains(QStringLiteral("line 5 (*albumx*): the first field is shorter")),
             qPrintable(text));
    QVERIFY(!text.contains(QStringLiteral("line 2")));
    QVERIFY(!QFile::exists(path));
}

void TestGenerateRun::coverWidthOutsideAByteWritesNothing()
{
    OwnDb db({{QStringLiteral("m"), "*cw*A: 9620 9620;w\r\n"}});
    WindowFixture f(db.db());
    f.model().setCoverSize(300);
    const QString path = db.out(QStringLiteral("p.vkp"));
    f.dialogs.saveAnswers << path;
    f.window->GenerateRun();
    const auto messages = f.dialogs.callsOf(QStringLiteral("message"));
    QCOMPARE(messages.size(), 1);
    QVERIFY(messages.first().text.contains(QStringLiteral("300 pixels wide")));
    QVERIFY(messages.first().text.contains(QStringLiteral("0 to 255")));
    QVERIFY(!QFile::exists(path));

    // A cover template without a width rule does not care.
    OwnDb plain({{QStringLiteral("m"), "*cx*A: 00 00;x\r\n"}});
    WindowFixture g(plain.db());
    g.model().setCoverSize(300);
    g.dialogs.saveAnswers << plain.out(QStringLiteral("p.vkp"));
    g.window->GenerateRun();
    QCOMPARE(test::readFile(plain.out(QStringLiteral("p.vkp"))), QByteArray("A: 00 0721;x\r\n"));
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
    OwnDb db({{QStringLiteral("m"),
               "*tpw*A: F0 F0;r\r\n*tpx*B: A022 A022;x\r\n*tpw*C: F0 F0;again\r\n"}});
    WindowFixture f(db.db());
    f.model().setPosition(10, 190, 142); // right edge 270
    const QString path = db.out(QStringLiteral("p.vkp"));
    test::writeFile(path, "old");
    f.dialogs.saveAnswers << path;
    f.dialogs.questionAnswers << answer;
    f.window->GenerateRun();
    const auto questions = f.dialogs.callsOf(QStringLiteral("question"));
    QCOMPARE(questions.size(), 1);
    const QString text = questions.first().text;
    QVERIFY2(text.contains(QStringLiteral("play time right edge: 270, written as 0E")),
             qPrintable(text));
    QCOMPARE(text.count(QStringLiteral("right edge")), 1); // listed once
    QVERIFY(!text.contains(QStringLiteral("play time X")));
    if (answer) {
        QCOMPARE(test::readFile(path),
                 QByteArray("A: F0 0E;r\r\nB: A022 BE22;x\r\nC: F0 0E;again\r\n"));
        QCOMPARE(f.dialogs.callsOf(QStringLiteral("message")).size(), 1);
    } else {
        QCOMPARE(test::readFile(path), QByteArray("old"));
        QVERIFY(f.dialogs.callsOf(QStringLiteral("message")).isEmpty());
    }
}

void TestGenerateRun::unwritableTargetReportsAndKeepsTheOldFile()
{
    OwnDb db({{QStringLiteral("m"), "plain\r\n"}});
    WindowFixture f(db.db());
    const QString notAFolder = db.out(QStringLiteral("file"));
    test::writeFile(notAFolder, "precious");
    const QString path = notAFolder + QStringLiteral("/p.vkp");
    f.dialogs.saveAnswers << path;
    f.window->GenerateRun();
    const auto messages = f.dialogs.callsOf(QStringLiteral("message"));
    QCOMPARE(messages.size(), 1);
    QCOMPARE(messages.first().icon, Dialogs::Icon::Critical);
    QVERIFY(messages.first().text.contains(QDir::toNativeSeparators(path)));
    QVERIFY(messages.first().text.contains(QStringLiteral("unchanged")));
    QCOMPARE(test::readFile(notAFolder), QByteArray("precious"));
}

void TestGenerateRun::selIndexEndsOnTheLastEncodedElement()
{
    OwnDb db({{QStringLiteral("m"), "*ay*A: 00 00;\r\n*cw*B: 00 00;\r\n*tpa*C: 00 00;\r\n"}});
    WindowFixture f(db.db());
    f.model().SelIndex = 8;
    f.dialogs.saveAnswers << db.out(QStringLiteral("p.vkp"));
    f.window->GenerateRun();
    QCOMPARE(f.model().SelIndex, std::int16_t(11));
}

void TestGenerateRun::generateUsesTheSelectedModel()
{
    OwnDb db({{QStringLiteral("a"), "from a\r\n"}, {QStringLiteral("b"), "from b\r\n"}});
    WindowFixture f(db.db());
    f.combo("Combo1")->setCurrentIndex(1);
    const QString path = db.out(QStringLiteral("p"));
    f.dialogs.saveAnswers << path; // no extension is added
    f.window->GenerateRun();
    QCOMPARE(test::readFile(path), QByteArray("from b\r\n"));
}

QTEST_MAIN(TestGenerateRun)
#include "tst_generaterun.moc"
