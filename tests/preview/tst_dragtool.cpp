#include "dragtool.h"
#include "previewmodel.h"

#include <QSignalSpy>
#include <QtTest>

using namespace jukora;

// The drag cycle and the keys on the document alone: no window, no view.
class TestDragTool : public QObject
{
    Q_OBJECT

private slots:
    void init()
    {
        model = std::make_unique<PreviewModel>();
        tool = std::make_unique<DragTool>(*model);
    }
    void place_data();
    void place();
    void onlyTheLeftButtonAloneDrags();
    void nudgesMoveTheLastPressed();
    void layoutRoundTrip();

private:
    QPointF topLeft(int index) const
    {
        return {model->element(index).left, model->element(index).top};
    }
    std::unique_ptr<PreviewModel> model;
    std::unique_ptr<DragTool> tool;
};

void TestDragTool::place_data()
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

void TestDragTool::place()
{
    QFETCH(QPointF, to);
    QFETCH(QPointF, placed);
    QSignalSpy placedSpy(tool.get(), &DragTool::targetPlaced);
    tool->press(patch::AlbumCover, {10, 5});
    QVERIFY(!tool->elementsEnabled());
    QVERIFY(tool->move(Qt::LeftButton, to));
    QCOMPARE(topLeft(patch::AlbumCover), placed);
    QCOMPARE(QPointF(tool->guideX(), tool->guideY()), placed);
    QCOMPARE(placedSpy.count(), 1);
    tool->release();
    QVERIFY(tool->elementsEnabled());
    QCOMPARE(tool->selIndex(), std::int16_t(patch::AlbumCover));
}

void TestDragTool::onlyTheLeftButtonAloneDrags()
{
    tool->press(patch::TitleLabel, {1, 1});
    QVERIFY(tool->move(Qt::LeftButton, {51, 61}));
    // The right button joins: the drag target ends, and does not come back.
    QVERIFY(!tool->move(Qt::LeftButton | Qt::RightButton, {70, 70}));
    QCOMPARE(tool->selIndex(), std::int16_t(patch::NoElement));
    QVERIFY(!tool->move(Qt::LeftButton, {80, 80}));
    QCOMPARE(topLeft(patch::TitleLabel), QPointF(50, 60));
    tool->release();
    // The bare surface holds nothing to press.
    tool->press(patch::NoElement, {0, 0});
    QVERIFY(tool->elementsEnabled());
    QCOMPARE(tool->lastPressed(), int(patch::TitleLabel));
}

void TestDragTool::nudgesMoveTheLastPressed()
{
    QVERIFY(!tool->nudge(1, 0)); // nothing pressed yet
    tool->press(patch::AlbumCover, {0, 0});
    tool->release();
    tool->move(Qt::NoButton, {200, 200}); // the drag target ends; the keys still work
    QVERIFY(tool->nudge(1, 10));
    QCOMPARE(topLeft(patch::AlbumCover), QPointF(8, 40));
    QCOMPARE(tool->selIndex(), std::int16_t(patch::NoElement));
    QVERIFY(tool->nudge(-10, -10));
    QVERIFY(tool->nudge(0, -10));
    QCOMPARE(topLeft(patch::AlbumCover), QPointF(0, 24)); // the same edge and band
}

void TestDragTool::layoutRoundTrip()
{
    QSignalSpy changed(model.get(), &PreviewModel::elementChanged);
    patch::Layout layout = model->layout();
    QCOMPARE(layout.left, patch::defaultLayout().left);
    layout.left[patch::AlbumLabel] = 77;
    layout.alignment[patch::AlbumLabel] = 1;
    layout.coverWidth = 99;
    model->setLayout(layout);
    QCOMPARE(model->element(patch::AlbumLabel).left, 77.f);
    QCOMPARE(model->alignment(patch::AlbumLabel), 1);
    QCOMPARE(model->element(patch::AlbumCover).height, 99.f); // the cover stays square
    QCOMPARE(changed.count(), 13);
    QCOMPARE(model->layout().left, layout.left);
}

QTEST_GUILESS_MAIN(TestDragTool)
#include "tst_dragtool.moc"
