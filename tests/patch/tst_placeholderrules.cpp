#include "codec.h"
#include "layoutreader.h"
#include "memoryrun.h"
#include "patchlanguage.h"

#include <QtTest>

#include <cmath>
#include <cstring>

using namespace jukora;

namespace {

/// A value of its own for every element, so that each placeholder's value
/// shows which element and which value it read.
patch::Layout distinct()
{
    patch::Layout l;
    l.left = {10, 11, 12, 13, 14, 15, 16, 42, 0, 160, 160, 35, 36, 37};
    l.top = {124, 125, 126, 127, 128, 129, 130, 131, 0, 120, 142, 183, 205, 150};
    l.alignment = {0, 0, 0, 0, 0, 0, 0, 0, 0, 2, 1, 0, 1, 2};
    l.coverWidth = 176;
    return l;
}

const char *const kTemplate =
    "; head\r\n*cx*A: 00 00;x\r\n*cy*B: 00 00;y\r\n*ta*C: 00 00;a\r\n*cx*D: 00 00;x\r\n";

/// Every placeholder in search order, with what it writes for distinct():
/// by hand, Left, Top - 24, Left + 80, then the suffix.
const char *const kExpected[][2] = {
    {"cw", "B020"},  {"cy", "6B22"},  {"cx", "2A21"},  {"ex", "0D20"},     {"ey", "6721"},
    {"sx", "1020"},  {"sy", "6A21"},  {"lx", "0F20"},  {"ly", "6921"},     {"aix", "0A20"},
    {"aiy", "6421"}, {"tix", "0B20"}, {"tiy", "6521"}, {"albumx", "0C20"}, {"albumy", "6621"},
    {"jix", "0E20"}, {"jiy", "6821"}, {"ctw", "F0"},   {"ctx", "A022"},    {"cty", "6023"},
    {"cta", "02"},   {"tpx", "A022"}, {"tpy", "7623"}, {"tpa", "01"},      {"tpw", "F0"},
    {"ay", "9F"},    {"ax", "2332"},  {"aa", "00"},    {"ty", "B5"},       {"tx", "2432"},
    {"ta", "01"},    {"aly", "7E"},   {"alx", "2537"}, {"ala", "02"}};

} // namespace

