#include "fakequery.h"
#include "patchgenerator.h"

#include <QtTest>

#include <cmath>
#include <string>

using namespace jukora;
using jukora::patch::PatchGenerator;

namespace {

std::string generate(const std::string &templ, const test::FakeQuery &query,
                     std::int16_t selIndex = 0, std::int16_t *selOut = nullptr)
{
    std::int16_t sel = selIndex;
    std::string out = patch::generatePatch(templ, query, sel);
    if (selOut)
        *selOut = sel;
    return out;
}

/// Distinct values for every element, so that each placeholder's value
/// shows which element and which value it read.
test::FakeQuery distinctLayout()
{
    test::FakeQuery q;
    const float lefts[14] = {10, 11, 12, 13, 14, 15, 16, 17, 0, 160, 150, 35, 36, 37};
    const float tops[14] = {124, 125, 126, 127, 128, 129, 130, 131, 0, 120, 142, 183, 205, 231};
    const int aligns[14] = {0, 0, 0, 0, 0, 0, 0, 0, 0, 2, 1, 0, 1, 2};
    for (int i = 0; i < 14; ++i) {
        q.lefts[static_cast<std::size_t>(i)] = lefts[i];
        q.tops[static_cast<std::size_t>(i)] = tops[i];
        q.alignments[static_cast<std::size_t>(i)] = aligns[i];
    }
    q.width = 150;
    return q;
}

QByteArray bytes(const std::string &s)
{
    return QByteArray(s.data(), static_cast<qsizetype>(s.size()));
}

} // namespace

class TestPlaceholderRules : public QObject
{
    Q_OBJECT

private slots:
    void everyPlaceholder_data();
    void everyPlaceholder();
    void workedExample_data();
    void workedExample();
    void testOrderDecides_data();
    void testOrderDecides();
    void rounding_data();
    void rounding();
    void singlePrecisionRightEdge();
    void coverWidth_data();
    void coverWidth();
    void lineForm_data();
    void lineForm();
    void malformedLines_data();
    void malformedLines();
    void templateCheckListsProblemsOnce();
    void lineEnds_data();
    void lineEnds();
    void eightBitBytesPassUnchanged();
};

void TestPlaceholderRules::everyPlaceholder_data()
{
    QTest::addColumn<QString>("placeholder");
    QTest::addColumn<QString>("value");
    QTest::addColumn<int>("selIndex");

    // Worked out by hand from distinctLayout(): X is Left, Y is Top - 24,
    // the right edge Left + 80, each as two hex digits, then the suffix.
    QTest::newRow("cw") << "*cw*"
                        << "9620" << 5;
    QTest::newRow("cy") << "*cy*"
                        << "6B22" << 7;
    QTest::newRow("cx") << "*cx*"
                        << "1121" << 7;
    QTest::newRow("ex") << "*ex*"
                        << "0D20" << 3;
    QTest::newRow("ey") << "*ey*"
                        << "6721" << 3;
    QTest::newRow("sx") << "*sx*"
                        << "1020" << 6;
    QTest::newRow("sy") << "*sy*"
                        << "6A21" << 6;
    QTest::newRow("lx") << "*lx*"
                        << "0F20" << 5;
    QTest::newRow("ly") << "*ly*"
                        << "6921" << 5;
    QTest::newRow("aix") << "*aix*"
                         << "0A20" << 0;
    QTest::newRow("aiy") << "*aiy*"
                         << "6421" << 0;
    QTest::newRow("tix") << "*tix*"
                         << "0B20" << 1;
    QTest::newRow("tiy") << "*tiy*"
                         << "6521" << 1;
    QTest::newRow("albumx") << "*albumx*"
                            << "0C20" << 2;
    QTest::newRow("albumy") << "*albumy*"
                            << "6621" << 2;
    QTest::newRow("jix") << "*jix*"
                         << "0E20" << 4;
    QTest::newRow("jiy") << "*jiy*"
                         << "6821" << 4;
    QTest::newRow("ctw") << "*ctw*"
                         << "F0" << 5;
    QTest::newRow("ctx") << "*ctx*"
                         << "A022" << 9;
    QTest::newRow("cty") << "*cty*"
                         << "6023" << 9;
    QTest::newRow("cta") << "*cta*"
                         << "02" << 5;
    QTest::newRow("tpx") << "*tpx*"
                         << "9622" << 10;
    QTest::newRow("tpy") << "*tpy*"
                         << "7623" << 10;
    QTest::newRow("tpa") << "*tpa*"
                         << "01" << 5;
    QTest::newRow("tpw") << "*tpw*"
                         << "E6" << 5;
    QTest::newRow("ay") << "*ay*"
                        << "9F" << 11;
    QTest::newRow("ax") << "*ax*"
                        << "2332" << 11;
    QTest::newRow("aa") << "*aa*"
                        << "00" << 5;
    QTest::newRow("ty") << "*ty*"
                        << "B5" << 12;
    QTest::newRow("tx") << "*tx*"
                        << "2432" << 12;
    QTest::newRow("ta") << "*ta*"
                        << "01" << 5;
    QTest::newRow("aly") << "*aly*"
                         << "CF" << 13;
    QTest::newRow("alx") << "*alx*"
                         << "2537" << 13;
    QTest::newRow("ala") << "*ala*"
                         << "02" << 5;
}

