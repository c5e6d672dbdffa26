#include "commandline.h"
#include "windowfixture.h"

#include <QTemporaryDir>
#include <QTextStream>
#include <QtTest>

using namespace jukora;
using test::WindowFixture;

namespace {

struct Result
{
    int status = -1;
    QString out;
    QString err;
};

Result runCli(const QStringList &options, const QString &folder = {})
{
    Result r;
    QTextStream out(&r.out);
    QTextStream err(&r.err);
    const QString db = folder.isEmpty() ? test::sourceDir() + QStringLiteral("/DB") : folder;
    r.status = cli::run(QStringList{QStringLiteral("jukora-patch-editor")} + options, db, out, err);
    return r;
}

} // namespace

class TestCommandLine : public QObject
{
    Q_OBJECT

private slots:
    void init()
    {
        m_dir = std::make_unique<QTemporaryDir>();
        QVERIFY(m_dir->isValid());
    }

    void chooseCommandLine_data();
    void chooseCommandLine();
    void usage_data();
    void usage();
    void check_data();
    void check();
    void checkListsEveryLine();
    void checkUnreadable();
    void roundTripFromWindowPatch_data();
    void roundTripFromWindowPatch();
    void otherModelRefused();
    void wrapNeedsPermission();
    void malformedTemplateRefused();
    void generateFailures_data();
    void generateFailures();

private:
    QString path(const char *name) const { return m_dir->filePath(QString::fromLatin1(name)); }
    std::unique_ptr<QTemporaryDir> m_dir;
};

void TestCommandLine::chooseCommandLine_data()
{
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<bool>("cli");
    QTest::newRow("no arguments") << QStringList() << false;
    QTest::newRow("Qt's own option") << QStringList{"-platform", "offscreen"} << false;
    QTest::newRow("a file name") << QStringList{"patch.vkp"} << false;
    QTest::newRow("check") << QStringList{"--check", "a.txt"} << true;
    QTest::newRow("option with =") << QStringList{"--model=N3"} << true;
    QTest::newRow("longer name") << QStringList{"--checker"} << false;
    QTest::newRow("after Qt's option") << QStringList{"-style", "fusion", "-v"} << true;
}

void TestCommandLine::chooseCommandLine()
{
    QFETCH(QStringList, args);
    QFETCH(bool, cli);
    QList<QByteArray> bytes{"jukora-patch-editor"};
    for (const QString &a : args)
        bytes << a.toLocal8Bit();
    QList<const char *> argv;
    for (const QByteArray &b : bytes)
        argv << b.constData();
    QCOMPARE(cli::wantsCommandLine(int(argv.size()), argv.constData()), cli);
}

void TestCommandLine::usage_data()
{
    QTest::addColumn<QStringList>("options");
    QTest::addColumn<int>("status");
    QTest::addColumn<QString>("out");
    QTest::addColumn<QString>("err");
    QTest::newRow("help") << QStringList{"--help"} << 0 << "--generate"
                          << "";
    QTest::newRow("version") << QStringList{"--version"} << 0 << "jukora-patch-editor 1."
                             << "";
    QTest::newRow("no job") << QStringList{"--allow-wrap"} << 2 << ""
                            << "give either --check or --generate";
    QTest::newRow("both jobs") << QStringList{"--check", "--generate", "a"} << 2 << ""
                               << "give either --check or --generate";
    QTest::newRow("check without files") << QStringList{"--check"} << 2 << ""
                                         << "at least one template";
    QTest::newRow("check with generate's option")
        << QStringList{"--check", "--output", "x", "a.txt"} << 2 << ""
        << "--output belongs to";
    QTest::newRow("generate without output")
        << QStringList{"--generate", "--model", "Novo N3", "--layout", "a.vkp"} << 2 << ""
        << "needs --output";
    QTest::newRow("generate with a file")
        << QStringList{"--generate", "--model", "N", "--layout", "a", "--output", "b", "c"} << 2
        << ""
        << "takes no file names";
    QTest::newRow("unknown option") << QStringList{"--check", "--bogus", "a"} << 2 << ""
                                    << "Unknown option 'bogus'";
}

void TestCommandLine::usage()
{
    QFETCH(QStringList, options);
    QFETCH(int, status);
    QFETCH(QString, out);
    QFETCH(QString, err);
    const Result r = runCli(options);
    QCOMPARE(r.status, status);
    QVERIFY2(r.out.contains(out), qPrintable(r.out));
    QVERIFY2(r.err.contains(err), qPrintable(r.err));
    if (status != 0)
        QVERIFY2(r.err.contains(QStringLiteral("--help' for more")), qPrintable(r.err));
    else
        QVERIFY(r.err.isEmpty());
}