class TestPlaceholderRules : public QObject
{
    Q_OBJECT

private slots:
    void everyPlaceholder_data()
    {
        QTest::addColumn<QByteArray>("placeholder");
        QTest::addColumn<QByteArray>("value");
        for (const auto &row : kExpected)
            QTest::newRow(row[0]) << "*" + QByteArray(row[0]) + "*" << QByteArray(row[1]);
    }
    void everyPlaceholder()
    {
        QFETCH(QByteArray, placeholder);
        QFETCH(QByteArray, value);
        const test::MemoryRun m(placeholder + "ABCDEF: 11 11 ;comment", distinct());
        QCOMPARE(m.bytes(), "ABCDEF: 11 " + value + ";comment\r\n");
    }
    void rulesAreTheTablesOfTestsAndGuide()
    {
        // The rules, the table above and the users' guide list the same
        // placeholders in the same order.
        QStringList rules, tested, guide;
        for (const patch::PlaceholderRule &rule : patch::kRules)
            rules << QString::fromUtf8(rule.placeholder.data(), qsizetype(rule.placeholder.size()));
        for (const auto &row : kExpected)
            tested << "*" + QString::fromLatin1(row[0]) + "*";
        QFile file(QString::fromLocal8Bit(qgetenv("JUKORA_SOURCE_DIR")) + "/docs/templates.md");
        QVERIFY(file.open(QIODevice::ReadOnly));
        static const QRegularExpression row(QStringLiteral("^\\| `(\\*[a-z]+\\*)` \\|"));
        for (const QString &line : QString::fromUtf8(file.readAll()).split(u'\n')) {
            if (const auto match = row.match(line); match.hasMatch())
                guide << match.captured(1);
        }
        QCOMPARE(tested, rules);
        QCOMPARE(guide, rules);
    }
    void everyByteReadsBack()
    {
        // Each of the 256 bytes a patch can hold gives back a value that the
        // rule writes as that byte again (an alignment only as its codes).
        using patch::ValueKind;
        for (const ValueKind kind : {ValueKind::X, ValueKind::Y, ValueKind::RightEdge,
                                     ValueKind::Width, ValueKind::Alignment}) {
            const auto &rule = *std::find_if(patch::kRules.begin(), patch::kRules.end(),
                                             [&](const auto &r) { return r.kind == kind; });
            const auto at = static_cast<std::size_t>(rule.element);
            for (int byte = 0; byte < (kind == ValueKind::Alignment ? 3 : 256); ++byte) {
                const float value = patch::decodeValue(kind, byte);
                patch::Layout l; // the value goes where the layout reader puts it
                (kind == ValueKind::Y ? l.top[at] : l.left[at]) = value;
                l.coverWidth = value;
                l.alignment[at] = int(value);
                const std::string written =
                    patch::encodeValue(kind, patch::ruleValue(rule, patch::LayoutQuery(l)));
                QCOMPARE(patch::parseHex(written), std::optional<std::uint64_t>(byte));
                QCOMPARE(written.size(), std::size_t(2));
            }
        }
    }
    void lines_data()
    {
        // A value is the cover's Left, Top and width and the track number's
        // Left; else distinct(). An empty output: the line is refused.
        QTest::addColumn<QByteArray>("input");
        QTest::addColumn<float>("value");
        QTest::addColumn<QByteArray>("expected");
        auto row = [](const char *name, const QByteArray &in, const QByteArray &out,
                      float v = NAN) { QTest::newRow(name) << in << v << out; };
        row("a whole line", "*cx*1A2B3C: 0721 0721 ;cover x", "1A2B3C: 0721 2A21;cover x\r\n");
        row("placeholder in the comment", "08A3F0: 00 00 ;see *cx*", "F0: 00 2A21;see *cx*\r\n");
        // Two placeholders in a line: the table's order decides, not the line's.
        row("aix before ax", "*aix*AB12: 00 00;*ax*", "AB12: 00 0A20;*ax*\r\n");
        row("ax first in the line", "*ax*AB12: 00 00;*aix*", "B12: 00 0A20;*aix*\r\n");
        row("upper case is no placeholder", "*CX*C0: 00 00;x", "*CX*C0: 00 00;x\r\n");
        // The line's form.
        row("two spaces make field 1 empty", "*cx*12:  00 ;c", "12:  2A21;c\r\n");
        row("after a second semicolon dropped", "*cx*12: 00 00;a b;gone", "12: 00 2A21;a b\r\n");
        row("own new value dropped", "*cx*12: 07 FF EE DD;x", "12: 07 2A21;x\r\n");
        row("cut by count", "*cx*\t12: 07 07;x", "\t12: 07 2A21;x\r\n");
        row("field 0 just the placeholder", "*cx* 07 07;x", " 07 2A21;x\r\n");
        // Line ends: CR LF, a lone CR and a lone LF each end a line.
        row("lone CR and LF", "a\rb\n*cx*A: 00 00;c", "a\r\nb\r\nA: 00 2A21;c\r\n");
        row("LF CR is two ends, empty lines kept", "a\n\rb\r\n\r\n", "a\r\n\r\nb\r\n\r\n");
        row("8-bit bytes, tabs, trailing spaces", "*cx*\xC4\xFF: \x80 00 ;\xE9t\t \r\n\x01\xA0\t ",
            "\xC4\xFF: \x80 2A21;\xE9t\t \r\n\x01\xA0\t \r\n");
        // Rounding half to even, low 8 bits, single precision.
        row("93.4 down", "*cx*A: 0 0;", "A: 0 5D21;\r\n", 93.4f);
        row("93.6 up", "*cx*A: 0 0;", "A: 0 5E21;\r\n", 93.6f);
        row("12.5 to even", "*cx*A: 0 0;", "A: 0 0C21;\r\n", 12.5f);
        row("13.5 to even", "*cx*A: 0 0;", "A: 0 0E21;\r\n", 13.5f);
        row("top 24.5 to even", "*cy*A: 0 0;", "A: 0 0022;\r\n", 24.5f);
        row("top 23 wraps", "*cy*A: 0 0;", "A: 0 FF22;\r\n", 23.f);
        row("top 25.5 to even", "*cy*A: 0 0;", "A: 0 0222;\r\n", 25.5f);
        row("top 300 past the screen wraps", "*cy*A: 0 0;", "A: 0 1422;\r\n", 300.f);
        row("left 255", "*cx*A: 0 0;", "A: 0 FF21;\r\n", 255.f);
        row("left 256 wraps", "*cx*A: 0 0;", "A: 0 0021;\r\n", 256.f);
        row("left -300 wraps", "*cx*A: 0 0;", "A: 0 D421;\r\n", -300.f);
        row("right edge 176 + 80 wraps", "*ctw*A: 0 0;", "A: 0 00;\r\n", 176.f);
        // 80 + 0.50000006 is 80.5 in single precision (even: 80), 81 in double.
        row("right edge in single precision", "*ctw*A: 0 0;", "A: 0 50;\r\n",
            std::nextafter(0.5f, 1.0f));
        row("width 15 padded", "*cw*A: 0 0;", "A: 0 0F20;\r\n", 15.f);
        row("width 16", "*cw*A: 0 0;", "A: 0 1020;\r\n", 16.f);
        row("width 255", "*cw*A: 0 0;", "A: 0 FF20;\r\n", 255.f);
        row("width 255.5 rounds to 256", "*cw*A: 0 0;", "", 255.5f);
    }
    void lines()
    {
        QFETCH(QByteArray, input);
        QFETCH(float, value);
        QFETCH(QByteArray, expected);
        patch::Layout l = distinct();
        if (!std::isnan(value))
            l.left[patch::AlbumCover] = l.top[patch::AlbumCover] = l.left[patch::TrackNumber] =
                l.coverWidth = value;
        const test::MemoryRun m(input, l);
        QCOMPARE(m.bytes(), expected);
        QCOMPARE(m.run.check.badCoverWidth().has_value(), expected.isEmpty());
    }
    void readingDependsOnlyOnEachAddressesOrder()
    {
        // A template line takes the next patch line at its own address, in
        // whatever order the patch has its addresses.
        const std::string templ = "*cx*A: 00 00;x\r\n*cy*B: 00 00;y\r\n*ty*C: 00 00;t\r\n";
        const test::MemoryRun m(QByteArray::fromStdString(templ), distinct());
        std::vector<std::string> lines;
        patch::forEachLine(m.patch, [&](std::string_view line) { lines.emplace_back(line); });
        std::string reversed;
        for (auto line = lines.rbegin(); line != lines.rend(); ++line)
            reversed += *line + "\r\n";
        std::string why;
        const auto written = test::readLayout(templ, m.patch, &why);
        const auto backwards = test::readLayout(templ, reversed, &why);
        QVERIFY2(written && backwards, why.c_str());
        QCOMPARE(backwards->left, written->left);
        QCOMPARE(backwards->top, written->top);
        QCOMPARE(written->top[patch::TitleLabel], distinct().top[patch::TitleLabel]);
    }
    void checkFindsEveryProblem()
    {
        patch::Layout l;
        l.left[patch::PlayTime] = 190; // play time right edge 270: off the byte
        l.top[patch::AlbumCover] = 20; // cover Y -4
        QByteArray text = "; first\r\n*cx*12:0707;x\r\n*cx*12: 07 07\r\nA *albumx* 07;x\r\n";
        text += QByteArray("*tpw*A: 00 00;\r\n*cy*B: 00 00;\r\n").repeated(3);
        text += QByteArray("*cx*D\r\n").repeated(60);
        const test::MemoryRun m(text, l, 50);
        const auto &check = m.run.check;
        const auto &bad = check.malformed();
        QCOMPARE(check.malformedCount(), std::size_t(63));
        QCOMPARE(bad.size(), std::size_t(50));
        QCOMPARE(bad[0].lineNumber, std::size_t(2));
        QCOMPARE(bad[2].placeholder, std::string("*albumx*"));
        QCOMPARE(bad[3].lineNumber, std::size_t(11));
        // Positions off the byte, once per placeholder, with what would be written.
        QCOMPARE(check.outOfRange().size(), std::size_t(2));
        QCOMPARE(patch::describe(check.outOfRange()[0]),
                 "play time right edge: 270, written as 0E");
        QCOMPARE(check.outOfRange()[1].written, std::string("FC"));
    }
    void refused_data()
    {
        QTest::addColumn<QByteArray>("patch");
        QTest::addColumn<QString>("says");
        QTest::newRow("not hex")
            << QByteArray("A: 00 2A21;x\r\nB: 00 G122;y\r\n")
            << "line 2 (*cy*, address B:): the value \"G122\" is not a byte in hex";
        QTest::newRow("other suffix") << QByteArray("B: 00 1020;y\r\n") << "should end in \"22\"";
        QTest::newRow("one digit") << QByteArray("C: 00 2;a\r\n") << "\"2\" is not a byte in hex";
        QTest::newRow("alignment 03") << QByteArray("C: 00 03;a\r\n") << "no alignment";
        QTest::newRow("two values for one") << QByteArray("A: 00 2A21;x\r\nD: 00 2B21;x\r\n")
                                            << "another line gives this value as 42";
        QTest::newRow("nothing matches") << QByteArray("Z: 00 2A21;x\r\n") << "none of the patch";
        QTest::newRow("empty patch") << QByteArray() << "none of the patch";
    }
    void refused()
    {
        QFETCH(QByteArray, patch);
        QFETCH(QString, says);
        std::string error;
        QVERIFY(!test::readLayout(kTemplate, patch.toStdString(), &error));
        QVERIFY2(QString::fromStdString(error).contains(says), error.c_str());
    }
    void rightEdgeGivesLeftWhereNoX()
    {
        std::string error;
        const auto layout = test::readLayout(
            "*tpw*A: F0 F0;r\r\n*ctw*B: F0 F0;r\r\n*ctx*C: A022 A022;x\r\n*cy*D: 00 00;y\r\n",
            "A: F0 C8;r\r\nB: F0 F0;r\r\nC: A022 1022;x\r\nD: 00 FF22;y\r\n", &error);
        QVERIFY2(layout, error.c_str());
        QCOMPARE(*layout->left[patch::PlayTime], 120.f);   // 200 - 80
        QCOMPARE(*layout->left[patch::TrackNumber], 16.f); // its X wins over its right edge
        QCOMPARE(*layout->top[patch::AlbumCover], 279.f);  // 255 + 24
    }
    void patchLanguage_data()
    {
        // A text a patcher takes, and one it rejects or misreads with the
        // finding "LINE: reason" (its start).
        QTest::addColumn<QByteArray>("sound");
        QTest::addColumn<QByteArray>("wrong");
        QTest::addColumn<QString>("finding");
        const auto row = [](const char *name, const char *sound, const char *wrong,
                            const char *finding) {
            QTest::newRow(name) << QByteArray(sound) << QByteArray(wrong) << finding;
        };
        row("colon after the address", "1A2B3C: 0721 2A21", "1A2B3C 0721 2A21",
            "1: no colon after the address \"1A2B3C\"");
        row("old data may be left out", "1A2B3C: 2A21\r\n1A2B3E:2A21",
            "1A2B3C:", "1: no data after the address");
        row("hex digit pairs", "A0: 00 01\r\nA0: 0a 0B", "A0: 00 01\r\nA0: 000 001",
            "2: the data \"000\" has an odd number of hex digits");
        row("hex digits only", "A0: 00 01", "A0: 0G 01", "1: the data \"0G\" is not hex");
        row("old data no shorter than new", "A0: 0000 01", "A0: 00 0102",
            "1: the old data (1 byte) is shorter than the new data (2 bytes)");
        row("old and new data only", "A0: 00 01 ;02", "A0: 00 01 02",
            "1: more than old and new data after the address");
        row("address of at most 8 digits", "A0000000: 00 01", "A00000000: 00 01",
            "1: the address \"A00000000\" has more than 8 hex digits");
        row("address in hex", "a0: 00 01", "A0X0: 00 01", "1: the address \"A0X0\" is not hex");
        row("offset of at most 8 digits", "+A0000000\r\n+0", "+A00000000\r\n+0",
            "1: the offset \"+A00000000\" has more than 8 hex digits");
        row("offset in hex", "-10\r\n+0", "-1G\r\n+0", "1: the offset \"-1G\" is not hex");
        row("offset alone on its line", "+10 ; base\r\n+0", "+10 20\r\n+0",
            "1: an offset line holds the offset alone");
        row("offset taken back by the end", "+A0000000\r\nA0: 00 01\r\n-A0000000",
            "+A0000000\r\nA0: 00 01\r\n-A0000001", "3: this offset is still in force");
        row("offset ended by +0", "-10\r\n+20\r\n+0", "+0\r\n-10",
            "2: this offset is still in force");
        row("line comments", "; a: b\r\n// c d\r\nA0: 00 01 // e\r\nA0: 00 01;f", "A0: 00 01 / e",
            "1: the data \"/\" is not hex");
        row("block comments", "/* a\r\nb */ A0: /* c */ 00 01\r\n/**/", "A0: 00 01\r\n/* a\r\nb *",
            "2: the block comment opened here is never closed");
        row("blank lines", "\r\n  \t\r\n", "x", "1: \"x\" starts no patch line");
        row("pragmas", "#pragma enable old_equal_ff\r\n#pragma disable old_equal_ff",
            "#pragma once", "1: a directive is \"#pragma enable NAME\"");
        row("pragma with a name", "#pragma disable warn\r\n#pragma enable warn", "#pragma disable",
            "1: a directive is");
        row("pragma switched back by the end",
            "#pragma disable a\r\n#pragma enable a\r\n#pragma disable a\r\n#pragma enable a",
            "#pragma disable a\r\n#pragma enable a\r\n#pragma disable a",
            "3: #pragma disable a is still in force");
    }
    void patchLanguage()
    {
        QFETCH(QByteArray, sound);
        QFETCH(QByteArray, wrong);
        QFETCH(QString, finding);
        QCOMPARE(QString::fromStdString(patch::patchLanguageFindings(sound.toStdString())),
                 QString());
        const QString found =
            QString::fromStdString(patch::patchLanguageFindings(wrong.toStdString()));
        QVERIFY2(found.startsWith(finding), qPrintable(found));
        QCOMPARE(found.count('\n'), 1);
    }
    void placeholderLinesAreJudgedAsWritten_data()
    {
        QTest::addColumn<QByteArray>("templ");
        QTest::addColumn<QString>("warning"); // empty: none
        // Three data after the address in the template, two in the patch.
        QTest::newRow("what is dropped") << QByteArray("*tpw*1A0: F0 F0 F0 F0;r") << QString();
        QTest::newRow("what stays")
            << QByteArray("*ala*1A0 00 00;a") << "no colon after the address \"1A0\"";
        QTest::newRow("inside a block comment")
            << QByteArray("/*\r\n*ala*1A0 00 00;a\r\n*/") << QString();
    }
    void placeholderLinesAreJudgedAsWritten()
    {
        QFETCH(QByteArray, templ);
        QFETCH(QString, warning);
        const test::MemoryRun m(templ, distinct());
        const auto &warnings = m.run.check.warnings();
        QCOMPARE(warnings.size(), std::size_t(warning.isEmpty() ? 0 : 1));
        if (!warning.isEmpty())
            QCOMPARE(QString::fromStdString(warnings.front().what), warning);
    }
};

QTEST_GUILESS_MAIN(TestPlaceholderRules)
#include "tst_placeholderrules.moc"
