#include "commandline.h"
#include "testfiles.h"

#include <QTextStream>
#include <QtTest>

using namespace jukora;

class TestCommandLine : public QObject
{
    Q_OBJECT

private slots:
    void chooseCommandLine_data()
    {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<bool>("cli");
        QTest::newRow("nothing") << QStringList() << false;
        QTest::newRow("Qt's own option") << QStringList{"-platform", "offscreen"} << false;
        QTest::newRow("after Qt's option") << QStringList{"-style", "fusion", "-v"} << true;
        QTest::newRow("Qt's word holding v and h")
            << QStringList{"-reverse", "-graphicssystem"} << false;
        QTest::newRow("firmware alone") << QStringList{"--firmware=image.bin"} << true;
        QTest::newRow("a patch to open") << QStringList{"layout.vkp"} << false;
    }
    void chooseCommandLine()
    {
        QFETCH(QStringList, args);
        QFETCH(bool, cli);
        QCOMPARE(cli::wantsCommandLine(QStringList{"jukora-patch-editor"} + args), cli);
    }
    void everyOptionIsInTheManual()
    {
        // An option declared is listed by --help; the manual page, which a
        // declaration cannot write, must describe it too.
        QString help, ignored;
        QTextStream out(&help), err(&ignored);
        QCOMPARE(cli::run({"jukora-patch-editor", "--help"}, {}, out, err), 0);
        QFile manual(test::sourceDir() + "/dist/jukora-patch-editor.1");
        QVERIFY(manual.open(QIODevice::ReadOnly));
        const QString page = QString::fromUtf8(manual.readAll());
        static const QRegularExpression option(QStringLiteral("--([a-z-]+)"));
        int listed = 0;
        for (const QString &line : help.split(u'\n')) {
            const auto match = option.match(line);
            if (!line.startsWith(QStringLiteral("  -")) || !match.hasMatch())
                continue;
            ++listed;
            // An entry of its own, under .TP
            const QString name = "--" + match.captured(1);
            const QString roff = QRegularExpression::escape(QString(name).replace(u'-', "\\-"));
            QVERIFY2(
                QRegularExpression("\\.TP\n\\.B[IR]? [^\n]*" + roff + "\\b").match(page).hasMatch(),
                qPrintable(name));
        }
        QVERIFY(listed >= 11);
        // An example of each job, in both.
        for (const QString job : {"mine.vkp", "--check", "--firmware", "--generate"}) {
            const QString roff = QRegularExpression::escape(QString(job).replace(u'-', "\\-"));
            QVERIFY2(help.contains(QRegularExpression("\n  jukora-patch-editor [^\n]*" + job)) &&
                         page.contains(
                             QRegularExpression("\njukora\\\\-patch\\\\-editor [^\n]*" + roff)),
                     qPrintable(job));
        }
    }
    void run_data()
    {
        // %1 stands for the scratch program folder. "out" is a part of standard
        // output, or all of it after "="; "err" a part of standard error;
        // "patch" what out.vkp (at first "old") holds afterwards.
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<int>("status");
        QTest::addColumn<QString>("out");
        QTest::addColumn<QString>("err");
        QTest::addColumn<QByteArray>("patch");
        const QString noSemi = QStringLiteral("no \";\" to start the comment");
        const QStringList gen{"--generate", "--output", "%1/out.vkp", "--layout"};
        auto row = [](const char *name, const QStringList &args, int status, const QString &out,
                      const QString &err, const QByteArray &patch = "old") {
            QTest::newRow(name) << args << status << out << err << patch;
        };
        row("no job", {"--allow-wrap"}, 2, "=", "give either --check or --generate");
        row("every help option --help lists", {"--help-all"}, 0, "--generate", "");
        row("check without files", {"--check"}, 2, "=", "at least one template");
        row("generate's option", {"--check", "--output", "x", "a"}, 2, "=", "--output belongs to");
        row("no output", {"--generate", "--model", "N", "--layout", "a"}, 2, "=", "needs --output");
        row("sound: every line end, last unterminated", {"--check", "%1/sound.txt"}, 0, "=", "");
        row("problems, numbered as Generate counts lines", {"--check", "%1/bad.txt"}, 1,
            "=%1/bad.txt:2: error: *cy*: " + noSemi +
                "\n%1/bad.txt:3: error: *tx*: no space after the address, so there is no old "
                "value\n",
            "");
        row("every line listed", {"--check", "%1/many.txt"}, 1, "%1/many.txt:51: error:", "");
        row("unreadable among others", {"--check", "%1/none.txt", "%1/bad.txt", "%1/sound.txt"}, 2,
            "%1/bad.txt:3: error:", "%1/none.txt: error: cannot be read: ");
        row("generate", gen + QStringList{"%1/n.vkp", "--model", "N"}, 0, "=", "",
            "1A0: 6B21 0721;x\r\n;plain\r\n");
        row("layout whose last line has no line end",
            gen + QStringList{"%1/end.vkp", "--model", "N"}, 0, "=", "",
            "1A0: 6B21 0A21;x\r\n;plain\r\n");
        row("model in another case", gen + QStringList{"%1/n.vkp", "--model", "n"}, 0, "=", "",
            "1A0: 6B21 0721;x\r\n;plain\r\n");
        row("other model's patch", gen + QStringList{"%1/n.vkp", "--model", "W"}, 1, "=",
            "does not match that template");
        row("malformed template", gen + QStringList{"%1/n.vkp", "--model", "M"}, 1,
            "=%1/DB/M.txt:2: error: *cy*: " + noSemi + "\n", "No patch was written");
        row("position off the byte", gen + QStringList{"%1/w.vkp", "--model", "W"}, 1, "=",
            "  track number right edge: 280, written as 18\nGive --allow-wrap");
        row("allowed to wrap", gen + QStringList{"%1/w.vkp", "--model", "W", "--allow-wrap"}, 0,
            "=", "", "C: A022 C822;x\r\nD: F0 18;r\r\n");
        row("unknown model", gen + QStringList{"%1/n.vkp", "--model", "Q"}, 2, "=",
            "The models are: Ab, aB, F, M, N, W.");
        row("model in a case two have", gen + QStringList{"%1/n.vkp", "--model", "AB"}, 2, "=",
            "\"AB\" could be any of Ab, aB, which differ only in case");
        row("output is the template, through a link",
            {"--generate", "--output", "%1/link.vkp", "--layout", "%1/n.vkp", "--model", "N"}, 2,
            "=", "It is the template the patch is made from");
        row("old values unlike the instruction", {"--check", "%1/odd.txt"}, 0,
            "=%1/odd.txt:1: warning: the old value 6B20 is MOVS R0, but *cx* writes MOVS R1: is "
            "the "
            "address right?\n%1/odd.txt:2: warning: the old value 7047 is BX, but *ax* writes ADDS "
            "R2: "
            "is the address right?\n%1/odd.txt:3: warning: the old value 6B is 1 byte, but *cy* "
            "writes 2 bytes (MOVS R2): appliers refuse a line whose old and new values differ in "
            "length\n%1/odd.txt:4: warning: the old value 0102 is 2 bytes, but *ta* writes 1 byte: "
            "appliers refuse a line whose old and new values differ in length\n%1/odd.txt:5: "
            "warning: the old value 0G is not whole bytes in hex; appliers refuse the line\n"
            "%1/odd.txt:6: warning: the old value 0036 is ADDS R6, but *alx* writes ADDS R7: is "
            "the address right?\n",
            "");
        const QStringList fw{"--firmware", "%1/fw.bin", "--base", "A0000000"};
        row("firmware matches", QStringList{"--check", "%1/DB/F.txt"} + fw, 0,
            "=%1/DB/F.txt:6: warning: no colon after the address \"A000002A\"\n%1/DB/F.txt: 3 "
            "patch "
            "lines checked against %1/fw.bin, 0 do not match\n",
            "");
        row("firmware with one byte changed",
            {"--check", "%1/DB/F.txt", "--firmware", "%1/bad.bin", "--base", "a0000000"}, 1,
            "=%1/DB/F.txt:4: error: old bytes 04 differ from the firmware's 05 at A0000026\n"
            "%1/DB/F.txt:6: warning: no colon after the address \"A000002A\"\n%1/DB/F.txt: 3 patch "
            "lines checked against %1/bad.bin, 1 does not match\n",
            "");
        row("last byte and one past it", QStringList{"--check", "%1/end.txt"} + fw, 1,
            "=%1/end.txt:2: error: the address A000002F lies outside the firmware image, which "
            "holds "
            "A0000000 to A000002F\n%1/end.txt: 2 patch lines checked against %1/fw.bin, 1 does not "
            "match\n",
            "");
        row("generate for other firmware",
            gen + QStringList{"%1/n.vkp", "--model", "F", "--firmware", "%1/bad.bin"}, 1,
            "%1/DB/F.txt:2: error: the address A0000010", "do not match the firmware image");
        // "-X" takes X off the addresses that follow.
        row("an offset taken off", QStringList{"--check", "%1/minus.txt"} + fw, 0,
            "=%1/minus.txt: 1 patch lines checked against %1/fw.bin, 0 do not match\n", "");
        row("generate for this firmware", gen + QStringList{"%1/f.vkp", "--model", "F"} + fw, 0,
            "=%1/DB/F.txt:6: warning: no colon after the address \"A000002A\"\n", "",
            "+A0000000\r\n10: 6B21 0721;x\r\n+A0000004\r\n22: 04 C3;p\r\n+0\r\nA000002A 7F "
            "00\r\n30: 00;new only\r\n");
        row("a layout that fits, an image that does not",
            gen + QStringList{"%1/f.vkp", "--model", "F", "--firmware", "%1/bad.bin", "--base",
                              "A0000000"},
            1, "%1/DB/F.txt:4: error: old bytes 04 differ", "No patch was written");
        row("base without firmware", {"--check", "%1/end.txt", "--base", "0"}, 2, "=",
            "--base goes with --firmware");
        row("output folder missing",
            {"--generate", "--output", "%1/no/out.vkp", "--layout", "%1/n.vkp", "--model", "N"}, 2,
            "=", "the patch could not be written to");
    }
    void run()
    {
        QFETCH(QStringList, args);
        QFETCH(int, status);
        QFETCH(QString, out);
        QFETCH(QString, err);
        QFETCH(QByteArray, patch);
        test::ProgramFolder p(
            {{"M", "*cx*1A0: 6B21 6B21;x\r\n*cy*1A2: 6B22\r\n"},
             {"N", "*cx*1A0: 6B21 6B21;x\r\n;plain"},
             {"Ab", "plain"},
             {"aB", "plain"},
             {"W", "*ctx*C: A022 A022;x\r\n*ctw*D: F0 F0;r\r\n"},
             // Offsets replace each other; a line with only new bytes is
             // not compared.
             {"F", "+A0000000\r\n*cx*10: 6B21 6B21;x\r\n+A0000004\r\n22: 04 C3;p\r\n"
                   "+0\r\nA000002A 7F 00\r\n30: 00;new only\r\n"}});
        QByteArray image(0x30, '\0');
        image.replace(0x10, 2, "\x6B\x21").replace(0x26, 1, "\x04").replace(0x2A, 1, "\x7F");
        test::writeFile(p.file("fw.bin"), image);
        test::writeFile(p.file("bad.bin"), image.replace(0x26, 1, "\x05"));
        test::writeFile(p.file("end.txt"), "A000002F: 00 01\r\nA000002F: 0000 0102\r\n");
        test::writeFile(p.file("odd.txt"), "*cx*A: 6B20 0;x\n*ax*B: 7047 0;x\n*cy*C: 6B 0;x\n"
                                           "*ta*D: 0102 0;x\n*ta*E: 0G 0;x\n*alx*F: 0036 0;x\n");
        test::writeFile(p.file("minus.txt"), "-10\r\nA0000036: 04 C3;p\r\n+0\r\n");
        test::writeFile(p.file("f.vkp"), "10: 6B21 0721;x\r\n");
        test::writeFile(p.file("sound.txt"),
                        "*cx*1A0: 6B21 6B21;a\r\n;plain\n*cy*1A2: 6B22 0;b\r*ax*4: 0032 0;");
        test::writeFile(p.file("bad.txt"), ";plain\r*cy*1A2: 6B21\n*tx*1A0:");
        test::writeFile(p.file("many.txt"), QByteArray("*cx*1A0\n").repeated(51));
        test::writeFile(p.file("n.vkp"), "1A0: 6B21 0721;x\r\n");
        test::writeFile(p.file("end.vkp"), "1A0: 6B21 0A21;x");
        test::writeFile(p.file("w.vkp"), "C: A022 C822;x\r\n");
        test::writeFile(p.file("out.vkp"), "old");
        QVERIFY(QFile::link(p.templ("N"), p.file("link.vkp")));
        // "%1" stands for the folder; QString::arg would warn where it is not.
        const auto here = [&](QString text) {
            return text.replace(QStringLiteral("%1"), p.dir.path());
        };
        for (QString &arg : args)
            arg = here(arg);

        QString gotOut, gotErr;
        QTextStream outStream(&gotOut), errStream(&gotErr);
        const int got =
            cli::run(QStringList{"jukora-patch-editor"} + args, {p.db()}, outStream, errStream);
        QCOMPARE(got, status);
        out = here(out);
        if (out.startsWith(u'='))
            QCOMPARE(gotOut, out.mid(1));
        else
            QVERIFY_CONTAINS(gotOut, out);
        QVERIFY_CONTAINS(gotErr, here(err));
        QCOMPARE(err.isEmpty(), gotErr.isEmpty());
        QCOMPARE(test::readFile(p.file("out.vkp")), patch);
        // Nothing is left behind beside the files the test made.
        QCOMPARE(QDir(p.dir.path()).entryList(QDir::Files | QDir::Hidden).size(), 14);
        QCOMPARE(test::readFile(p.templ("N")), QByteArray("*cx*1A0: 6B21 6B21;x\r\n;plain"));
    }
};

QTEST_GUILESS_MAIN(TestCommandLine)
#include "tst_commandline.moc"
