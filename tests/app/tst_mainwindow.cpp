#include "previewitems.h"
#include "windowfixture.h"

#include <QGraphicsScene>
#include <QtTest>

using namespace jukora;
using test::WindowFixture;

class TestMainWindow : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void windowIsFixed();
    void controls_data();
    void controls();
    void startValues();
    void elements_data();
    void elements();
    void stackingOrder();
    void focusOrder();
    void previewDrawsOnePixelPerPixel();

private:
    std::unique_ptr<WindowFixture> f;
};

void TestMainWindow::init()
{
    f = std::make_unique<WindowFixture>();
}

void TestMainWindow::cleanup()
{
    f.reset();
}

void TestMainWindow::windowIsFixed()
{
    MainWindow *w = f->window.get();
    QCOMPARE(w->windowTitle(), QStringLiteral("Jukora v2 patch editor"));
    QCOMPARE(w->size(), QSize(358, 324));
    QCOMPARE(w->minimumSize(), QSize(358, 324));
    QCOMPARE(w->maximumSize(), QSize(358, 324));
    QVERIFY(!(w->windowFlags() & Qt::WindowMaximizeButtonHint));
    QVERIFY(!w->windowIcon().isNull());
    w->showCentered();
    QVERIFY(QTest::qWaitForWindowExposed(w));
    QCOMPARE(w->size(), QSize(358, 324));
    const QRect screen = w->screen()->availableGeometry();
    QVERIFY(qAbs(w->geometry().center().x() - screen.center().x()) <= 1);
    QVERIFY(qAbs(w->geometry().center().y() - screen.center().y()) <= 1);
}

void TestMainWindow::controls_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QRect>("geometry");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<int>("pixelSize");
    QTest::addColumn<bool>("bold");

    auto row = [](const char *name, int x, int y, int w, int h, const char *caption, int px,
                  bool bold) {
        QTest::newRow(name) << QString::fromLatin1(name) << QRect(x, y, w, h)
                            << QString::fromUtf8(caption) << px << bold;
    };
    row("Picture1", 0, 0, 244, 324, "", 0, false);
    row("Label3", 248, 4, 105, 77, "", 0, false);
    row("Label1", 256, 12, 41, 16, "X Pos:", 13, true);
    row("Lxx", 304, 12, 33, 17, "", 13, true);
    row("Label2", 256, 28, 41, 16, "Y Pos:", 13, true);
    row("Lyy", 304, 28, 33, 17, "", 13, true);
    row("Label4", 256, 44, 43, 16, "Width:", 13, true);
    row("Lw", 304, 44, 31, 16, "", 13, true);
    row("Label5", 256, 60, 47, 16, "Height:", 13, true);
    row("Lh", 304, 60, 36, 16, "", 13, true);
    row("Check1", 248, 85, 81, 17, "Coordinates", 11, false);
    row("Command3", 248, 103, 105, 25, "Cover Size", 11, false);
    row("Com", 248, 127, 105, 25, "Background Image", 11, false);
    row("Command2", 248, 151, 73, 33, "Text Color\n(preview)", 11, false);
    row("Label6", 321, 152, 32, 31, "", 0, false);
    row("Label7", 248, 189, 26, 13, "Font:", 11, false);
    row("Co", 280, 187, 73, 21, "Standard", 11, false);
    row("Check2", 248, 210, 41, 17, "Bold", 11, false);
    row("Check3", 304, 210, 49, 17, "Italic", 11, false);
    row("Label9", 248, 232, 26, 13, "Align:", 11, false);
    row("Combo2", 280, 228, 73, 21, "Left", 11, false);
    row("Label8", 248, 250, 34, 13, "Phone:", 11, false);
    row("Combo1", 248, 265, 105, 21, "Novo N3", 11, false);
    row("Command4", 248, 296, 25, 25, "\u00A9", 13, false);
    row("Command1", 272, 296, 81, 25, "Generate", 11, false);
}

