#include "layoutfile.h"
#include "testfiles.h"

#include <QtTest>

using namespace jukora;

namespace {

const char *const kTemplate =
    "; head\r\n*cx*A: 00 00;x\r\n*cy*B: 00 00;y\r\n*ta*C: 00 00;a\r\n*cx*D: 00 00;x\r\n";

std::optional<patch::PatchLayout> read(const char *templ, const QByteArray &patch,
                                       std::string *error)
{
    return patch::readLayout(templ, patch.toStdString(), error);
}

} // namespace

class TestLayoutReader : public QObject
{
    Q_OBJECT

private slots:
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
        QVERIFY(!read(kTemplate, patch, &error));
        QVERIFY2(QString::fromStdString(error).contains(says), error.c_str());
    }
    void rightEdgeGivesLeftWhereNoX()
    {
        std::string error;
        const auto layout = patch::readLayout(
            "*tpw*A: F0 F0;r\r\n*ctw*B: F0 F0;r\r\n*ctx*C: A022 A022;x\r\n*cy*D: 00 00;y\r\n",
            "A: F0 C8;r\r\nB: F0 F0;r\r\nC: A022 1022;x\r\nD: 00 FF22;y\r\n", &error);
        QVERIFY2(layout, error.c_str());
        QCOMPARE(*layout->left[10], 120.f); // 200 - 80
        QCOMPARE(*layout->left[9], 16.f);   // its X wins over its right edge
        QCOMPARE(*layout->top[7], 279.f);   // 255 + 24
    }
    void fileTooLargeOrSpecial()
    {
        test::ProgramFolder folder({{QStringLiteral("m"), kTemplate}});
        QFile huge(folder.file(QStringLiteral("huge.vkp")));
        QVERIFY(huge.open(QIODevice::WriteOnly));
        QVERIFY(huge.resize(patch::kMaxPatchBytes + 1)); // sparse: costs no disk
        huge.close();
        QString error;
        bool mismatch = true;
        QVERIFY(!patch::readLayoutFile(huge.fileName(), folder.templ(QStringLiteral("m")), &error,
                                       &mismatch));
        QVERIFY2(error.contains(QStringLiteral("at most 64 MB")), qPrintable(error));
        QVERIFY(!mismatch);
    }
};

QTEST_GUILESS_MAIN(TestLayoutReader)
#include "tst_layoutreader.moc"
