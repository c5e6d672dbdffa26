#include "previewitems.h"
#include "windowfixture.h"

#include <QtTest>

using namespace jukora;
using test::WindowFixture;

class TestDrag : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void dragFollowsTheGrabPoint();
    void leftEdgeAndTopBand_data();
    void leftEdgeAndTopBand();
    void noBoundRightOrBottom();
    void leftAndRightTogetherStop();
    void bareSurfacePressMovesNothing();
    void elementsDeafUntilRelease();
    void hitTestFrontMostWholeBox();
    void hiddenGuidesStillFollow();
    void imagePressShowsItsSize();
    void labelPressLoadsStyleWithoutChangingIt();
    void labelWithUnknownSizeKeepsFontEntry();
    void otherButtonsChangeNothing();
    void pressWithoutMoveLeavesReadouts();
    void arrowKeysPlaceTheLastPressed();
    void dragThenGenerateWritesNewPosition();
    void partialRepaintsLeaveNoTrace();

private:
    std::unique_ptr<WindowFixture> f;
};

void TestDrag::init()
{
    f = std::make_unique<WindowFixture>();
    f->window->showCentered();
    QVERIFY(QTest::qWaitForWindowExposed(f->window.get()));
}

void TestDrag::cleanup()
{
    f.reset();
}

void TestDrag::dragFollowsTheGrabPoint()
{
    // Take the cover 10 pixels from its left edge and 5 below its top.
    test::press(f->view(), {17, 35});
    QCOMPARE(f->model().SelIndex, std::int16_t(7));
    QCOMPARE(f->model().GrabX, 10.f);
    QCOMPARE(f->model().GrabY, 5.f);
    test::move(f->view(), {100, 105}, Qt::LeftButton);
    const Element &cover = f->model().element(7);
    QCOMPARE(cover.left, 90.f);
    QCOMPARE(cover.top, 100.f);
    QCOMPARE(f->label("Lxx")->text(), QStringLiteral("90"));
    QCOMPARE(f->label("Lyy")->text(), QStringLiteral("76"));
    QCOMPARE(f->view()->guideL1()->x(), 90.0);
    QCOMPARE(f->view()->guideL2()->y(), 100.0);
    QCOMPARE(f->view()->imageItem(7)->pos(), QPointF(90, 100));
    test::release(f->view(), {100, 105});
    QVERIFY(f->model().element(0).enabled);
    // After the release, a plain move ends the drag target.
    test::move(f->view(), {120, 120}, Qt::NoButton);
    QCOMPARE(f->model().SelIndex, std::int16_t(8));
    QCOMPARE(cover.left, 90.f);
}

void TestDrag::leftEdgeAndTopBand_data()
{
    QTest::addColumn<QPointF>("to");
    QTest::addColumn<QPointF>("topLeft");
    QTest::addColumn<QString>("xText");
    QTest::addColumn<QString>("yText");
    // Grab point (10, 5) inside the cover.
    QTest::newRow("past the left edge") << QPointF(3, 100) << QPointF(0, 95) << "0"
                                        << "71";
    QTest::newRow("into the band") << QPointF(50, 10) << QPointF(40, 24) << "40"
                                   << "0";
    QTest::newRow("exactly 24") << QPointF(50, 29) << QPointF(40, 24) << "40"
                                << "0";
    QTest::newRow("23 is clamped") << QPointF(50, 28) << QPointF(40, 24) << "40"
                                   << "0";
    QTest::newRow("23.5 stands") << QPointF(50, 28.5) << QPointF(40, 23.5) << "40"
                                 << "-0.5";
    QTest::newRow("fraction") << QPointF(50.25, 100) << QPointF(40.25, 95) << "40.25"
                              << "71";
}

void TestDrag::leftEdgeAndTopBand()
{
    QFETCH(QPointF, to);
    QFETCH(QPointF, topLeft);
    QFETCH(QString, xText);
    QFETCH(QString, yText);
    test::press(f->view(), {17, 35});
    test::move(f->view(), to, Qt::LeftButton);
    const Element &cover = f->model().element(7);
    QCOMPARE(QPointF(cover.left, cover.top), topLeft);
    QCOMPARE(f->label("Lxx")->text(), xText);
    QCOMPARE(f->label("Lyy")->text(), yText);
    QCOMPARE(f->model().guideX(), float(topLeft.x()));
    QCOMPARE(f->model().guideY(), float(topLeft.y()));
}

