#include "memoryrun.h"

#include <QtTest>

#include <cmath>

using namespace jukora;

class TestPlaceholderRules : public QObject
{
    Q_OBJECT

private slots:
    void everyPlaceholder_data();
    void everyPlaceholder();
    void lines_data();
    void lines();
    void values_data();
    void values();
    void checkFindsEveryProblem();
};

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

} // namespace

void TestPlaceholderRules::everyPlaceholder_data()
{
    QTest::addColumn<QByteArray>("placeholder");
    QTest::addColumn<QByteArray>("value");
    QTest::addColumn<int>("selIndex");
    // Worked out by hand from distinct(): X is Left, Y is Top - 24, the
    // right edge Left + 80, each as two hex digits, then the suffix; then
    // SelIndex afterwards (it starts at 5, and only X and Y rules move it).
    const char *rows[][3] = {
        {"cw", "B020", "5"},   {"cy", "6B22", "7"},     {"cx", "2A21", "7"},
        {"ex", "0D20", "3"},   {"ey", "6721", "3"},     {"sx", "1020", "6"},
        {"sy", "6A21", "6"},   {"lx", "0F20", "5"},     {"ly", "6921", "5"},
        {"aix", "0A20", "0"},  {"aiy", "6421", "0"},    {"tix", "0B20", "1"},
        {"tiy", "6521", "1"},  {"albumx", "0C20", "2"}, {"albumy", "6621", "2"},
        {"jix", "0E20", "4"},  {"jiy", "6821", "4"},    {"ctw", "F0", "5"},
        {"ctx", "A022", "9"},  {"cty", "6023", "9"},    {"cta", "02", "5"},
        {"tpx", "A022", "10"}, {"tpy", "7623", "10"},   {"tpa", "01", "5"},
        {"tpw", "F0", "5"},    {"ay", "9F", "11"},      {"ax", "2332", "11"},
        {"aa", "00", "5"},     {"ty", "B5", "12"},      {"tx", "2432", "12"},
        {"ta", "01", "5"},     {"aly", "7E", "13"},     {"alx", "2537", "13"},
        {"ala", "02", "5"}};
    for (const auto &row : rows)
        QTest::newRow(row[0]) << "*" + QByteArray(row[0]) + "*" << QByteArray(row[1])
                              << atoi(row[2]);
}

void TestPlaceholderRules::everyPlaceholder()
{
    QFETCH(QByteArray, placeholder);
    QFETCH(QByteArray, value);
    QFETCH(int, selIndex);
    const test::MemoryRun m(placeholder + "ABCDEF: 11 11 ;comment", distinct(), 5);
    QCOMPARE(m.bytes(), "ABCDEF: 11 " + value + ";comment\r\n");
    QCOMPARE(int(m.run.generator.SelIndex), selIndex);
}

void TestPlaceholderRules::lines_data()
{
    QTest::addColumn<QByteArray>("input");
    QTest::addColumn<QByteArray>("expected");
    auto row = [](const char *name, const QByteArray &in, const QByteArray &out) {
        QTest::newRow(name) << in << out;
    };
    row("a whole line", "*cx*1A2B3C: 0721 0721 ;cover x", "1A2B3C: 0721 2A21;cover x\r\n");
    row("no placeholder", "; comment only\r\n1A2B50: 00 01", "; comment only\r\n1A2B50: 00 01\r\n");
    row("placeholder in the comment", "08A3F0: 00 00 ;see *cx*", "F0: 00 2A21;see *cx*\r\n");
    // Two placeholders in a line: the table's order decides, not the line's.
    row("aix before ax", "*aix*AB12: 00 00;*ax*", "AB12: 00 0A20;*ax*\r\n");
    row("ax first in the line", "*ax*AB12: 00 00;*aix*", "B12: 00 0A20;*aix*\r\n");
    row("upper case is no placeholder", "*CX*C0: 00 00;x", "*CX*C0: 00 00;x\r\n");
    // The line's form.
    row("two spaces make field 1 empty", "*cx*12:  00 ;c", "12:  2A21;c\r\n");
    row("no space before the semicolon", "*cx*12: 00 00;c", "12: 00 2A21;c\r\n");
    row("after a second semicolon dropped", "*cx*12: 00 00;a b;gone;too", "12: 00 2A21;a b\r\n");
    row("semicolon last", "*cx*12: 00 00;", "12: 00 2A21;\r\n");
    row("own new value dropped", "*cx*12: 07 FF EE DD;x", "12: 07 2A21;x\r\n");
    row("cut by count", "*cx*\t12: 07 07;x", "\t12: 07 2A21;x\r\n");
    // Line ends: CR LF, a lone CR and a lone LF each end a line.
    row("empty template", "", "");
    row("lone CR", "a\rb\r", "a\r\nb\r\n");
    row("lone LF", "*cx*A: 00 00;c\nb\n", "A: 00 2A21;c\r\nb\r\n");
    row("no terminator on the last line", "a\r\nb", "a\r\nb\r\n");
    row("LF CR is two ends, empty lines kept", "a\n\rb\r\n\r\n", "a\r\n\r\nb\r\n\r\n");
    row("8-bit bytes, tabs, trailing spaces", "*cx*\xC4\xFF: \x80 00 ;\xE9t\t \r\n\x01\xA0\t ",
        "\xC4\xFF: \x80 2A21;\xE9t\t \r\n\x01\xA0\t \r\n");
}

