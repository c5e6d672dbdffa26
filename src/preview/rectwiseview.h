#pragma once

#include <QGraphicsView>

namespace jukora {

/// A graphics view that draws each rectangle of an exposed region on its
/// own, under a plain rectangular clip, always back to front.
///
/// Why: a drag move repaints a few thin strips, and Qt's raster engine
/// blends far slower under a clip made of several rectangles than under
/// one (8x in our measurements). The only hook that lets a view split the
/// drawing of its items is QGraphicsView::drawItems with IndirectPainting,
/// which Qt keeps for compatibility and advises against in new code. The
/// non-deprecated ways tried instead (one QGraphicsView::paintEvent per
/// rectangle; QGraphicsScene::render per rectangle) left parts of the
/// preview undrawn or left traces of the inverted guide lines. If a later
/// Qt drops the hook, the view still draws correctly through the default
/// path, only slower.
class RectwiseView : public QGraphicsView
{
public:
    explicit RectwiseView(QWidget *parent = nullptr);

protected:
    void paintEvent(QPaintEvent *event) override;
    void drawItems(QPainter *painter, int numItems, QGraphicsItem *items[],
                   const QStyleOptionGraphicsItem options[]) override;

private:
    QRegion m_exposed;
};

} // namespace jukora
