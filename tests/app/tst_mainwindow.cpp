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