void TestPlaceholderRules::lines()
{
    QFETCH(QByteArray, input);
    QFETCH(QByteArray, expected);
    QCOMPARE(test::MemoryRun(input, distinct()).bytes(), expected);
}

void TestPlaceholderRules::values_data()
{
    // X reads the cover's Left, Y its Top, the right edge the track number's
    // Left and the width the cover's width: all set to `value`. An empty
    // "written" means the line is refused (a cover width that is no byte).
    QTest::addColumn<QByteArray>("placeholder");
    QTest::addColumn<float>("value");
    QTest::addColumn<QByteArray>("written");
    auto row = [](const char *name, const char *placeholder, float value, const char *written) {
        QTest::newRow(name) << QByteArray(placeholder) << value << QByteArray(written);
    };
    row("93.4 down", "*cx*", 93.4f, "5D21");
    row("93.6 up", "*cx*", 93.6f, "5E21");
    row("12.5 to even", "*cx*", 12.5f, "0C21");
    row("13.5 to even", "*cx*", 13.5f, "0E21");
    row("top 24.5 to even", "*cy*", 24.5f, "0022");
    row("top 23 wraps", "*cy*", 23.f, "FF22");
    row("left 255", "*cx*", 255.f, "FF21");
    row("left 256 wraps", "*cx*", 256.f, "0021");
    row("left -300 wraps", "*cx*", -300.f, "D421");
    row("right edge 176 + 80 wraps", "*ctw*", 176.f, "00");
    // In single precision 80 + 0.50000006 is 80.5, which rounds to the even
    // 80; in double it would be 81.
    row("right edge in single precision", "*ctw*", std::nextafter(0.5f, 1.0f), "50");
    row("width 15 padded", "*cw*", 15.f, "0F20");
    row("width 255", "*cw*", 255.f, "FF20");
    row("width 255.5 rounds to 256", "*cw*", 255.5f, "");
}

void TestPlaceholderRules::values()
{
    QFETCH(QByteArray, placeholder);
    QFETCH(float, value);
    QFETCH(QByteArray, written);
    patch::Layout l;
    l.left[7] = l.top[7] = l.left[9] = l.coverWidth = value;
    const test::MemoryRun m(placeholder + "A: 00 00;", l);
    QCOMPARE(m.bytes(), written.isEmpty() ? "" : "A: 00 " + written + ";\r\n");
    QCOMPARE(m.run.check.badCoverWidth().has_value(), written.isEmpty());
}

void TestPlaceholderRules::checkFindsEveryProblem()
{
    patch::Layout l;
    l.left[10] = 190; // play time right edge 270: off the byte
    l.top[7] = 20;    // cover Y -4
    QByteArray text = "; first\r\n*cx*12:0707;x\r\n*cx*12: 07 07\r\nA *albumx* 07;x\r\n";
    text += QByteArray("*tpw*A: 00 00;\r\n*cy*B: 00 00;\r\n").repeated(3);
    text += QByteArray("*cx*D\r\n").repeated(60);
    const test::MemoryRun m(text, l);
    const auto &check = m.run.check;
    QVERIFY(!check.canWrite());
    const auto &bad = check.malformed();
    QCOMPARE(check.malformedCount(), std::size_t(63));
    QCOMPARE(bad.size(), patch::TemplateCheck::kMaxListed);
    QCOMPARE(bad[0].lineNumber, std::size_t(2));
    QCOMPARE(bad[2].placeholder, std::string("*albumx*"));
    QCOMPARE(bad[3].lineNumber, std::size_t(11));
    // Positions off the byte, once per placeholder, with what would be written.
    QCOMPARE(check.outOfRange().size(), std::size_t(2));
    QCOMPARE(patch::describe(check.outOfRange()[0]), "play time right edge: 270, written as 0E");
    QCOMPARE(check.outOfRange()[1].written, std::string("FC"));
}

QTEST_GUILESS_MAIN(TestPlaceholderRules)
#include "tst_placeholderrules.moc"