void TestCommandLine::check_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("expected"); // %1 stands for the file
    QTest::addColumn<int>("status");
    const QString noComment = QStringLiteral("no \";\" to start the comment");
    const QString noSpace = QStringLiteral("no space after the address, so there is no old value");
    const QString noAddress =
        QStringLiteral("the first field is shorter than the placeholder, so there is no address");
    QTest::newRow("empty") << QByteArray() << "" << 0;
    QTest::newRow("sound, every line end, last line unterminated")
        << QByteArray("*cx*1A0 6B20 6B20;a\r\nplain\n*cy*1A2 6B21;b\r*ax*1A4 00;c") << "" << 0;
    QTest::newRow("line numbers across lone CR and LF")
        << QByteArray("a\rb\nc\r\n*cx*1A0 6B20\r\n") << "%1:4: error: *cx*: " + noComment << 1;
    QTest::newRow("last line unterminated and malformed")
        << QByteArray("plain\r\n*tx*1A0") << "%1:2: error: *tx*: " + noSpace << 1;
    QTest::newRow("field 0 exactly the placeholder") << QByteArray("*cx* 6B20;c") << "" << 0;
    QTest::newRow("field 0 one shorter")
        << QByteArray("x *cx*;c") << "%1:1: error: *cx*: " + noAddress << 1;
    QTest::newRow("two problems, in order")
        << QByteArray("*cx*1A0 6B20\n*ay*1A2;c\n")
        << "%1:1: error: *cx*: " + noComment + "\n%1:2: error: *ay*: " + noSpace << 1;
}

void TestCommandLine::check()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QString, expected);
    QFETCH(int, status);
    const QString file = path("t.txt");
    test::writeFile(file, bytes);
    const Result r = runCli({QStringLiteral("--check"), file});
    QCOMPARE(r.out, expected.isEmpty() ? QString() : expected.arg(file) + QLatin1Char('\n'));
    QCOMPARE(r.err, QString());
    QCOMPARE(r.status, status);
}

void TestCommandLine::checkListsEveryLine()
{
    // The window lists fifty and counts the rest; the command line lists all.
    QByteArray bytes;
    for (int i = 0; i < 51; ++i)
        bytes += "*cx*1A0\n";
    const QString file = path("many.txt");
    test::writeFile(file, bytes);
    const Result r = runCli({QStringLiteral("--check"), file});
    QCOMPARE(r.status, 1);
    QCOMPARE(r.out.count(QLatin1Char('\n')), 51);
    QVERIFY(r.out.endsWith(file + QStringLiteral(":51: error: *cx*: no space after the address, "
                                                 "so there is no old value\n")));
}

void TestCommandLine::checkUnreadable()
{
    const QString bad = path("bad.txt");
    test::writeFile(bad, "*cx*1A0\n");
    const QString good = test::sourceDir() + QStringLiteral("/DB/Novo N3.txt");
    const QString missing = path("missing.txt");
    // Every file is checked; one that cannot be read decides the status.
    const Result r = runCli({QStringLiteral("--check"), missing, bad, good, m_dir->path()});
    QCOMPARE(r.status, 2);
    QCOMPARE(r.out.count(QLatin1Char('\n')), 1);
    QVERIFY(r.out.startsWith(bad + QStringLiteral(":1: error:")));
    const QStringList errors = r.err.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    QCOMPARE(errors.size(), 2);
    QVERIFY2(errors[0].startsWith(missing + QStringLiteral(": error: cannot be read: ")),
             qPrintable(errors[0]));
    QVERIFY2(errors[1].startsWith(m_dir->path() + QStringLiteral(": error: cannot be read: ")),
             qPrintable(errors[1]));
}

void TestCommandLine::roundTripFromWindowPatch_data()
{
    QTest::addColumn<QString>("model");
    QTest::addColumn<int>("seed");
    for (const char *model : {"Novo N3", "Novo N5", "orla X1"}) {
        for (int seed : {7, 8})
            QTest::addRow("%s #%d", model, seed) << QString::fromLatin1(model) << seed;
    }
}

void TestCommandLine::roundTripFromWindowPatch()
{
    QFETCH(QString, model);
    QFETCH(int, seed);
    WindowFixture f;
    f.selectModel(model);
    f.randomLayout(seed);
    const QByteArray written = f.generate(path("window.vkp"));
    QVERIFY(written.size() > 100);

    const Result r = runCli({QStringLiteral("--generate"), QStringLiteral("--model"), model,
                             QStringLiteral("--layout"), path("window.vkp"),
                             QStringLiteral("--output"), path("cli.vkp")});
    QCOMPARE(r.err, QString());
    QCOMPARE(r.out, QString());
    QCOMPARE(r.status, 0);
    QCOMPARE(test::readFile(path("cli.vkp")), written);
}