void TestPlaceholderRules::everyPlaceholder()
{
    QFETCH(QString, placeholder);
    QFETCH(QString, value);
    QFETCH(int, selIndex);
    const auto query = distinctLayout();
    std::int16_t sel = -1;
    // Start from 5: rules that encode no position must leave it there.
    const std::string out =
        generate(placeholder.toStdString() + "ABCDEF: 11 11 ;comment", query, 5, &sel);
    QCOMPARE(bytes(out), ("ABCDEF: 11 " + value + ";comment\r\n").toLatin1());
    QCOMPARE(int(sel), selIndex);
}

void TestPlaceholderRules::workedExample_data()
{
    QTest::addColumn<QByteArray>("line");
    QTest::addColumn<int>("element");
    QTest::addColumn<QString>("property");
    QTest::addColumn<float>("value");
    QTest::addColumn<QByteArray>("expected");

    QTest::newRow("cover x") << QByteArray("*cx*1A2B3C: 0721 0721 ;cover x") << 7 << "left" << 42.f
                             << QByteArray("1A2B3C: 0721 2A21;cover x");
    QTest::newRow("cover size") << QByteArray("*cw*1A2B40: 9620 9620 ;cover size") << 7 << "width"
                                << 176.f << QByteArray("1A2B40: 9620 B020;cover size");
    QTest::newRow("album y") << QByteArray("*aly*1A2C00: CF CF ;album y") << 13 << "top" << 150.f
                             << QByteArray("1A2C00: CF 7E;album y");
    QTest::newRow("time right") << QByteArray("*tpw*1A2C10: F0 F0 ;time right") << 10 << "left"
                                << 160.f << QByteArray("1A2C10: F0 F0;time right");
    QTest::newRow("album align") << QByteArray("*ala*1A2C14: 00 00;album align") << 13 << "align"
                                 << 2.f << QByteArray("1A2C14: 00 02;album align");
    QTest::newRow("comment only") << QByteArray("; comment only") << 7 << "left" << 1.f
                                  << QByteArray("; comment only");
    QTest::newRow("plain byte") << QByteArray("1A2B50: 00 01") << 7 << "left" << 1.f
                                << QByteArray("1A2B50: 00 01");
    QTest::newRow("placeholder in comment") << QByteArray("08A3F0: 00 00 ;see *cx*") << 7 << "left"
                                            << 42.f << QByteArray("F0: 00 2A21;see *cx*");
}

