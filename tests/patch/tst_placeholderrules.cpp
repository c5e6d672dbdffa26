#include "fakequery.h"
#include "patchgenerator.h"

#include <QtTest>

#include <cmath>
#include <string>

using namespace jukora;

namespace {

QByteArray generate(const QByteArray &templ, const test::FakeQuery &query,
                    std::int16_t selIndex = 0, std::int16_t *selOut = nullptr)
{
    const test::MemoryRun m(templ.toStdString(), query, selIndex);
    if (selOut)
        *selOut = m.run.generator.SelIndex;
    return QByteArray(m.patch.data(), static_cast<qsizetype>(m.patch.size()));
}

/// A value of its own for every element, so that each placeholder's value
/// shows which element and which value it read; the cover, the play time
/// and the album text hold the values of the worked example.
test::FakeQuery layout()
{
    test::FakeQuery q;
    const float lefts[14] = {10, 11, 12, 13, 14, 15, 16, 42, 0, 160, 160, 35, 36, 37};
    const float tops[14] = {124, 125, 126, 127, 128, 129, 130, 131, 0, 120, 142, 183, 205, 150};
    const int aligns[14] = {0, 0, 0, 0, 0, 0, 0, 0, 0, 2, 1, 0, 1, 2};
    for (std::size_t i = 0; i < 14; ++i) {
        q.lefts[i] = lefts[i];
        q.tops[i] = tops[i];
        q.alignments[i] = aligns[i];
    }
    q.width = 176;
    return q;
}

} // namespace

class TestPlaceholderRules : public QObject
{
    Q_OBJECT

private slots:
    void everyPlaceholder_data();
    void everyPlaceholder();
    void lines_data();
    void lines();
    void rounding_data();
    void rounding();
    void singlePrecisionRightEdge();
    void coverWidth_data();
    void coverWidth();
    void checkFindsEveryProblem();
};

void TestPlaceholderRules::everyPlaceholder_data()
{
    QTest::addColumn<QString>("placeholder");
    QTest::addColumn<QString>("value");
    QTest::addColumn<int>("selIndex");

    // Worked out by hand from layout(): X is Left, Y is Top - 24, the right
    // edge Left + 80, each as two hex digits, then the suffix; the third
    // column is SelIndex afterwards (5 where the rule encodes no position).
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
        QTest::newRow(row[0]) << QStringLiteral("*%1*").arg(QLatin1String(row[0]))
                              << QString::fromLatin1(row[1]) << QString::fromLatin1(row[2]).toInt();
}

void TestPlaceholderRules::everyPlaceholder()
{
    QFETCH(QString, placeholder);
    QFETCH(QString, value);
    QFETCH(int, selIndex);
    std::int16_t sel = -1;
    // SelIndex starts at 5: rules that encode no position leave it there.
    const QByteArray out =
        generate(placeholder.toLatin1() + "ABCDEF: 11 11 ;comment", layout(), 5, &sel);
    QCOMPARE(out, ("ABCDEF: 11 " + value + ";comment\r\n").toLatin1());
    QCOMPARE(int(sel), selIndex);
}

