#include "dragtool.h"
#include "previewitems.h"
#include "previewmodel.h"
#include "previewview.h"
#include "testutil.h"

#include <QScreen>
#include <QSignalSpy>
#include <QtTest>

using namespace jukora;

// The preview on its own: what it shows and which element a press takes.
class TestPreviewView : public QObject
{
    Q_OBJECT

private slots:
    void init()
    {
        model = std::make_unique<PreviewModel>();
        view = std::make_unique<PreviewView>(*model);
        view->show();
        QVERIFY(QTest::qWaitForWindowExposed(view.get()));
    }
    void hitTest_data()
    {
        QTest::addColumn<QPointF>("at");
        QTest::addColumn<int>("element");
        // Whole boxes, and where they overlap the front-most.
        QTest::newRow("icon corner") << QPointF(8, 187) << 0;
        QTest::newRow("icon far corner") << QPointF(31.5, 233.5) << 1;
        QTest::newRow("label beyond its text") << QPointF(220, 230) << 12;
        QTest::newRow("artist icon over title icon") << QPointF(20, 210.5) << 0;
        QTest::newRow("title icon below it") << QPointF(20, 211.5) << 1;
        QTest::newRow("background never") << QPointF(200, 280) << 8;
    }
    void hitTest()
    {
        QFETCH(QPointF, at);
        QFETCH(int, element);
        QImage picture(240, 266, QImage::Format_RGB32);
        picture.fill(Qt::red);
        model->setBackground(picture);
        QCOMPARE(view->elementAt(at), element);
    }
    void pressesTakeTheFrontElement()
    {
        // All thirteen on one spot: each press takes the front one, which
        // then moves away, showing the next.
        for (int i = 0; i < 14; ++i)
            model->setPosition(i, 50, 100);
        QList<int> taken;
        for (int i = 0; i < 13; ++i) {
            test::press(view.get(), {51, 101});
            taken << view->tool().lastPressed();
            test::move(view.get(), {151, 301}, Qt::LeftButton);
            test::release(view.get(), {151, 301});
        }
        QCOMPARE(taken, QList<int>({4, 3, 5, 6, 10, 9, 13, 12, 11, 0, 2, 1, 7}));
    }
    void guidesFollowWhileHidden()
    {
        view->tool().setGuidesVisible(false);
        test::drag(view.get(), {17, 35}, {60, 80});
        QVERIFY(!view->verticalGuide()->isVisible());
        view->tool().setGuidesVisible(true);
        QCOMPARE(view->verticalGuide()->x(), 50.0);
        QCOMPARE(view->horizontalGuide()->y(), 75.0);
    }
    void partialRepaintsLeaveNoTrace()
    {
        // Moves repaint only what changed: the screen must show what a full
        // repaint draws, the cover passing under the labels and boxes.
        QApplication::processEvents();
        test::press(view.get(), {17, 35});
        for (int i = 0; i < 40; ++i) {
            test::move(view.get(), QPointF(20 + 3 * i, 40 + 4 * i), Qt::LeftButton);
            QApplication::processEvents();
        }
        test::release(view.get(), {137, 196});
        QApplication::processEvents();
        const QPoint origin = view->viewport()->mapTo(view.get(), QPoint(0, 0));
        const QImage onScreen = view->screen()
                                    ->grabWindow(view->winId(), origin.x(), origin.y(), 240, 320)
                                    .toImage()
                                    .convertToFormat(QImage::Format_RGB32);
        const QImage full = shot();
        QVERIFY(onScreen == full);
    }

