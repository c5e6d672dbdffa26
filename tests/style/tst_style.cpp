#include "coversize.h"
#include "credits.h"
#include "previewitems.h"
#include "windowfixture.h"

#include <QGraphicsPixmapItem>
#include <QTemporaryDir>
#include <QtTest>

using namespace jukora;
using test::WindowFixture;

namespace {

struct LabelStyle
{
    int pixelSize;
    bool bold;
    bool italic;
    int alignment;
    bool operator==(const LabelStyle &) const = default;
};

LabelStyle styleOf(const Element &e)
{
    return {e.pixelSize, e.bold, e.italic, e.alignment};
}

QList<LabelStyle> allStyles(PreviewModel &model)
{
    QList<LabelStyle> styles;
    for (int i = 9; i <= 13; ++i)
        styles << styleOf(model.element(i));
    return styles;
}

/// Columns of the preview in which a label's box has text pixels.
QPair<int, int> inkColumns(WindowFixture &f, int index)
{
    f.view()->viewport()->repaint();
    const QImage shot = f.view()->viewport()->grab().toImage();
    const Element &e = f.model().element(index);
    int first = -1;
    int last = -1;
    for (int x = int(e.left); x < int(e.left + e.width); ++x) {
        for (int y = int(e.top); y < int(e.top + e.height); ++y) {
            if (qGray(shot.pixel(x, y)) > 120) {
                if (first < 0)
                    first = x;
                last = x;
                break;
            }
        }
    }
    return {first, last};
}

} // namespace

class TestStyle : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    // Font size, bold, italic, alignment
    void nothingPressedNothingChanges();
    void sizesGoToThePressedLabelOnly();
    void imagePressKeepsTheStyleTarget();
    void sizeAndStyleAreIndependent();
    void alignmentIsDrawnAndReachesTheModel();

    // Text colour
    void colourGoesToAllLabelsAndTheSwatch();
    void cancelOrSameColourChangesNothing();

    // Background picture
    void backgroundShownFromTheBandAndClipped();
    void backgroundCancelAndFilter();
    void brokenPictureKeepsTheBackground_data();
    void brokenPictureKeepsTheBackground();

    // Cover size
    void coverSizeAndReadouts();
    void coverSizeLocaleDecimalSeparator();
    void coverSizeRejectsWhatItCannotHold_data();
    void coverSizeRejectsWhatItCannotHold();

    // Credits

private:
    std::unique_ptr<WindowFixture> f;
    QTemporaryDir m_dir;
};

void TestStyle::init()
{
    QLocale::setDefault(QLocale::c());
    f = std::make_unique<WindowFixture>();
    f->window->showCentered();
    QVERIFY(QTest::qWaitForWindowExposed(f->window.get()));
}

void TestStyle::cleanup()
{
    f.reset();
}

void TestStyle::nothingPressedNothingChanges()
{
    const auto before = allStyles(f->model());
    f->combo("Co")->setCurrentIndex(3);
    f->check("Check3")->setChecked(true);
    f->check("Check2")->setChecked(false);
    f->combo("Combo2")->setCurrentIndex(2);
    QCOMPARE(allStyles(f->model()), before);
    // Pressing an image does not make it a style target either.
    test::tap(f->view(), f->centreOf(7));
    f->combo("Co")->setCurrentIndex(2);
    QCOMPARE(allStyles(f->model()), before);
}

void TestStyle::sizesGoToThePressedLabelOnly()
{
    test::tap(f->view(), f->centreOf(11)); // "Artist"
    const auto others = [&] {
        QList<LabelStyle> s = allStyles(f->model());
        s.removeAt(11 - 9);
        return s;
    };
    const auto before = others();
    f->combo("Co")->setCurrentIndex(3);
    QCOMPARE(f->model().element(11).pixelSize, 26);
    f->combo("Co")->setCurrentIndex(0);
    QCOMPARE(f->model().element(11).pixelSize, 23); // Standard, not the start size
    f->combo("Co")->setCurrentIndex(2);
    QCOMPARE(f->model().element(11).pixelSize, 16);
    QCOMPARE(others(), before);
    QCOMPARE(f->view()->labelItem(11)->font().pixelSize(), 16);
}