void TestPlaceholderRules::lines_data()
{
    QTest::addColumn<QByteArray>("input");
    QTest::addColumn<QByteArray>("expected");
    auto row = [](const char *name, const QByteArray &in, const QByteArray &out) {
        QTest::newRow(name) << in << out;
    };
    // The worked example.
    row("cover x", "*cx*1A2B3C: 0721 0721 ;cover x", "1A2B3C: 0721 2A21;cover x\r\n");
    row("cover size", "*cw*1A2B40: 9620 9620 ;cover size", "1A2B40: 9620 B020;cover size\r\n");
    row("album y", "*aly*1A2C00: CF CF ;album y", "1A2C00: CF 7E;album y\r\n");
    row("time right", "*tpw*1A2C10: F0 F0 ;time right", "1A2C10: F0 F0;time right\r\n");
    row("album align", "*ala*1A2C14: 00 00;album align", "1A2C14: 00 02;album align\r\n");
    row("no placeholder", "; comment only\r\n1A2B50: 00 01", "; comment only\r\n1A2B50: 00 01\r\n");
    row("placeholder in the comment", "08A3F0: 00 00 ;see *cx*", "F0: 00 2A21;see *cx*\r\n");
    // Two placeholders in a line: the table's order decides, not the line's.
    row("aix before ax", "*aix*AB12: 00 00;*ax*", "AB12: 00 0A20;*ax*\r\n");
    row("ax first in the line", "*ax*AB12: 00 00;*aix*", "B12: 00 0A20;*aix*\r\n");
    row("cy before cx", "*cx*C0: 00 00;*cy*", "C0: 00 6B22;*cy*\r\n");
    row("upper case is no placeholder", "*CX*C0: 00 00;x", "*CX*C0: 00 00;x\r\n");
    // The line's form.
    row("two spaces make field 1 empty", "*cx*12:  00 ;c", "12:  2A21;c\r\n");
    row("no space before the semicolon", "*cx*12: 00 00    ;c", "12: 00 2A21;c\r\n");
    row("after a second semicolon dropped", "*cx*12: 00 00;a b;gone;too", "12: 00 2A21;a b\r\n");
    row("semicolon last", "*cx*12: 00 00;", "12: 00 2A21;\r\n");
    row("own new value dropped", "*cx*12: 07 FF EE DD;x", "12: 07 2A21;x\r\n");
    row("cut by count", "*cx*\t12: 07 07;x", "\t12: 07 2A21;x\r\n");
    // Line ends: CR LF, a lone CR and a lone LF each end a line.
    row("empty template", "", "");
    row("CR LF", "a\r\nb\r\n", "a\r\nb\r\n");
    row("lone CR", "a\rb\r", "a\r\nb\r\n");
    row("lone LF", "*cx*A: 00 00;c\nb\n", "A: 00 2A21;c\r\nb\r\n");
    row("no terminator on the last line", "a\r\nb", "a\r\nb\r\n");
    row("LF CR is two ends, empty lines kept", "a\n\rb\r\n\r\n", "a\r\n\r\nb\r\n\r\n");
    // Bytes, not text: 8-bit characters, tabs and trailing spaces stay.
    row("8-bit bytes", "*cx*\xC4\xFF: \x80\x81 00 ;\xE9t\xE9\t \r\n\x01\x7F\xA0\xFE\t ",
        "\xC4\xFF: \x80\x81 2A21;\xE9t\xE9\t \r\n\x01\x7F\xA0\xFE\t \r\n");
}

void TestPlaceholderRules::lines()
{
    QFETCH(QByteArray, input);
    QFETCH(QByteArray, expected);
    QCOMPARE(generate(input, layout()), expected);
}

void TestPlaceholderRules::rounding_data()
{
    QTest::addColumn<QByteArray>("placeholder");
    QTest::addColumn<float>("position");
    QTest::addColumn<QByteArray>("written");
    // X reads the cover's Left, Y its Top, the right edge the track number's Left.
    QTest::newRow("93.4 down") << QByteArray("*cx*") << 93.4f << QByteArray("5D21");
    QTest::newRow("93.6 up") << QByteArray("*cx*") << 93.6f << QByteArray("5E21");
    QTest::newRow("12.5 to even") << QByteArray("*cx*") << 12.5f << QByteArray("0C21");
    QTest::newRow("13.5 to even") << QByteArray("*cx*") << 13.5f << QByteArray("0E21");
    QTest::newRow("top 24.5") << QByteArray("*cy*") << 24.5f << QByteArray("0022");
    QTest::newRow("top 25.5") << QByteArray("*cy*") << 25.5f << QByteArray("0222");
    QTest::newRow("top 23 wraps") << QByteArray("*cy*") << 23.f << QByteArray("FF22");
    QTest::newRow("top 300") << QByteArray("*cy*") << 300.f << QByteArray("1422");
    QTest::newRow("left 255") << QByteArray("*cx*") << 255.f << QByteArray("FF21");
    QTest::newRow("left 256 wraps") << QByteArray("*cx*") << 256.f << QByteArray("0021");
    QTest::newRow("left -300 wraps") << QByteArray("*cx*") << -300.f << QByteArray("D421");
    QTest::newRow("right edge 176+80") << QByteArray("*ctw*") << 176.f << QByteArray("00");
}

