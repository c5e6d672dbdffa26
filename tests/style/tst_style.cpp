#include "coversize.h"
#include "previewitems.h"
#include "windowfixture.h"

#include <QGraphicsPixmapItem>
#include <QtTest>

using namespace jukora;
using test::WindowFixture;

class TestStyle : public QObject
{
    Q_OBJECT

private slots:
    void init()
    {
        QLocale::setDefault(QLocale::c());
        f = std::make_unique<WindowFixture>();
        f->show();
    }
    void cleanup() { f.reset(); }
    void coverSizeText_data();
    void coverSizeText();
    void styleGoesToThePressedLabelOnly();
    void alignmentIsDrawn();
    void colourGoesToAllLabelsAndTheSwatch();
    void backgroundFromTheBandClippedOrKept_data();
    void backgroundFromTheBandClippedOrKept();
    void coverSizeAndReadouts();

private:
    QImage shot()
    {
        f->view()->viewport()->repaint();
        return f->view()->viewport()->grab().toImage();
    }
    std::unique_ptr<WindowFixture> f;
    QTemporaryDir m_dir;
};

void TestStyle::coverSizeText_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("locale");
    QTest::addColumn<float>("size"); // -1: refused
    QTest::newRow("whole") << "100"
                           << "C" << 100.f;
    QTest::newRow("largest") << "4096"
                             << "C" << 4096.f;
    QTest::newRow("one past") << "4096.5"
                              << "C" << -1.f;
    QTest::newRow("zero") << "0"
                          << "C" << 0.f;
    QTest::newRow("negative") << "-5"
                              << "C" << -1.f;
    QTest::newRow("words") << "big"
                           << "C" << -1.f;
    QTest::newRow("infinite") << "inf"
                              << "C" << -1.f;
    QTest::newRow("not a number") << "nan"
                                  << "C" << -1.f;
    QTest::newRow("huge") << "1e300"
                          << "C" << -1.f;
    QTest::newRow("German decimal comma") << "120,5"
                                          << "de_DE" << 120.5f;
}

void TestStyle::coverSizeText()
{
    QFETCH(QString, text);
    QFETCH(QString, locale);
    QFETCH(float, size);
    QString error;
    const auto parsed = parseCoverSize(text, QLocale(locale), &error);
    QCOMPARE(parsed.value_or(-1.f), size);
    QCOMPARE(error.contains(QStringLiteral("from 0 to 4096")), size < 0);
    // What the read-outs show is read back in the same locale.
    if (parsed)
        QCOMPARE(readoutValue(text, QLocale(locale)), parsed);
}

void TestStyle::styleGoesToThePressedLabelOnly()
{
    const auto styles = [&] {
        QList<QList<int>> s;
        for (int i = 9; i <= 13; ++i) {
            const Element &e = f->model().element(i);
            s << QList<int>{e.pixelSize, e.bold, e.italic, e.alignment};
        }
        return s;
    };
    const auto before = styles();
    f->combo("Co")->setCurrentIndex(3); // nothing pressed: nothing changes
    f->check("Check3")->setChecked(true);
    test::tap(f->view(), f->centreOf(7)); // nor after an image
    f->combo("Combo2")->setCurrentIndex(2);
    QCOMPARE(styles(), before);

    test::tap(f->view(), f->centreOf(11)); // "Artist"
    test::tap(f->view(), f->centreOf(7));  // an image keeps the style target
    f->combo("Co")->setCurrentIndex(0);
    QCOMPARE(f->model().element(11).pixelSize, 23); // Standard, not the start size 18
    f->check("Check2")->setChecked(false);
    QCOMPARE(f->view()->labelItem(11)->font().pixelSize(), 23);
    QVERIFY(!f->view()->labelItem(11)->font().bold());
    auto expected = before;
    expected[11 - 9] = {23, false, false, 0};
    QCOMPARE(styles(), expected);
}

void TestStyle::alignmentIsDrawn()
{
    const auto ink = [&] { // first and last columns with text in Title's box
        const QImage image = shot();
        int first = -1, last = -1;
        for (int x = 35; x < 225; ++x) {
            for (int y = 205; y < 234; ++y) {
                if (qGray(image.pixel(x, y)) > 120) {
                    first = first < 0 ? x : first;
                    last = x;
                    break;
                }
            }
        }
        return std::make_pair(first, last);
    };
    test::tap(f->view(), f->centreOf(12));
    QVERIFY(ink().first < 40);
    f->combo("Combo2")->setCurrentIndex(1);
    QCOMPARE(f->model().alignment(12), 1);
    QVERIFY(qAbs(ink().second - 220) <= 5);
    f->combo("Combo2")->setCurrentIndex(2);
    QVERIFY(qAbs((ink().first + ink().second) / 2 - 130) <= 2);
}

