#include "previewview.h"

#include "previewitems.h"
#include "previewmodel.h"
#include "zorder.h"

#include <QGraphicsPixmapItem>
#include <QGraphicsScene>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QStyleOptionGraphicsItem>

#include <algorithm>
#include <vector>

namespace jukora {

namespace {

constexpr const char *kElementPictures[8] = {
    ":/artwork/artist.png", ":/artwork/title.png",  ":/artwork/album.png",   ":/artwork/bass.png",
    ":/artwork/logo.png",   ":/artwork/repeat.png", ":/artwork/shuffle.png", ":/artwork/cover.png",
};

} // namespace

PreviewView::PreviewView(PreviewModel &model, QWidget *parent)
    : QGraphicsView(parent), m_model(model)
{
    setObjectName(QStringLiteral("Picture1"));
    setFrameStyle(QFrame::WinPanel | QFrame::Sunken);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setAlignment(Qt::AlignLeft | Qt::AlignTop);
    setTransformationAnchor(QGraphicsView::NoAnchor);
    setResizeAnchor(QGraphicsView::NoAnchor);
    setFocusPolicy(Qt::StrongFocus);
    setViewportUpdateMode(QGraphicsView::MinimalViewportUpdate);
    setOptimizationFlag(QGraphicsView::DontSavePainterState, true);
    // The view hands us the items to draw, so that each exposed rectangle
    // is drawn on its own under a plain rectangular clip (see drawItems).
    setOptimizationFlag(QGraphicsView::IndirectPainting, true);
    // Moves without a button matter too: they end the drag target.
    viewport()->setMouseTracking(true);

    auto *scene = new QGraphicsScene(this);
    // A fixed scene rectangle, or the view would follow the items around.
    scene->setSceneRect(0, 0, PreviewModel::kWidth, PreviewModel::kHeight);
    scene->setItemIndexMethod(QGraphicsScene::NoIndex);
    setScene(scene);

    auto *screen = scene->addPixmap(QPixmap(QStringLiteral(":/artwork/screen.png")));
    screen->setZValue(ZOrder::Screen);
    screen->setEnabled(false);
    screen->setAcceptedMouseButtons(Qt::NoButton);

    m_iback = scene->addPixmap(QPixmap());
    m_iback->setPos(0, patch::kTopBand);
    m_iback->setZValue(ZOrder::Iback);
    m_iback->setEnabled(false);
    m_iback->setAcceptedMouseButtons(Qt::NoButton);
    m_iback->setShapeMode(QGraphicsPixmapItem::BoundingRectShape);

    for (int i = 0; i < 8; ++i) {
        auto *item = new ImageItem(model, i, QPixmap(QString::fromLatin1(kElementPictures[i])));
        item->setZValue(ZOrder::forElement(i));
        scene->addItem(item);
        m_images[static_cast<std::size_t>(i)] = item;
    }
    for (int i = 9; i <= 13; ++i) {
        auto *item = new LabelItem(model, i);
        item->setZValue(ZOrder::forElement(i));
        scene->addItem(item);
        m_labels[static_cast<std::size_t>(i - 9)] = item;
    }
    m_l1 = new GuideLineItem(Qt::Vertical);
    m_l1->setZValue(ZOrder::GuideL1);
    scene->addItem(m_l1);
    m_l2 = new GuideLineItem(Qt::Horizontal);
    m_l2->setZValue(ZOrder::GuideL2);
    scene->addItem(m_l2);
    syncGuides();

    connect(&model, &PreviewModel::elementChanged, this, &PreviewView::syncElement);
    connect(&model, &PreviewModel::labelStyleChanged, this,
            [this](int index) { labelItem(index)->restyle(); });
    connect(&model, &PreviewModel::enabledChanged, this, &PreviewView::syncEnabled);
    connect(&model, &PreviewModel::guidesChanged, this, &PreviewView::syncGuides);
    connect(&model, &PreviewModel::textColorChanged, this, [this] {
        for (LabelItem *label : m_labels)
            label->restyle();
    });
    connect(&model, &PreviewModel::backgroundChanged, this, &PreviewView::syncBackground);
}

int PreviewView::elementAt(QPointF scenePos) const
{
    const auto items =
        scene()->items(scenePos, Qt::IntersectsItemShape, Qt::DescendingOrder, viewportTransform());
    for (QGraphicsItem *item : items) {
        if (!item->isEnabled())
            continue;
        if (auto *image = qgraphicsitem_cast<ImageItem *>(item))
            return image->index();
        if (auto *label = qgraphicsitem_cast<LabelItem *>(item))
            return label->index();
    }
    return 8;
}

QPointF PreviewView::toScene(const QMouseEvent *event) const
{
    return viewportTransform().inverted().map(event->position());
}

void PreviewView::mousePressEvent(QMouseEvent *event)
{
    setFocus(Qt::MouseFocusReason);
    event->accept();
    // Only the left button alone takes hold of an element; the press stays
    // with this view until the release, so the moves of the drag come here.
    if (event->button() != Qt::LeftButton)
        return;
    const QPointF pos = toScene(event);
    const int index = elementAt(pos);
    if (!PreviewModel::isElement(index))
        return;
    const Element &e = m_model.element(index);
    m_model.pressElement(index, pos - QPointF(e.left, e.top));
    emit elementPressed(index);
}

void PreviewView::mouseMoveEvent(QMouseEvent *event)
{
    event->accept();
    m_model.surfaceMove(event->buttons(), toScene(event));
}

void PreviewView::mouseReleaseEvent(QMouseEvent *event)
{
    event->accept();
    m_model.surfaceRelease();
}

void PreviewView::mouseDoubleClickEvent(QMouseEvent *event)
{
    // A second quick press is a press like any other.
    mousePressEvent(event);
}

void PreviewView::keyPressEvent(QKeyEvent *event)
{
    const int step = (event->modifiers() & Qt::ShiftModifier) ? 10 : 1;
    int dx = 0;
    int dy = 0;
    switch (event->key()) {
    case Qt::Key_Left:
        dx = -step;
        break;
    case Qt::Key_Right:
        dx = step;
        break;
    case Qt::Key_Up:
        dy = -step;
        break;
    case Qt::Key_Down:
        dy = step;
        break;
    default:
        QGraphicsView::keyPressEvent(event);
        return;
    }
    m_model.nudge(dx, dy);
    event->accept();
}

void PreviewView::wheelEvent(QWheelEvent *event)
{
    // The preview never scrolls.
    event->accept();
}

void PreviewView::paintEvent(QPaintEvent *event)
{
    m_exposed = event->region();
    QGraphicsView::paintEvent(event);
    m_exposed = QRegion(); // drawItems may also be reached from render()
}

void PreviewView::drawItems(QPainter *painter, int numItems, QGraphicsItem *items[],
                            const QStyleOptionGraphicsItem options[])
{
    // The view hands the items over front first for some exposures and back
    // first for others; they are drawn back to front here, always.
    std::vector<int> order(static_cast<std::size_t>(numItems));
    for (int i = 0; i < numItems; ++i)
        order[static_cast<std::size_t>(i)] = i;
    std::stable_sort(order.begin(), order.end(),
                     [&](int a, int b) { return items[a]->zValue() < items[b]->zValue(); });

    // A move repaints a few thin strips (the guide lines' old and new
    // places, the element's old and new box). Qt's raster engine blends far
    // slower under a clip made of several rectangles than under one, so each
    // rectangle is drawn on its own, with only the items that reach into it.
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

void PreviewView::syncElement(int index)
{
    if (patch::isImageIndex(index))
        imageItem(index)->sync();
    else if (patch::isLabelIndex(index))
        labelItem(index)->sync();
}

void PreviewView::syncEnabled()
{
    for (ImageItem *item : m_images)
        item->sync();
    for (LabelItem *item : m_labels)
        item->sync();
}

void PreviewView::syncGuides()
{
    m_l1->setPos(m_model.guideX(), 0);
    m_l2->setPos(0, m_model.guideY());
    m_l1->setVisible(m_model.guidesVisible());
    m_l2->setVisible(m_model.guidesVisible());
}

void PreviewView::syncBackground()
{
    m_iback->setPixmap(QPixmap::fromImage(m_model.background()));
}

} // namespace jukora