void TestCommandLine::otherModelRefused()
{
    WindowFixture f;
    f.selectModel(QStringLiteral("Novo N3"));
    f.generate(path("n3.vkp"));
    test::writeFile(path("out.vkp"), "old patch");
    const Result r = runCli({"--generate", "--model", "orla X1", "--layout", path("n3.vkp"),
                             "--output", path("out.vkp")});
    QCOMPARE(r.status, 1);
    QVERIFY2(r.err.contains(QStringLiteral("does not match that template")), qPrintable(r.err));
    QVERIFY(r.err.contains(QStringLiteral("No patch was written")));
    QCOMPARE(test::readFile(path("out.vkp")), QByteArray("old patch"));
    QCOMPARE(QDir(m_dir->path()).entryList(QDir::Files).size(), 2); // nothing left behind
}

void TestCommandLine::wrapNeedsPermission()
{
    // The track number at X 200 has its right edge at 280, past a byte: the window
    // asks and was told Yes; the command line needs --allow-wrap for it.
    WindowFixture f;
    f.selectModel(QStringLiteral("Novo N3"));
    f.model().setPosition(patch::TrackNumber, 200, 100);
    const QByteArray wrapped = f.generate(path("wrapped.vkp"));
    QCOMPARE(f.dialogs.callsOf(QStringLiteral("question")).size(), 1);

    const QStringList options{"--generate",        "--model",  "Novo N3",        "--layout",
                              path("wrapped.vkp"), "--output", path("again.vkp")};
    Result r = runCli(options);
    QCOMPARE(r.status, 1);
    QVERIFY2(r.err.contains(QStringLiteral("  track number right edge: 280, written as 18\n")),
             qPrintable(r.err));
    QVERIFY(r.err.contains(QStringLiteral("--allow-wrap")));
    QVERIFY(!QFile::exists(path("again.vkp")));

    r = runCli(options + QStringList{QStringLiteral("--allow-wrap")});
    QCOMPARE(r.status, 0);
    QCOMPARE(test::readFile(path("again.vkp")), wrapped);
}

void TestCommandLine::malformedTemplateRefused()
{
    QDir(m_dir->path()).mkdir(QStringLiteral("DB"));
    test::writeFile(path("DB/M.txt"), "*cx*1A0 6B21 6B21;x\r\n*cy*1A2 6B22\r\n");
    test::writeFile(path("layout.vkp"), "1A0 6B21 0721;x\r\n");
    const Result r = runCli(
        {"--generate", "--model", "M", "--layout", path("layout.vkp"), "--output", path("out.vkp")},
        path("DB"));
    QCOMPARE(r.status, 1);
    QCOMPARE(r.out,
             path("DB/M.txt") + QStringLiteral(":2: error: *cy*: no \";\" to start the comment\n"));
    QVERIFY(r.err.contains(QStringLiteral("No patch was written")));
    QVERIFY(!QFile::exists(path("out.vkp")));
}

void TestCommandLine::generateFailures_data()
{
    QTest::addColumn<QString>("model");
    QTest::addColumn<QString>("layout");
    QTest::addColumn<QString>("output");
    QTest::addColumn<QString>("err");
    const QString golden = test::sourceDir() + QStringLiteral("/tests/data/golden/Novo N3.vkp");
    QTest::newRow("unknown model") << "Novo N9" << golden << "out.vkp"
                                   << "The models are: Novo N3, Novo N5, orla X1.";
    QTest::newRow("missing layout") << "Novo N3"
                                    << "missing.vkp"
                                    << "out.vkp"
                                    << "No such file or directory";
    QTest::newRow("output folder missing") << "Novo N3" << golden << "no/such/out.vkp"
                                           << "the patch could not be written to";
}

void TestCommandLine::generateFailures()
{
    QFETCH(QString, model);
    QFETCH(QString, layout);
    QFETCH(QString, output);
    QFETCH(QString, err);
    if (QFileInfo(layout).isRelative())
        layout = m_dir->filePath(layout);
    const Result r = runCli({QStringLiteral("--generate"), QStringLiteral("--model"), model,
                             QStringLiteral("--layout"), layout, QStringLiteral("--output"),
                             m_dir->filePath(output)});
    QCOMPARE(r.status, 2);
    QVERIFY2(r.err.contains(err), qPrintable(r.err));
    QVERIFY(QDir(m_dir->path()).entryList(QDir::Files).isEmpty());
}

QTEST_MAIN(TestCommandLine)
#include "tst_commandline.moc"