void TestPlaceholderRules::rounding()
{
    QFETCH(QByteArray, placeholder);
    QFETCH(float, position);
    QFETCH(QByteArray, written);
    test::FakeQuery query;
    query.lefts[7] = query.tops[7] = query.lefts[9] = position;
    QCOMPARE(generate(placeholder + "A: 00 00;", query), "A: 00 " + written + ";\r\n");
}

void TestPlaceholderRules::singlePrecisionRightEdge()
{
    // Just above one half: in single precision 80 + 0.50000006 is 80.5,
    // which rounds to the even 80 ("50"); in double it would be 81 ("51").
    test::FakeQuery query;
    query.lefts[9] = std::nextafter(0.5f, 1.0f);
    QCOMPARE(generate("*ctw*A: 00 00;", query), QByteArray("A: 00 50;\r\n"));
}

void TestPlaceholderRules::coverWidth_data()
{
    QTest::addColumn<float>("width");
    QTest::addColumn<QByteArray>("written"); // empty: the width cannot be carried
    QTest::newRow("150") << 150.f << QByteArray("9620");
    QTest::newRow("16") << 16.f << QByteArray("1020");
    QTest::newRow("15 padded") << 15.f << QByteArray("0F20");
    QTest::newRow("0") << 0.f << QByteArray("0020");
    QTest::newRow("255.5 rounds to 256") << 255.5f << QByteArray();
    QTest::newRow("300") << 300.f << QByteArray();
}

void TestPlaceholderRules::coverWidth()
{
    QFETCH(float, width);
    QFETCH(QByteArray, written);
    test::FakeQuery query;
    query.width = width;
    const QByteArray line = "*cw*B0: 9620 9620 ;size";
    const test::MemoryRun m(line.toStdString(), query);
    const auto &check = m.run.check;
    QCOMPARE(check.canWrite(), !written.isEmpty());
    QCOMPARE(check.badCoverWidth().has_value(), written.isEmpty());
    // A width the patch cannot carry gives no line at all.
    QCOMPARE(generate(line, query),
             written.isEmpty() ? QByteArray() : "B0: 9620 " + written + ";size\r\n");
}

void TestPlaceholderRules::checkFindsEveryProblem()
{
    test::FakeQuery query;
    query.lefts[10] = 190; // play time right edge 270: off the byte
    query.tops[7] = 20;    // cover Y -4
    QByteArray text =
        "; first\r\n*cx*12:0707;x\r\n*cx*12: 07 07\r\nA *albumx* 07;x\r\nAB 07;*albumy*\r\n";
    for (int i = 0; i < 3; ++i)
        text += "*tpw*A: 00 00;\r\n*cy*B: 00 00;\r\n*cx*C: 00 00;\r\n";
    for (int i = 0; i < 60; ++i)
        text += "*cx*D\r\n";
    const test::MemoryRun m(text.toStdString(), query);
    const auto &check = m.run.check;
    QVERIFY(!check.canWrite());

    const auto &bad = check.malformed();
    QCOMPARE(check.malformedCount(), std::size_t(64));
    QCOMPARE(bad.size(), patch::TemplateCheck::kMaxListed);
    QCOMPARE(bad[0].lineNumber, std::size_t(2));
    QCOMPARE(bad[0].what.substr(0, 8), std::string("no space"));
    QCOMPARE(bad[1].what.substr(0, 6), std::string("no \";\""));
    QCOMPARE(bad[2].placeholder, std::string("*albumx*"));
    QVERIFY(bad[2].what.find("shorter") != std::string::npos);
    QCOMPARE(bad[3].placeholder, std::string("*albumy*")); // found in the comment
    QCOMPARE(bad[4].lineNumber, std::size_t(15));

    // Positions off the byte, once per placeholder, with what would be written.
    QCOMPARE(check.outOfRange().size(), std::size_t(2));
    QCOMPARE(check.outOfRange()[0].placeholder, std::string("*tpw*"));
    QCOMPARE(check.outOfRange()[0].value, 270.0);
    QCOMPARE(check.outOfRange()[0].written, std::string("0E"));
    QCOMPARE(check.outOfRange()[1].written, std::string("FC"));
}

QTEST_GUILESS_MAIN(TestPlaceholderRules)
#include "tst_placeholderrules.moc"