void TestStyle::colourGoesToAllLabelsAndTheSwatch()
{
    // Choosing the colour the dialog already holds changes nothing.
    f->dialogs.colorAnswers << QColor(192, 192, 192) << QColor(255, 0, 0);
    f->window->Command2_Click();
    QCOMPARE(f->dialogs.callsOf(QStringLiteral("color")).first().detail, QStringLiteral("#c0c0c0"));
    f->model().setTextColor(Qt::green); // to see whether the same colour comes back
    f->window->Command2_Click();
    QCOMPARE(f->model().textColor(), QColor(255, 0, 0));
    QCOMPARE(f->child<QLabel>("Label6")->palette().color(QPalette::Window), QColor(255, 0, 0));
    const QImage image = shot();
    int red = 0;
    for (int x = 35; x < 100; ++x)
        red += image.pixelColor(x, 195).red() > 200 && image.pixelColor(x, 195).green() < 60;
    QVERIFY(red > 0);
    f->window->Command2_Click(); // cancelled
    QCOMPARE(f->model().textColor(), QColor(255, 0, 0));
}

void TestStyle::backgroundFromTheBandClippedOrKept_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QByteArray>("bytes"); // empty: a 300 x 400 blue picture
    QTest::newRow("larger than the preview") << "big.bmp" << QByteArray();
    QTest::newRow("not a picture") << "text.bmp" << QByteArray("hello, not a picture");
    QTest::newRow("truncated GIF") << "cut.gif" << QByteArray("GIF89a\x10\x00\x10\x00", 10);
    QTest::newRow("missing") << "missing.bmp" << QByteArray("-");
}

void TestStyle::backgroundFromTheBandClippedOrKept()
{
    QFETCH(QString, name);
    QFETCH(QByteArray, bytes);
    const QString path = m_dir.filePath(name);
    QImage picture(300, 400, QImage::Format_RGB32);
    picture.fill(QColor(0, 0, 200));
    if (bytes.isEmpty())
        QVERIFY(picture.save(path));
    else if (bytes != "-")
        test::writeFile(path, bytes);
    QImage old(20, 10, QImage::Format_RGB32);
    old.fill(QColor(0, 200, 0));
    f->model().setBackground(old);
    f->dialogs.openAnswers << path;
    f->window->Com_Click();
    QVERIFY(f->window->comm().Filter.startsWith(QStringLiteral("Image (*.bmp;*.jpg;*.gif)|")));
    const QImage image = shot();
    if (!bytes.isEmpty()) {
        QCOMPARE(f->messages().size(), 1);
        QVERIFY(f->messages().first().text.contains(name));
        QCOMPARE(image.pixelColor(5, 30), QColor(0, 200, 0)); // the old one, its size only
        QCOMPARE(image.pixelColor(25, 30), QColor(Qt::black));
        return;
    }
    QVERIFY(f->messages().isEmpty());
    QCOMPARE(f->view()->backgroundItem()->pos(), QPointF(0, 24));
    QCOMPARE(image.pixelColor(100, 300), QColor(0, 0, 200)); // over the soft-key bar
    QVERIFY(image.pixelColor(100, 10) != QColor(0, 0, 200)); // not over the status bar
    QCOMPARE(image.pixelColor(82, 105), QColor(Qt::white));  // elements stay in front
}

void TestStyle::coverSizeAndReadouts()
{
    // Before any press: the cover changes, the empty read-outs stay empty.
    f->dialogs.textAnswers << QStringLiteral("100") << QStringLiteral("300") << QStringLiteral("0");
    f->window->Command3_Click();
    QCOMPARE(f->dialogs.callsOf(QStringLiteral("text")).first().text, QStringLiteral("Cover size"));
    QCOMPARE(f->model().element(7).height, 100.f);
    QVERIFY(f->text("Lw").isEmpty());
    // After pressing the cover the read-outs follow, as typed.
    test::tap(f->view(), f->centreOf(7));
    f->window->Command3_Click();
    QCOMPARE(f->text("Lh"), QStringLiteral("300"));
    QCOMPARE(f->view()->imageItem(7)->boundingRect().size(), QSizeF(300, 300));
    QCOMPARE(f->model().element(7).left, 7.f); // the corner stays
    // After pressing a 30 x 22 icon they keep the icon's size.
    test::tap(f->view(), f->centreOf(3));
    f->window->Command3_Click();
    QCOMPARE(f->model().element(7).width, 0.f);
    QCOMPARE(f->text("Lw"), QStringLiteral("30"));
    // Cancelled, or a size refused: the cover stays.
    f->window->Command3_Click();
    f->dialogs.textAnswers << QStringLiteral("5000");
    f->window->Command3_Click();
    QCOMPARE(f->messages().size(), 1);
    QCOMPARE(f->model().element(7).width, 0.f);
}

QTEST_MAIN(TestStyle)
#include "tst_style.moc"