void TestMainWindow::controls()
{
    QFETCH(QString, name);
    QFETCH(QRect, geometry);
    QFETCH(QString, caption);
    QFETCH(int, pixelSize);
    QFETCH(bool, bold);
    auto *widget = f->window->findChild<QWidget *>(name);
    QVERIFY2(widget, qPrintable(name));
    QCOMPARE(widget->geometry(), geometry);
    QString text;
    if (auto *label = qobject_cast<QLabel *>(widget))
        text = label->text();
    else if (auto *button = qobject_cast<QAbstractButton *>(widget))
        text = button->text();
    else if (auto *combo = qobject_cast<QComboBox *>(widget))
        text = combo->currentText();
    QCOMPARE(text, caption);
    if (pixelSize) {
        QCOMPARE(widget->font().pixelSize(), pixelSize);
        QCOMPARE(widget->font().bold(), bold);
    }
}

void TestMainWindow::startValues()
{
    for (const char *readout : {"Lxx", "Lyy", "Lw", "Lh"})
        QVERIFY(f->label(readout)->text().isEmpty());
    QVERIFY(f->check("Check1")->isChecked());
    QVERIFY(f->check("Check2")->isChecked());
    QVERIFY(!f->check("Check3")->isChecked());
    QCOMPARE(f->tag(), QStringLiteral("0"));
    QCOMPARE(f->combo("Co")->count(), 4);
    QCOMPARE(f->combo("Co")->itemText(3), QStringLiteral("Big"));
    QCOMPARE(f->combo("Combo2")->itemText(1), QStringLiteral("Right"));
    QCOMPARE(f->combo("Combo2")->itemText(2), QStringLiteral("Center"));
    for (QComboBox *combo : f->window->findChildren<QComboBox *>())
        QVERIFY(!combo->isEditable());
    QCOMPARE(f->combo("Combo1")->count(), 3);
    QCOMPARE(f->model().SelIndex, std::int16_t(0));
    QCOMPARE(f->model().textColor(), QColor(192, 192, 192));
    QVERIFY(f->model().background().isNull());
    QVERIFY(f->model().guidesVisible());
    QCOMPARE(f->model().guideX(), 0.f);
    QCOMPARE(f->model().guideY(), 0.f);
}

void TestMainWindow::elements_data()
{
    QTest::addColumn<int>("index");
    QTest::addColumn<QRectF>("box");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<int>("pixelSize");
    QTest::addColumn<int>("alignment");
    QTest::newRow("artist icon") << 0 << QRectF(8, 187, 24, 24) << "" << 0 << 0;
    QTest::newRow("title icon") << 1 << QRectF(8, 210, 24, 24) << "" << 0 << 0;
    QTest::newRow("album icon") << 2 << QRectF(8, 234, 24, 24) << "" << 0 << 0;
    QTest::newRow("bass") << 3 << QRectF(165, 82, 30, 22) << "" << 0 << 0;
    QTest::newRow("logo") << 4 << QRectF(161, 29, 75, 50) << "" << 0 << 0;
    QTest::newRow("repeat") << 5 << QRectF(205, 82, 30, 22) << "" << 0 << 0;
    QTest::newRow("shuffle") << 6 << QRectF(187, 104, 30, 22) << "" << 0 << 0;
    QTest::newRow("cover") << 7 << QRectF(7, 30, 150, 150) << "" << 0 << 0;
    QTest::newRow("track") << 9 << QRectF(160, 120, 80, 20) << "01/99" << 18 << 2;
    QTest::newRow("time") << 10 << QRectF(160, 142, 80, 20) << "00:00" << 18 << 2;
    QTest::newRow("artist") << 11 << QRectF(35, 183, 190, 29) << "Artist" << 18 << 0;
    QTest::newRow("title") << 12 << QRectF(35, 205, 190, 29) << "Title" << 23 << 0;
    QTest::newRow("album") << 13 << QRectF(35, 231, 190, 29) << "Album" << 18 << 0;
}

