#include "windowfixture.h"

#include <QScreen>
#include <QtTest>

using namespace jukora;
using test::WindowFixture;

class TestMainWindow : public QObject
{
    Q_OBJECT

private slots:
    void init()
    {
        f = std::make_unique<WindowFixture>();
        f->show();
    }
    void cleanup() { f.reset(); }
    void windowIsFixedAndCentred();
    void focusOrder();
    void previewDrawsOnePixelPerPixel();
    void readoutsFollowTheDrag_data();
    void readoutsFollowTheDrag();
    void pressShowsSizeOrLoadsStyle();
    void arrowKeysPlaceTheLastPressed();

private:
    std::unique_ptr<WindowFixture> f;
};

void TestMainWindow::windowIsFixedAndCentred()
{
    MainWindow *w = f->window.get();
    QCOMPARE(w->windowTitle(), QStringLiteral("Jukora v2 patch editor"));
    QCOMPARE(w->minimumSize(), QSize(358, 324));
    QCOMPARE(w->maximumSize(), QSize(358, 324));
    QVERIFY(!(w->windowFlags() & Qt::WindowMaximizeButtonHint));
    const QRect screen = w->screen()->availableGeometry();
    QVERIFY(qAbs(w->geometry().center().x() - screen.center().x()) <= 1);
    QVERIFY(qAbs(w->geometry().center().y() - screen.center().y()) <= 1);
}

void TestMainWindow::focusOrder()
{
    QApplication::setActiveWindow(f->window.get());
    QVERIFY(QTest::qWaitForWindowActive(f->window.get()));
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

void TestMainWindow::readoutsFollowTheDrag_data()
{
    QTest::addColumn<QPointF>("to");
    QTest::addColumn<QString>("x");
    QTest::addColumn<QString>("y");
    // The cover taken 10 right of and 5 below its corner; Y counts from the
    // band's lower edge.
    QTest::newRow("whole") << QPointF(100, 105) << "90"
                           << "76";
    QTest::newRow("into the band") << QPointF(50, 10) << "40"
                                   << "0";
    QTest::newRow("half above the band") << QPointF(50, 28.5) << "40"
                                         << "-0.5";
    QTest::newRow("fraction") << QPointF(50.25, 100) << "40.25"
                              << "71";
}

void TestMainWindow::readoutsFollowTheDrag()
{
    QFETCH(QPointF, to);
    QFETCH(QString, x);
    QFETCH(QString, y);
    test::drag(f->view(), {17, 35}, to);
    QCOMPARE(f->text("Lxx"), x);
    QCOMPARE(f->text("Lyy"), y);
    QCOMPARE(f->text("Lw"), QStringLiteral("150"));
    // A press without a move leaves the position read-outs as they were.
    test::tap(f->view(), f->centreOf(4));
    QCOMPARE(f->text("Lxx"), x);
    QCOMPARE(f->text("Lw"), QStringLiteral("75"));
    QCOMPARE(f->text("Lh"), QStringLiteral("50"));
}

void TestMainWindow::pressShowsSizeOrLoadsStyle()
{
    // "00:00": bold, Medium, centred. The controls show it without changing it.
    test::tap(f->view(), f->centreOf(10));
    QCOMPARE(f->tag(), QStringLiteral("10"));
    QCOMPARE(f->combo("Co")->currentText(), QStringLiteral("Medium"));
    QCOMPARE(f->combo("Combo2")->currentText(), QStringLiteral("Center"));
    QVERIFY(f->check("Check2")->isChecked());
    QVERIFY(f->text("Lw").isEmpty()); // a label press leaves the size read-outs

    // Restyle "Title", then press "Album": Album keeps its own style and the
    // controls show it; Title keeps what it was given.
    test::tap(f->view(), f->centreOf(12));
    f->check("Check3")->setChecked(true);
    f->check("Check2")->setChecked(false);
    f->combo("Combo2")->setCurrentIndex(1);
    test::tap(f->view(), f->centreOf(13));
    const Element &album = f->model().element(13);
    QVERIFY(album.bold && !album.italic);
    QCOMPARE(album.alignment, 0);
    QVERIFY(f->check("Check2")->isChecked() && !f->check("Check3")->isChecked());
    const Element &title = f->model().element(12);
    QVERIFY(!title.bold && title.italic);
    QCOMPARE(title.alignment, 1);

    // A height no entry gives leaves the font entry as it was.
    f->model().setLabelPixelSize(11, 21);
    f->combo("Co")->setCurrentIndex(3);
    test::tap(f->view(), f->centreOf(11));
    QCOMPARE(f->combo("Co")->currentText(), QStringLiteral("Big"));
    QCOMPARE(f->model().element(11).pixelSize, 21);
}

void TestMainWindow::arrowKeysPlaceTheLastPressed()
{
    QApplication::setActiveWindow(f->window.get());
    test::tap(f->view(), {17, 35});
    QCOMPARE(QApplication::focusWidget(), f->view());
    QTest::keyClick(f->view(), Qt::Key_Right);
    QTest::keyClick(f->view(), Qt::Key_Down, Qt::ShiftModifier);
    QCOMPARE(f->text("Lxx"), QStringLiteral("8"));
    QCOMPARE(f->text("Lyy"), QStringLiteral("16"));
    QCOMPARE(f->view()->guideL1()->x(), 8.0);
}

QTEST_MAIN(TestMainWindow)
#include "tst_mainwindow.moc"