void TestStyle::imagePressKeepsTheStyleTarget()
{
    test::tap(f->view(), f->centreOf(12)); // "Title"
    test::tap(f->view(), f->centreOf(7));  // the cover
    QCOMPARE(f->tag(), QStringLiteral("12"));
    f->check("Check3")->setChecked(true);
    QVERIFY(f->model().element(12).italic);
    QVERIFY(f->view()->labelItem(12)->font().italic());
}

void TestStyle::sizeAndStyleAreIndependent()
{
    test::tap(f->view(), f->centreOf(13));
    f->check("Check2")->setChecked(false);
    f->check("Check3")->setChecked(true);
    f->combo("Combo2")->setCurrentIndex(1);
    f->combo("Co")->setCurrentIndex(3);
    QCOMPARE(styleOf(f->model().element(13)), (LabelStyle{26, false, true, 1}));
    f->check("Check2")->setChecked(true);
    QCOMPARE(styleOf(f->model().element(13)), (LabelStyle{26, true, true, 1}));
    QCOMPARE(f->model().textColor(), QColor(192, 192, 192));
}

void TestStyle::alignmentIsDrawnAndReachesTheModel()
{
    test::tap(f->view(), f->centreOf(12));
    const auto left = inkColumns(*f, 12);
    QVERIFY(left.first >= 35 && left.first < 40);
    f->combo("Combo2")->setCurrentIndex(1);
    QCOMPARE(f->model().alignment(12), 1);
    const auto right = inkColumns(*f, 12);
    QVERIFY2(right.second > 215 && right.second < 225, qPrintable(QString::number(right.second)));
    f->combo("Combo2")->setCurrentIndex(2);
    QCOMPARE(f->model().alignment(12), 2);
    const auto centre = inkColumns(*f, 12);
    const int middle = (centre.first + centre.second) / 2;
    QVERIFY2(qAbs(middle - 130) <= 2, qPrintable(QString::number(middle)));
}

void TestStyle::colourGoesToAllLabelsAndTheSwatch()
{
    f->dialogs.colorAnswers << QColor(255, 0, 0);
    f->button("Command2")->click();
    const auto calls = f->dialogs.callsOf(QStringLiteral("color"));
    QCOMPARE(calls.size(), 1);
    QCOMPARE(calls.first().detail, QStringLiteral("#c0c0c0")); // the labels' start colour
    QCOMPARE(f->model().textColor(), QColor(255, 0, 0));
    QCOMPARE(f->label("Label6")->palette().color(QPalette::Window), QColor(255, 0, 0));
    f->view()->viewport()->repaint();
    const QImage shot = f->view()->viewport()->grab().toImage();
    int red = 0;
    for (int x = 35; x < 100; ++x)
        red += shot.pixelColor(x, 195).red() > 200 && shot.pixelColor(x, 195).green() < 60;
    QVERIFY(red > 0);
}

void TestStyle::cancelOrSameColourChangesNothing()
{
    // First use: choosing the colour the dialog already holds.
    f->dialogs.colorAnswers << QColor(192, 192, 192);
    f->window->Command2_Click();
    QCOMPARE(f->label("Label6")->palette().color(QPalette::Window), QColor(192, 192, 192));
    f->dialogs.colorAnswers << QColor(0, 0, 255);
    f->window->Command2_Click();
    f->window->Command2_Click(); // cancelled
    QCOMPARE(f->model().textColor(), QColor(0, 0, 255));
    f->model().setTextColor(Qt::green); // to see whether blue comes back
    f->dialogs.colorAnswers << QColor(0, 0, 255);
    f->window->Command2_Click(); // the same as before: nothing happens
    QCOMPARE(f->model().textColor(), QColor(Qt::green));
}