void TestPlaceholderRules::workedExample()
{
    QFETCH(QByteArray, line);
    QFETCH(int, element);
    QFETCH(QString, property);
    QFETCH(float, value);
    QFETCH(QByteArray, expected);
    test::FakeQuery query;
    const auto i = static_cast<std::size_t>(element);
    if (property == QLatin1String("left"))
        query.lefts[i] = value;
    else if (property == QLatin1String("top"))
        query.tops[i] = value;
    else if (property == QLatin1String("width"))
        query.width = value;
    else
        query.alignments[i] = static_cast<int>(value);
    QCOMPARE(bytes(generate(line.toStdString(), query)), expected + "\r\n");
}

void TestPlaceholderRules::testOrderDecides_data()
{
    QTest::addColumn<QByteArray>("line");
    QTest::addColumn<QByteArray>("expected");
    // distinctLayout: artist icon X 0A, artist label X 23; cover Y 6B, X 11.
    QTest::newRow("aix before ax")
        << QByteArray("*aix*AB12: 00 00;*ax*") << QByteArray("AB12: 00 0A20;*ax*");
    QTest::newRow("ax later in table even when first in line")
        << QByteArray("*ax*AB12: 00 00;*aix*") << QByteArray("B12: 00 0A20;*aix*");
    QTest::newRow("cy before cx") << QByteArray("*cx*C0: 00 00;*cy*")
                                  << QByteArray("C0: 00 6B22;*cy*");
    QTest::newRow("upper case is no placeholder")
        << QByteArray("*CX*C0: 00 00;x") << QByteArray("*CX*C0: 00 00;x");
}

void TestPlaceholderRules::testOrderDecides()
{
    QFETCH(QByteArray, line);
    QFETCH(QByteArray, expected);
    QCOMPARE(bytes(generate(line.toStdString(), distinctLayout())), expected + "\r\n");
}

void TestPlaceholderRules::rounding_data()
{
    QTest::addColumn<QString>("placeholder");
    QTest::addColumn<float>("position");
    QTest::addColumn<QString>("pair");
    // X reads Left of the cover, Y its Top, the right edge Left of the track number.
    QTest::newRow("93.4 down") << "*cx*" << 93.4f << "5D";
    QTest::newRow("93.6 up") << "*cx*" << 93.6f << "5E";
    QTest::newRow("12.5 to even") << "*cx*" << 12.5f << "0C";
    QTest::newRow("13.5 to even") << "*cx*" << 13.5f << "0E";
    QTest::newRow("top 24.5") << "*cy*" << 24.5f << "00";
    QTest::newRow("top 25.5") << "*cy*" << 25.5f << "02";
    QTest::newRow("top 24") << "*cy*" << 24.f << "00";
    QTest::newRow("top 23 wraps") << "*cy*" << 23.f << "FF";
    QTest::newRow("top 300") << "*cy*" << 300.f << "14";
    QTest::newRow("left 255") << "*cx*" << 255.f << "FF";
    QTest::newRow("left 256 wraps") << "*cx*" << 256.f << "00";
    QTest::newRow("left -1 wraps") << "*cx*" << -1.f << "FF";
    QTest::newRow("left -300 wraps") << "*cx*" << -300.f << "D4";
    QTest::newRow("right edge 176+80") << "*ctw*" << 176.f << "00";
    QTest::newRow("right edge 0") << "*ctw*" << 0.f << "50";
}

void TestPlaceholderRules::rounding()
{
    QFETCH(QString, placeholder);
    QFETCH(float, position);
    QFETCH(QString, pair);
    test::FakeQuery query;
    query.lefts[7] = position;
    query.tops[7] = position;
    query.lefts[9] = position;
    const std::string out = generate(placeholder.toStdString() + "A: 00 00;", query);
    const QString suffix = placeholder == QLatin1String("*cy*")   ? QStringLiteral("22")
                           : placeholder == QLatin1String("*cx*") ? QStringLiteral("21")
                                                                  : QString();
    QCOMPARE(bytes(out), ("A: 00 " + pair + suffix + ";\r\n").toLatin1());
}