void TestMainWindow::elements()
{
    QFETCH(int, index);
    QFETCH(QRectF, box);
    QFETCH(QString, caption);
    QFETCH(int, pixelSize);
    QFETCH(int, alignment);
    const Element &e = f->model().element(index);
    QCOMPARE(QRectF(e.left, e.top, e.width, e.height), box);
    QVERIFY(e.enabled);
    QGraphicsItem *item = index < 8 ? static_cast<QGraphicsItem *>(f->view()->imageItem(index))
                                    : f->view()->labelItem(index);
    QCOMPARE(item->sceneBoundingRect(), box);
    if (index > 8) {
        QCOMPARE(e.caption, caption);
        QCOMPARE(e.pixelSize, pixelSize);
        QCOMPARE(e.alignment, alignment);
        QVERIFY(e.bold);
        QVERIFY(!e.italic);
        const QFont font = f->view()->labelItem(index)->font();
        QCOMPARE(font.pixelSize(), pixelSize);
        QVERIFY(font.bold());
    }
}

void TestMainWindow::stackingOrder()
{
    // Front to back; what is earlier covers what is later.
    const auto *v = f->view();
    const QList<QGraphicsItem *> expected = {
        v->imageItem(4),  v->imageItem(3), v->imageItem(5),  v->imageItem(6),
        v->labelItem(10), v->labelItem(9), v->labelItem(13), v->labelItem(12),
        v->labelItem(11), v->imageItem(0), v->imageItem(2),  v->guideL2(),
        v->guideL1(),     v->imageItem(1), v->imageItem(7),  v->backgroundItem()};
    for (qsizetype i = 0; i + 1 < expected.size(); ++i)
        QVERIFY2(expected[i]->zValue() > expected[i + 1]->zValue(), qPrintable(QString::number(i)));

    // The scene agrees: where the logo and the bass indicator overlap, the logo wins.
    f->model().setPosition(3, 161, 29);
    QCOMPARE(v->elementAt(QPointF(170, 40)), 4);
    QCOMPARE(v->elementAt(QPointF(5, 5)), 8); // bare surface
}

void TestMainWindow::focusOrder()
{
    MainWindow *w = f->window.get();
    w->showCentered();
    QApplication::setActiveWindow(w);
    QVERIFY(QTest::qWaitForWindowActive(w));
    f->view()->setFocus(Qt::OtherFocusReason);
    QStringList visited{QApplication::focusWidget()->objectName()};
    for (int i = 0; i < 12; ++i) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        visited << QApplication::focusWidget()->objectName();
    }
    QCOMPARE(visited,
             QStringList({"Picture1", "Check1", "Command3", "Com", "Command2", "Co", "Check2",
                          "Check3", "Combo1", "Command4", "Command1", "Combo2", "Picture1"}));
}

void TestMainWindow::previewDrawsOnePixelPerPixel()
{
    f->window->showCentered();
    QVERIFY(QTest::qWaitForWindowExposed(f->window.get()));
    QWidget *viewport = f->view()->viewport();
    QCOMPARE(viewport->size(), QSize(240, 320));
    QCOMPARE(viewport->mapTo(f->window.get(), QPoint(0, 0)), QPoint(2, 2));
    const QImage shot = f->view()->grab().toImage();
    // The cover's centre dot is white at preview (82, 105); the working
    // area around it is black, the status bar is not.
    QCOMPARE(shot.pixelColor(2 + 82, 2 + 105), QColor(Qt::white));
    QCOMPARE(shot.pixelColor(2 + 120, 2 + 280), QColor(Qt::black));
    QVERIFY(shot.pixelColor(2 + 120, 2 + 2) != QColor(Qt::black));
    // Drawn in stacking order: the shuffle indicator's black box covers the
    // top of the track number "01/99" behind it.
    QCOMPARE(shot.pixelColor(2 + 190, 2 + 123), QColor(Qt::black));
}

QTEST_MAIN(TestMainWindow)
#include "tst_mainwindow.moc"