void TestStyle::backgroundShownFromTheBandAndClipped()
{
    const QString path = m_dir.filePath(QStringLiteral("big.bmp"));
    QImage picture(300, 400, QImage::Format_RGB32);
    picture.fill(QColor(0, 0, 200));
    QVERIFY(picture.save(path));
    f->dialogs.openAnswers << path;
    f->button("Com")->click();
    QCOMPARE(f->view()->backgroundItem()->pos(), QPointF(0, 24));
    QCOMPARE(f->view()->backgroundItem()->pixmap().size(), QSize(300, 400));
    QCOMPARE(f->window->comm().FileName, QString());
    QVERIFY(f->window->comm().Filter.startsWith(
        QStringLiteral("Image (*.bmp;*.jpg;*.gif)|*.bmp;*.jpg;*.gif|")));
    f->view()->viewport()->repaint();
    const QImage shot = f->view()->viewport()->grab().toImage();
    QCOMPARE(shot.size(), QSize(240, 320));
    QCOMPARE(shot.pixelColor(100, 300), QColor(0, 0, 200)); // over the soft-key bar
    QVERIFY(shot.pixelColor(100, 10) != QColor(0, 0, 200)); // not over the status bar
    QCOMPARE(shot.pixelColor(82, 105), QColor(Qt::white));  // elements stay in front

    // A small picture covers only its own size.
    const QString small = m_dir.filePath(QStringLiteral("small.gif"));
    QImage smallPicture(20, 10, QImage::Format_RGB32);
    smallPicture.fill(QColor(0, 200, 0));
    QVERIFY(smallPicture.save(small, "GIF") || smallPicture.save(small, "PNG"));
    f->dialogs.openAnswers << small;
    f->window->Com_Click();
    f->view()->viewport()->repaint();
    const QImage after = f->view()->viewport()->grab().toImage();
    QCOMPARE(after.pixelColor(5, 30), QColor(0, 200, 0));
    QCOMPARE(after.pixelColor(25, 30), QColor(Qt::black));
}

void TestStyle::backgroundCancelAndFilter()
{
    f->window->comm().FileName = QStringLiteral("/tmp/after-generate.vkp");
    f->window->Com_Click(); // cancelled
    const auto opens = f->dialogs.callsOf(QStringLiteral("open"));
    QCOMPARE(opens.size(), 1);
    QVERIFY(opens.first().text.startsWith(QStringLiteral("Image (*.bmp;*.jpg;*.gif)|")));
    QVERIFY(opens.first().text.contains(QStringLiteral("*.png")));
    QVERIFY(f->model().background().isNull());
    QVERIFY(f->dialogs.callsOf(QStringLiteral("message")).isEmpty());
}

void TestStyle::brokenPictureKeepsTheBackground_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("name");
    QTest::newRow("not a picture") << QByteArray("hello, not a picture") << "text.bmp";
    QTest::newRow("truncated GIF") << QByteArray("GIF89a\x10\x00\x10\x00", 10) << "cut.gif";
    QTest::newRow("empty file") << QByteArray() << "empty.jpg";
    QTest::newRow("missing") << QByteArray("<none>") << "missing.bmp";
}

void TestStyle::brokenPictureKeepsTheBackground()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QString, name);
    QImage good(10, 10, QImage::Format_RGB32);
    good.fill(Qt::yellow);
    f->model().setBackground(good);
    const QString path = m_dir.filePath(name);
    if (bytes != "<none>")
        test::writeFile(path, bytes);
    f->dialogs.openAnswers << path;
    f->window->Com_Click();
    const auto messages = f->dialogs.callsOf(QStringLiteral("message"));
    QCOMPARE(messages.size(), 1);
    QCOMPARE(messages.first().icon, Dialogs::Icon::Critical);
    QVERIFY(messages.first().text.contains(name));
    QCOMPARE(f->model().background(), good);
}