void TestDrag::noBoundRightOrBottom()
{
    // A label is dragged by the same rules, beyond the preview too.
    test::press(f->view(), {36, 206}); // "Title", grab (1, 1)
    QCOMPARE(f->model().SelIndex, std::int16_t(12));
    test::move(f->view(), {401, 501}, Qt::LeftButton);
    QCOMPARE(f->model().element(12).left, 400.f);
    QCOMPARE(f->model().element(12).top, 500.f);
    QCOMPARE(f->label("Lyy")->text(), QStringLiteral("476"));
}

void TestDrag::leftAndRightTogetherStop()
{
    test::press(f->view(), {17, 35});
    test::move(f->view(), {60, 60}, Qt::LeftButton);
    test::move(f->view(), {70, 70}, Qt::LeftButton | Qt::RightButton);
    QCOMPARE(f->model().SelIndex, std::int16_t(8));
    test::move(f->view(), {80, 80}, Qt::LeftButton);
    QCOMPARE(f->model().element(7).left, 50.f);
    QCOMPARE(f->model().element(7).top, 55.f);
}

void TestDrag::bareSurfacePressMovesNothing()
{
    test::move(f->view(), {200, 280}, Qt::NoButton); // the pointer arrives
    test::press(f->view(), {200, 280});              // black working area
    test::move(f->view(), {100, 100}, Qt::LeftButton);
    QCOMPARE(f->model().SelIndex, std::int16_t(8));
    for (int i : {0, 1, 2, 3, 4, 5, 6, 7, 9, 10, 11, 12, 13})
        QVERIFY(f->model().element(i).enabled);
    QCOMPARE(f->model().element(0).left, 8.f);
    QVERIFY(f->label("Lxx")->text().isEmpty());
    // The release re-enables the elements even if nothing was dragged.
    test::release(f->view(), {100, 100});
    QVERIFY(f->model().element(7).enabled);
}

void TestDrag::elementsDeafUntilRelease()
{
    test::press(f->view(), {17, 35});
    for (int i : {0, 1, 2, 3, 4, 5, 6, 7, 9, 10, 11, 12, 13}) {
        QVERIFY(!f->model().element(i).enabled);
        QVERIFY(!(i < 8 ? static_cast<QGraphicsItem *>(f->view()->imageItem(i))
                        : f->view()->labelItem(i))
                     ->isEnabled());
    }
    // A second press (the right button joins) finds no element.
    test::press(f->view(), f->centreOf(4), Qt::RightButton, Qt::LeftButton);
    QCOMPARE(f->view()->elementAt(f->centreOf(4)), 8);
    QCOMPARE(f->model().SelIndex, std::int16_t(7));
    QVERIFY(f->label("Lw")->text() == QStringLiteral("150"));
    test::release(f->view(), {17, 35});
    QCOMPARE(f->view()->elementAt(f->centreOf(4)), 4);
}

void TestDrag::hitTestFrontMostWholeBox()
{
    // The icons' transparent corners still belong to them.
    QCOMPARE(f->view()->elementAt({8, 187}), 0);
    QCOMPARE(f->view()->elementAt({31.5, 233.5}), 1);
    // Where boxes overlap the front-most wins: the artist icon (8..32 x
    // 187..211) lies over the title icon (y from 210), the shuffle indicator
    // over the track number, the title label over the artist label.
    QCOMPARE(f->view()->elementAt({20, 210.5}), 0);
    QCOMPARE(f->view()->elementAt({20, 211.5}), 1);
    QCOMPARE(f->view()->elementAt({200, 122}), 6);
    QCOMPARE(f->view()->elementAt({170, 122}), 9);
    QCOMPARE(f->view()->elementAt({100, 208}), 12);
    QCOMPARE(f->view()->elementAt({100, 204}), 11);
    // Labels take presses over their whole box, not only their text.
    QCOMPARE(f->view()->elementAt({220, 230}), 12);
    // The background picture never takes the mouse.
    QImage picture(240, 266, QImage::Format_RGB32);
    picture.fill(Qt::red);
    f->model().setBackground(picture);
    QCOMPARE(f->view()->elementAt({200, 280}), 8);
}