    void place_data()
    {
        // The cover (7, 30, 150 x 150) pressed at `at` and moved to `to`.
        QTest::addColumn<QPointF>("at");
        QTest::addColumn<QPointF>("to");
        QTest::addColumn<QPointF>("placed");
        const QPointF grab(17, 35); // 10 right of and 5 below its corner
        QTest::newRow("follows the grab point") << grab << QPointF(100, 105) << QPointF(90, 100);
        QTest::newRow("grabbed at its first pixel")
            << QPointF(7, 30) << QPointF(200, 250) << QPointF(200, 250);
        QTest::newRow("grabbed at its last pixel")
            << QPointF(156, 179) << QPointF(200, 250) << QPointF(51, 101);
        QTest::newRow("past the left edge") << grab << QPointF(3, 100) << QPointF(0, 95);
        QTest::newRow("into the band") << grab << QPointF(50, 10) << QPointF(40, 24);
        QTest::newRow("23 is clamped") << grab << QPointF(50, 28) << QPointF(40, 24);
        QTest::newRow("23.5 stands") << grab << QPointF(50, 28.5) << QPointF(40, 23.5);
        QTest::newRow("fractions stand") << grab << QPointF(50.25, 100) << QPointF(40.25, 95);
        QTest::newRow("no bound right or bottom") << grab << QPointF(410, 505) << QPointF(400, 500);
    }
    void place()
    {
        QFETCH(QPointF, at);
        QFETCH(QPointF, to);
        QFETCH(QPointF, placed);
        QSignalSpy placedSpy(&view->tool(), &DragTool::targetPlaced);
        test::press(view.get(), at);
        QVERIFY(!view->tool().elementsEnabled());
        test::move(view.get(), to, Qt::LeftButton);
        QCOMPARE(cover(), placed);
        QCOMPARE(QPointF(view->tool().guideX(), view->tool().guideY()), placed);
        QCOMPARE(placedSpy.count(), 1);
        test::release(view.get(), to);
        QVERIFY(view->tool().elementsEnabled());
    }
    void onlyTheLeftButtonAloneDrags()
    {
        view->tool().press(patch::AlbumCover, {0, 0});
        QVERIFY(view->tool().move(Qt::LeftButton, {50, 60}));
        // The right button joins: the drag target ends, and does not come back.
        QVERIFY(!view->tool().move(Qt::LeftButton | Qt::RightButton, {70, 70}));
        QCOMPARE(view->tool().dragTarget(), std::int16_t(patch::NoElement));
        QVERIFY(!view->tool().move(Qt::LeftButton, {80, 80}));
        QCOMPARE(cover(), QPointF(50, 60));
        view->tool().release();
        view->tool().press(patch::NoElement, {0, 0}); // the bare surface holds nothing
        QVERIFY(view->tool().elementsEnabled());
        QVERIFY(view->tool().nudge(1, 10)); // the keys still move the last pressed
        QCOMPARE(cover(), QPointF(51, 70));
        QVERIFY(!DragTool(*model).nudge(1, 0)); // nothing pressed yet
        // A right-button press through the view, on the logo, takes nothing.
        test::press(view.get(), {198, 54}, Qt::RightButton);
        QCOMPARE(view->tool().lastPressed(), int(patch::AlbumCover));
    }

