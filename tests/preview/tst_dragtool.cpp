#include "dragtool.h"
#include "previewmodel.h"

#include <QSignalSpy>
#include <QtTest>

using namespace jukora;

// The drag cycle and the keys on the document alone: no window, no view.
class TestDragTool : public QObject
{
    Q_OBJECT

    PreviewModel model;
    DragTool tool{model};
    QPointF cover() const { return {model.element(7).left, model.element(7).top}; }

private slots:
    void init() { model.setLayout(patch::defaultLayout()); }
    void place_data()
    {
        QTest::addColumn<QPointF>("to");
        QTest::addColumn<QPointF>("placed");
        // The cover taken 10 right of and 5 below its corner.
        QTest::newRow("follows the grab point") << QPointF(100, 105) << QPointF(90, 100);
        QTest::newRow("past the left edge") << QPointF(3, 100) << QPointF(0, 95);
        QTest::newRow("into the band") << QPointF(50, 10) << QPointF(40, 24);
        QTest::newRow("23 is clamped") << QPointF(50, 28) << QPointF(40, 24);
        QTest::newRow("23.5 stands") << QPointF(50, 28.5) << QPointF(40, 23.5);
        QTest::newRow("fractions stand") << QPointF(50.25, 100) << QPointF(40.25, 95);
        QTest::newRow("no bound right or bottom") << QPointF(410, 505) << QPointF(400, 500);
    }
    void place()
    {
        QFETCH(QPointF, to);
        QFETCH(QPointF, placed);
        QSignalSpy placedSpy(&tool, &DragTool::targetPlaced);
        tool.press(patch::AlbumCover, {10, 5});
        QVERIFY(!tool.elementsEnabled());
        QVERIFY(tool.move(Qt::LeftButton, to));
        QCOMPARE(cover(), placed);
        QCOMPARE(QPointF(tool.guideX(), tool.guideY()), placed);
        QCOMPARE(placedSpy.count(), 1);
        tool.release();
        QVERIFY(tool.elementsEnabled());
    }
    void onlyTheLeftButtonAloneDrags()
    {
        tool.press(patch::AlbumCover, {0, 0});
        QVERIFY(tool.move(Qt::LeftButton, {50, 60}));
        // The right button joins: the drag target ends, and does not come back.
        QVERIFY(!tool.move(Qt::LeftButton | Qt::RightButton, {70, 70}));
        QCOMPARE(tool.selIndex(), std::int16_t(patch::NoElement));
        QVERIFY(!tool.move(Qt::LeftButton, {80, 80}));
        QCOMPARE(cover(), QPointF(50, 60));
        tool.release();
        tool.press(patch::NoElement, {0, 0}); // the bare surface holds nothing
        QVERIFY(tool.elementsEnabled());
    }
    void nudgesMoveTheLastPressed()
    {
        tool.press(patch::AlbumCover, {0, 0});
        tool.release();
        tool.move(Qt::NoButton, {200, 200}); // the drag target ends; the keys still work
        QVERIFY(tool.nudge(1, 10));
        QCOMPARE(cover(), QPointF(8, 40));
        QCOMPARE(tool.selIndex(), std::int16_t(patch::NoElement));
        QVERIFY(tool.nudge(-10, -10) && tool.nudge(0, -10));
        QCOMPARE(cover(), QPointF(0, 24)); // the same edge and band
        QVERIFY(tool.nudge(250, 400));     // no further than the last pixel
        QCOMPARE(cover(), QPointF(239, 319));
        QVERIFY(!DragTool(model).nudge(1, 0)); // nothing pressed yet
    }
};

QTEST_GUILESS_MAIN(TestDragTool)
#include "tst_dragtool.moc"