void TestDrag::hiddenGuidesStillFollow()
{
    f->check("Check1")->setChecked(false);
    QVERIFY(!f->view()->guideL1()->isVisible());
    QVERIFY(!f->view()->guideL2()->isVisible());
    test::press(f->view(), {17, 35});
    test::move(f->view(), {60, 80}, Qt::LeftButton);
    test::release(f->view(), {60, 80});
    QVERIFY(!f->view()->guideL1()->isVisible());
    f->check("Check1")->setChecked(true);
    QVERIFY(f->view()->guideL1()->isVisible());
    QCOMPARE(f->view()->guideL1()->x(), 50.0);
    QCOMPARE(f->view()->guideL2()->y(), 75.0);
    // Drawn by inversion: over the black working area a guide is light.
    f->view()->viewport()->repaint();
    const QImage shot = f->view()->viewport()->grab().toImage();
    int light = 0;
    for (int y = 200; y < 280; ++y)
        light += qGray(shot.pixel(50, y)) > 200;
    QVERIFY2(light > 10 && light < 70, qPrintable(QString::number(light))); // dotted
}

void TestDrag::imagePressShowsItsSize()
{
    test::press(f->view(), f->centreOf(4));
    QCOMPARE(f->label("Lw")->text(), QStringLiteral("75"));
    QCOMPARE(f->label("Lh")->text(), QStringLiteral("50"));
    test::release(f->view(), f->centreOf(4));
    test::press(f->view(), {8, 187}); // top-left pixel of a 24 x 24 icon
    QCOMPARE(f->model().GrabX, 0.f);
    QCOMPARE(f->model().GrabY, 0.f);
    test::release(f->view(), {8, 187});
    test::press(f->view(), {31, 210 + 23}); // bottom-right pixel of the title icon
    QCOMPARE(f->model().GrabX, 23.f);
    QCOMPARE(f->model().GrabY, 23.f);
    QCOMPARE(f->label("Lw")->text(), QStringLiteral("24"));
    test::release(f->view(), {31, 233});
    // A label press leaves the size read-outs alone.
    test::press(f->view(), f->centreOf(13));
    QCOMPARE(f->label("Lw")->text(), QStringLiteral("24"));
}

void TestDrag::labelPressLoadsStyleWithoutChangingIt()
{
    test::press(f->view(), f->centreOf(10)); // "00:00": bold, 18 px, centred
    QCOMPARE(f->tag(), QStringLiteral("10"));
    QCOMPARE(f->combo("Co")->currentText(), QStringLiteral("Medium"));
    QCOMPARE(f->combo("Combo2")->currentText(), QStringLiteral("Center"));
    QVERIFY(f->check("Check2")->isChecked());
    QVERIFY(!f->check("Check3")->isChecked());
    test::release(f->view(), f->centreOf(10));

    // Style "Title", then press "Album": Album keeps its own style and the
    // controls show it; Title keeps what it was given.
    test::tap(f->view(), f->centreOf(12));
    QCOMPARE(f->combo("Co")->currentText(), QStringLiteral("Standard"));
    QCOMPARE(f->combo("Combo2")->currentText(), QStringLiteral("Left"));
    f->check("Check3")->setChecked(true);
    f->check("Check2")->setChecked(false);
    f->combo("Combo2")->setCurrentIndex(1);
    test::press(f->view(), f->centreOf(13));
    const Element &album = f->model().element(13);
    QVERIFY(album.bold);
    QVERIFY(!album.italic);
    QCOMPARE(album.alignment, 0);
    QCOMPARE(album.pixelSize, 18);
    QVERIFY(f->check("Check2")->isChecked());
    QVERIFY(!f->check("Check3")->isChecked());
    const Element &title = f->model().element(12);
    QVERIFY(!title.bold);
    QVERIFY(title.italic);
    QCOMPARE(title.alignment, 1);
    for (int i = 9; i <= 13; ++i)
        QCOMPARE(f->model().element(i).caption,
                 QStringList({"01/99", "00:00", "Artist", "Title", "Album"}).at(i - 9));
}

void TestDrag::labelWithUnknownSizeKeepsFontEntry()
{
    f->model().setLabelPixelSize(11, 21);
    f->combo("Co")->setCurrentIndex(3);
    test::press(f->view(), f->centreOf(11));
    QCOMPARE(f->tag(), QStringLiteral("11"));
    QCOMPARE(f->combo("Co")->currentText(), QStringLiteral("Big"));
    QCOMPARE(f->model().element(11).pixelSize, 21);
}

void TestDrag::otherButtonsChangeNothing()
{
    for (Qt::MouseButton button : {Qt::RightButton, Qt::MiddleButton}) {
        test::press(f->view(), f->centreOf(12), button);
        QCOMPARE(f->model().SelIndex, std::int16_t(0));
        QCOMPARE(f->tag(), QStringLiteral("0"));
        QVERIFY(f->model().element(12).enabled);
        QVERIFY(f->label("Lw")->text().isEmpty());
        test::release(f->view(), f->centreOf(12), button);
    }
    QCOMPARE(f->model().lastPressed(), -1);
}