    void nudgesMoveOnlyTheirAxis_data()
    {
        // The cover from (left, top), one key of (dx, dy): where it ends.
        QTest::addColumn<QPointF>("from");
        QTest::addColumn<QPoint>("by");
        QTest::addColumn<QPointF>("to");
        const struct
        {
            const char *name;
            QPointF from;
            QPoint by;
            QPointF to;
        } rows[] = {{"up, right of the last pixel", {260, 100}, {0, -1}, {260, 99}},
                    {"right, past the last pixel", {292, 100}, {1, 0}, {292, 100}},
                    {"left, below the last pixel", {100, 400}, {-1, 0}, {99, 400}},
                    {"right, onto the last pixel", {238.5, 50}, {10, 0}, {239, 50}},
                    {"left, onto the edge", {0.5, 50}, {-10, 0}, {0, 50}},
                    {"up, a fraction into the band", {50, 24.5}, {0, -1}, {50, 23.5}}};
        for (const auto &row : rows)
            QTest::newRow(row.name) << row.from << row.by << row.to;
    }
    void nudgesMoveOnlyTheirAxis()
    {
        QFETCH(QPointF, from);
        QFETCH(QPoint, by);
        QFETCH(QPointF, to);
        model->setPosition(patch::AlbumCover, float(from.x()), float(from.y()));
        view->tool().hold(patch::AlbumCover);
        QVERIFY(view->tool().nudge(by.x(), by.y()));
        QCOMPARE(cover(), to);
    }
    void everyDragIsOneStep()
    {
        QUndoStack *stack = model->undoStack();
        const QPointF bare(200, 280);
        // Before any press the artist icon is the one a drag carries.
        test::drag(view.get(), bare, bare + QPointF(5, 5));
        QCOMPARE(stack->count(), 1);
        test::tap(view.get(), {17, 35}); // the cover, no move: no step
        QCOMPARE(stack->count(), 1);
        // A drag from bare surface carries the cover, by its grab point.
        test::drag(view.get(), bare, bare + QPointF(20, 10));
        QCOMPARE(stack->count(), 2);
        QCOMPARE(cover(), QPointF(210, 285));
    }
    void keysWaitForTheMouse()
    {
        QUndoStack *stack = model->undoStack();
        test::press(view.get(), {17, 35});
        test::move(view.get(), {27, 45}, Qt::LeftButton);
        QTest::keyClick(view.get(), Qt::Key_Right); // the mouse holds the cover
        test::move(view.get(), {37, 55}, Qt::LeftButton);
        test::release(view.get(), {37, 55});
        QCOMPARE(cover(), QPointF(27, 50));
        QCOMPARE(stack->count(), 1);
        // Two elements nudged, the second pressed without a move: two steps.
        QTest::keyClick(view.get(), Qt::Key_Right);
        test::tap(view.get(), {198, 54}); // the logo
        QTest::keyClick(view.get(), Qt::Key_Right);
        QCOMPARE(stack->count(), 3);
        stack->undo();
        QCOMPARE(cover(), QPointF(28, 50));
    }
    void nudgesThereAndBackLeaveNoStep()
    {
        QUndoStack *stack = model->undoStack();
        view->tool().hold(patch::AlbumCover);
        QVERIFY(view->tool().nudge(1, 0) && view->tool().nudge(-1, 0));
        QCOMPARE(stack->count(), 0);
        QVERIFY(!stack->canUndo());
        QVERIFY(view->tool().nudge(0, 1)); // a new step, not one merged into nothing
        QCOMPARE(stack->count(), 1);
    }
    void escapeLetsGo_data()
    {
        QTest::addColumn<int>("element");
        QTest::addColumn<QPointF>("at");
        QTest::newRow("artist icon, the first") << int(patch::ArtistIcon) << QPointF(10, 190);
        QTest::newRow("album, the last") << int(patch::AlbumLabel) << QPointF(60, 240);
    }
    void escapeLetsGo()
    {
        QFETCH(int, element);
        QFETCH(QPointF, at);
        test::tap(view.get(), at);
        QCOMPARE(view->tool().lastPressed(), element);
        const float left = model->element(element).left;
        QTest::keyClick(view.get(), Qt::Key_Escape);
        QTest::keyClick(view.get(), Qt::Key_Right);
        QCOMPARE(model->element(element).left, left);
        QCOMPARE(view->tool().lastPressed(), int(patch::NoElement));
    }

private:
    QImage shot()
    {
        view->viewport()->repaint();
        return view->viewport()->grab().toImage().convertToFormat(QImage::Format_RGB32);
    }
    QPointF cover() const
    {
        return {model->element(patch::AlbumCover).left, model->element(patch::AlbumCover).top};
    }
    std::unique_ptr<PreviewModel> model;
    std::unique_ptr<PreviewView> view;
};

QTEST_MAIN(TestPreviewView)
#include "tst_previewview.moc"