void TestStyle::coverSizeAndReadouts()
{
    // Before any press: the cover changes, the empty read-outs stay empty.
    f->dialogs.textAnswers << QStringLiteral("100");
    f->button("Command3")->click();
    const auto asks = f->dialogs.callsOf(QStringLiteral("text"));
    QCOMPARE(asks.first().text, QStringLiteral("Cover size"));
    QCOMPARE(asks.first().title, QStringLiteral("Jukora Patch Editor"));
    QCOMPARE(asks.first().detail, QString());
    QCOMPARE(f->model().element(7).width, 100.f);
    QCOMPARE(f->model().element(7).height, 100.f);
    QVERIFY(f->label("Lw")->text().isEmpty());

    // After pressing the cover the read-outs follow, as typed.
    test::tap(f->view(), f->centreOf(7));
    QCOMPARE(f->label("Lw")->text(), QStringLiteral("100"));
    f->dialogs.textAnswers << QStringLiteral("300");
    f->window->Command3_Click();
    QCOMPARE(f->label("Lw")->text(), QStringLiteral("300"));
    QCOMPARE(f->label("Lh")->text(), QStringLiteral("300"));
    QCOMPARE(f->view()->imageItem(7)->boundingRect().size(), QSizeF(300, 300));
    QCOMPARE(f->model().element(7).left, 7.f); // corner stays

    // After pressing a 30 x 22 icon they keep the icon's size.
    test::tap(f->view(), f->centreOf(3));
    f->dialogs.textAnswers << QStringLiteral("0");
    f->window->Command3_Click();
    QCOMPARE(f->model().element(7).width, 0.f);
    QCOMPARE(f->label("Lw")->text(), QStringLiteral("30"));
    QCOMPARE(f->label("Lh")->text(), QStringLiteral("22"));

    // Cancel, or OK on nothing, changes nothing.
    f->window->Command3_Click();
    QCOMPARE(f->model().element(7).width, 0.f);
    QVERIFY(f->dialogs.callsOf(QStringLiteral("message")).isEmpty());
}

void TestStyle::coverSizeLocaleDecimalSeparator()
{
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    test::tap(f->view(), f->centreOf(7));
    f->dialogs.textAnswers << QStringLiteral("120,5") << QStringLiteral("64");
    f->window->Command3_Click();
    QCOMPARE(f->model().element(7).width, 120.5f);
    QCOMPARE(f->label("Lw")->text(), QStringLiteral("120,5"));
    f->window->Command3_Click(); // the read-out "120,5" is read back in the same locale
    QCOMPARE(f->label("Lw")->text(), QStringLiteral("64"));
    QLocale::setDefault(QLocale::c());
}

void TestStyle::coverSizeRejectsWhatItCannotHold_data()
{
    QTest::addColumn<QString>("text");
    QTest::newRow("words") << "big";
    QTest::newRow("negative") << "-5";
    QTest::newRow("infinite") << "inf";
    QTest::newRow("not a number") << "nan";
    QTest::newRow("too large") << "5000";
    QTest::newRow("huge") << "1e300";
}

void TestStyle::coverSizeRejectsWhatItCannotHold()
{
    QFETCH(QString, text);
    test::tap(f->view(), f->centreOf(7));
    f->dialogs.textAnswers << text;
    f->window->Command3_Click();
    const auto messages = f->dialogs.callsOf(QStringLiteral("message"));
    QCOMPARE(messages.size(), 1);
    QCOMPARE(messages.first().icon, Dialogs::Icon::Critical);
    QVERIFY(messages.first().text.contains(QStringLiteral("from 0 to 4096")));
    QCOMPARE(f->model().element(7).width, 150.f);
    QCOMPARE(f->label("Lw")->text(), QStringLiteral("150"));
}

QTEST_MAIN(TestStyle)
#include "tst_style.moc"