void TestDrag::pressWithoutMoveLeavesReadouts()
{
    test::press(f->view(), {17, 35});
    test::move(f->view(), {30, 60}, Qt::LeftButton);
    test::release(f->view(), {30, 60});
    QCOMPARE(f->label("Lxx")->text(), QStringLiteral("20"));
    test::tap(f->view(), f->centreOf(4));
    QCOMPARE(f->label("Lxx")->text(), QStringLiteral("20"));
    QCOMPARE(f->label("Lyy")->text(), QStringLiteral("31"));
}

void TestDrag::arrowKeysPlaceTheLastPressed()
{
    QApplication::setActiveWindow(f->window.get());
    test::tap(f->view(), {17, 35});
    QCOMPARE(QApplication::focusWidget(), f->view());
    test::move(f->view(), {200, 280}, Qt::NoButton);
    QCOMPARE(f->model().SelIndex, std::int16_t(8));
    QTest::keyClick(f->view(), Qt::Key_Right);
    QTest::keyClick(f->view(), Qt::Key_Down, Qt::ShiftModifier);
    QCOMPARE(f->model().element(7).left, 8.f);
    QCOMPARE(f->model().element(7).top, 40.f);
    QCOMPARE(f->label("Lxx")->text(), QStringLiteral("8"));
    QCOMPARE(f->label("Lyy")->text(), QStringLiteral("16"));
    QCOMPARE(f->model().guideX(), 8.f);
    QCOMPARE(f->model().SelIndex, std::int16_t(8)); // the drag target is not revived
    QTest::keyClick(f->view(), Qt::Key_Left, Qt::ShiftModifier);
    QTest::keyClick(f->view(), Qt::Key_Up, Qt::ShiftModifier);
    QTest::keyClick(f->view(), Qt::Key_Up, Qt::ShiftModifier);
    QCOMPARE(f->model().element(7).left, 0.f);
    QCOMPARE(f->model().element(7).top, 24.f);
}

void TestDrag::dragThenGenerateWritesNewPosition()
{
    QTemporaryDir dir;
    QDir(dir.path()).mkdir(QStringLiteral("DB"));
    test::writeFile(dir.filePath(QStringLiteral("DB/m.txt")),
                    "*cx*A: 00 00;x\r\n*cy*B: 00 00;y\r\n*alx*C: 00 00;a\r\n");
    WindowFixture g(dir.filePath(QStringLiteral("DB")));
    test::press(g.view(), {17, 35});
    test::move(g.view(), {100, 105}, Qt::LeftButton);
    test::release(g.view(), {100, 105});
    test::press(g.view(), {36, 232}); // "Album", grab (1, 1)
    test::move(g.view(), {51, 251}, Qt::LeftButton);
    test::release(g.view(), {51, 251});
    g.dialogs.saveAnswers << dir.filePath(QStringLiteral("p.vkp"));
    g.window->GenerateRun();
    QCOMPARE(test::readFile(dir.filePath(QStringLiteral("p.vkp"))),
             QByteArray("A: 00 5A21;x\r\nB: 00 4C22;y\r\nC: 00 3237;a\r\n"));
}

void TestDrag::partialRepaintsLeaveNoTrace()
{
    // Moves repaint only the strips that changed; what is on screen must be
    // what a full repaint draws.
    QWidget *viewport = f->view()->viewport();
    QApplication::processEvents();
    test::press(f->view(), {17, 35});
    for (int i = 0; i < 40; ++i) {
        test::move(f->view(), QPointF(20 + 3 * i, 40 + 4 * i), Qt::LeftButton);
        QApplication::processEvents();
    }
    test::release(f->view(), {137, 196});
    QApplication::processEvents();
    const QPoint origin = viewport->mapTo(f->window.get(), QPoint(0, 0));
    const QImage onScreen = f->window->screen()
                                ->grabWindow(f->window->winId(), origin.x(), origin.y(), 240, 320)
                                .toImage()
                                .convertToFormat(QImage::Format_RGB32);
    const QImage full = viewport->grab().toImage().convertToFormat(QImage::Format_RGB32);
    QCOMPARE(onScreen.size(), full.size());
    QVERIFY(onScreen == full);
}

QTEST_MAIN(TestDrag)
#include "tst_drag.moc"