void TestPlaceholderRules::singlePrecisionRightEdge()
{
    // Just above one half: in single precision 80 + 0.50000006 is 80.5,
    // which rounds to the even 80 ("50"); in double it would be 81 ("51").
    test::FakeQuery query;
    query.lefts[9] = std::nextafter(0.5f, 1.0f);
    QCOMPARE(bytes(generate("*ctw*A: 00 00;", query)), QByteArray("A: 00 50;\r\n"));
}

void TestPlaceholderRules::coverWidth_data()
{
    QTest::addColumn<float>("width");
    QTest::addColumn<QString>("written"); // empty: the width cannot be carried
    QTest::newRow("150") << 150.f << "9620";
    QTest::newRow("16") << 16.f << "1020";
    QTest::newRow("15 padded") << 15.f << "0F20";
    QTest::newRow("0") << 0.f << "0020";
    QTest::newRow("255") << 255.f << "FF20";
    QTest::newRow("255.5 rounds to 256") << 255.5f << "";
    QTest::newRow("256") << 256.f << "";
    QTest::newRow("300") << 300.f << "";
}

void TestPlaceholderRules::coverWidth()
{
    QFETCH(float, width);
    QFETCH(QString, written);
    test::FakeQuery query;
    query.width = width;
    const std::string line = "*cw*B0: 9620 9620 ;size";
    const auto check = patch::checkTemplate(line, query);
    QCOMPARE(check.canWrite(), !written.isEmpty());
    if (written.isEmpty()) {
        QVERIFY(check.badCoverWidth().has_value());
        PatchGenerator generator(query, 0);
        std::string out;
        QCOMPARE(generator.processLine(line, out), PatchGenerator::LineResult::Malformed);
        QVERIFY(out.empty());
    } else {
        QCOMPARE(bytes(generate(line, query)), ("B0: 9620 " + written + ";size\r\n").toLatin1());
    }
}

void TestPlaceholderRules::lineForm_data()
{
    QTest::addColumn<QByteArray>("line");
    QTest::addColumn<QByteArray>("expected");
    QTest::newRow("two spaces make field 1 empty")
        << QByteArray("*cx*12:  00 ;c") << QByteArray("12:  1121;c");
    QTest::newRow("no space before the semicolon")
        << QByteArray("*cx*12: 00 00    ;c") << QByteArray("12: 00 1121;c");
    QTest::newRow("text after a second semicolon dropped")
        << QByteArray("*cx*12: 00 00;a b;dropped;too") << QByteArray("12: 00 1121;a b");
    QTest::newRow("semicolon last") << QByteArray("*cx*12: 00 00;") << QByteArray("12: 00 1121;");
    QTest::newRow("template's own new value dropped")
        << QByteArray("*cx*12: 07 FF EE DD;x") << QByteArray("12: 07 1121;x");
    QTest::newRow("characters cut by count")
        << QByteArray("*cx*: 07 07;x") << QByteArray(": 07 1121;x");
    QTest::newRow("tab stays in the address")
        << QByteArray("*cx*\t12: 07 07;x") << QByteArray("\t12: 07 1121;x");
}

void TestPlaceholderRules::lineForm()
{
    QFETCH(QByteArray, line);
    QFETCH(QByteArray, expected);
    QCOMPARE(bytes(generate(line.toStdString(), distinctLayout())), expected + "\r\n");
}

void TestPlaceholderRules::malformedLines_data()
{
    QTest::addColumn<QByteArray>("line");
    QTest::addColumn<QString>("what");
    QTest::newRow("no space") << QByteArray("*cx*12:0707;x") << "no space";
    QTest::newRow("no semicolon") << QByteArray("*cx*12: 07 07") << "no \";\"";
    QTest::newRow("field 0 shorter") << QByteArray("A *albumx* 07;x") << "shorter";
    QTest::newRow("placeholder only in comment, short field")
        << QByteArray("AB 07;*albumy*") << "shorter";
}

