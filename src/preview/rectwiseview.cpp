#include "rectwiseview.h"

#include <QGraphicsItem>
#include <QPaintEvent>
#include <QPainter>
#include <QStyleOptionGraphicsItem>

#include <algorithm>
#include <vector>

namespace jukora {

RectwiseView::RectwiseView(QWidget *parent) : QGraphicsView(parent)
{
    // The view hands the items over to drawItems below.
    setOptimizationFlag(QGraphicsView::IndirectPainting, true);
}

void RectwiseView::paintEvent(QPaintEvent *event)
{
    m_exposed = event->region();
    QGraphicsView::paintEvent(event);
    m_exposed = QRegion(); // drawItems may also be reached from render()
}

void RectwiseView::drawItems(QPainter *painter, int numItems, QGraphicsItem *items[],
                             const QStyleOptionGraphicsItem options[])
{
    // The view hands the items over front first for some exposures and back
    // first for others; they are drawn back to front here, always.
    std::vector<int> order(static_cast<std::size_t>(numItems));
    for (int i = 0; i < numItems; ++i)
        order[static_cast<std::size_t>(i)] = i;
    std::stable_sort(order.begin(), order.end(),
                     [&](int a, int b) { return items[a]->zValue() < items[b]->zValue(); });

    const QRegion whole = m_exposed.rectCount() > 1 ? m_exposed : QRegion();
    std::vector<QGraphicsItem *> part;
    std::vector<QStyleOptionGraphicsItem> partOptions;
    part.reserve(order.size());
    partOptions.reserve(order.size());
    const auto drawPart = [&](const QRect *rect) {
        part.clear();
        partOptions.clear();
        for (int i : order) {
            if (!rect || items[i]->sceneBoundingRect().intersects(*rect)) {
                part.push_back(items[i]);
                partOptions.push_back(options[i]);
            }
        }
        if (part.empty())
            return;
        if (rect)
            painter->setClipRect(*rect);
        QGraphicsView::drawItems(painter, static_cast<int>(part.size()), part.data(),
                                 partOptions.data());
    };
    if (whole.isEmpty()) {
        drawPart(nullptr);
        return;
    }
    for (const QRect &rect : whole)
        drawPart(&rect);
}

} // namespace jukora