void TestPlaceholderRules::malformedLines()
{
    QFETCH(QByteArray, line);
    QFETCH(QString, what);
    const auto query = distinctLayout();
    const std::string text = "; first\r\n" + line.toStdString() + "\r\nplain";
    const auto check = patch::checkTemplate(text, query);
    QVERIFY(!check.canWrite());
    QCOMPARE(check.malformedCount(), std::size_t(1));
    QCOMPARE(check.malformed().front().lineNumber, std::size_t(2));
    QVERIFY(QString::fromStdString(check.malformed().front().what).contains(what));
    PatchGenerator generator(query, 0);
    std::string out;
    QCOMPARE(generator.processLine(line.toStdString(), out), PatchGenerator::LineResult::Malformed);
    QVERIFY(out.empty());
}

void TestPlaceholderRules::templateCheckListsProblemsOnce()
{
    test::FakeQuery query;
    query.lefts[10] = 190; // play time right edge 270: off the byte
    query.tops[7] = 20;    // cover Y -4
    query.lefts[7] = 5;
    std::string text;
    for (int i = 0; i < 3; ++i)
        text += "*tpw*A: 00 00;\r\n*cy*B: 00 00;\r\n*cx*C: 00 00;\r\n";
    for (int i = 0; i < 60; ++i)
        text += "*cx*D\r\n";
    const auto check = patch::checkTemplate(text, query);
    QCOMPARE(check.lineCount(), std::size_t(69));
    QCOMPARE(check.outOfRange().size(), std::size_t(2));
    QCOMPARE(check.outOfRange()[0].placeholder, std::string("*tpw*"));
    QCOMPARE(check.outOfRange()[0].value, 270.0);
    QCOMPARE(check.outOfRange()[0].written, std::string("0E"));
    QCOMPARE(check.outOfRange()[1].written, std::string("FC"));
    QCOMPARE(check.malformedCount(), std::size_t(60));
    QCOMPARE(check.malformed().size(), patch::TemplateCheck::kMaxListed);
    QCOMPARE(check.malformed().front().lineNumber, std::size_t(10));
}

void TestPlaceholderRules::lineEnds_data()
{
    QTest::addColumn<QByteArray>("input");
    QTest::addColumn<QByteArray>("expected");
    QTest::newRow("empty template") << QByteArray() << QByteArray();
    QTest::newRow("CR LF") << QByteArray("a\r\nb\r\n") << QByteArray("a\r\nb\r\n");
    QTest::newRow("lone CR") << QByteArray("a\rb\r") << QByteArray("a\r\nb\r\n");
    QTest::newRow("lone LF") << QByteArray("a\nb\n") << QByteArray("a\r\nb\r\n");
    QTest::newRow("no terminator on the last line")
        << QByteArray("a\r\nb") << QByteArray("a\r\nb\r\n");
    QTest::newRow("LF CR is two ends") << QByteArray("a\n\rb") << QByteArray("a\r\n\r\nb\r\n");
    QTest::newRow("empty lines kept") << QByteArray("\r\n\n\r") << QByteArray("\r\n\r\n\r\n");
    QTest::newRow("placeholder line ended by LF")
        << QByteArray("*cx*A: 00 00;c\nx") << QByteArray("A: 00 1121;c\r\nx\r\n");
}

void TestPlaceholderRules::lineEnds()
{
    QFETCH(QByteArray, input);
    QFETCH(QByteArray, expected);
    QCOMPARE(bytes(generate(input.toStdString(), distinctLayout())), expected);
}

void TestPlaceholderRules::eightBitBytesPassUnchanged()
{
    std::string plain;
    for (int c = 0; c < 256; ++c) {
        if (c != '\r' && c != '\n')
            plain += static_cast<char>(c);
    }
    const std::string placeholder = "*cx*\xC4\xFF: \x80\x81 00 ;\xE9t\xE9\t ";
    const std::string out = generate(plain + "\r\n" + placeholder, distinctLayout());
    QCOMPARE(bytes(out), bytes(plain + "\r\n\xC4\xFF: \x80\x81 1121;\xE9t\xE9\t \r\n"));
}

QTEST_GUILESS_MAIN(TestPlaceholderRules)
#include "tst_placeholderrules.moc"
