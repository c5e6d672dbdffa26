#include "previewview.h"

#include "dragtool.h"
#include "previewitems.h"
#include "previewmodel.h"
#include "zorder.h"

#include <QGraphicsPixmapItem>
#include <QGraphicsScene>
#include <QKeyEvent>
#include <QMouseEvent>

namespace jukora {

namespace {

/// The picture of each image element, in the order of kImages.
constexpr const char *kElementPictures[patch::kImages.size()] = {
    ":/artwork/artist.png", ":/artwork/title.png",  ":/artwork/album.png",   ":/artwork/bass.png",
    ":/artwork/logo.png",   ":/artwork/repeat.png", ":/artwork/shuffle.png", ":/artwork/cover.png",
};

} // namespace

PreviewView::PreviewView(PreviewModel &model, QWidget *parent)
    : RectwiseView(parent), m_model(model), m_tool(new DragTool(model, this))
{
    setObjectName(QStringLiteral("preview"));
    setFrameStyle(QFrame::WinPanel | QFrame::Sunken);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setAlignment(Qt::AlignLeft | Qt::AlignTop);
    setTransformationAnchor(QGraphicsView::NoAnchor);
    setResizeAnchor(QGraphicsView::NoAnchor);
    setFocusPolicy(Qt::StrongFocus);
    setViewportUpdateMode(QGraphicsView::MinimalViewportUpdate);
    // The screen picture covers the whole viewport and is opaque, so the
    // viewport's own background fill under every repainted strip is wasted.
    viewport()->setAutoFillBackground(false);
    viewport()->setAttribute(Qt::WA_OpaquePaintEvent);
    setOptimizationFlag(QGraphicsView::DontSavePainterState, true);
    // Moves without a button matter too: they end the drag target.
    viewport()->setMouseTracking(true);

    fillScene();
    setAccessibleName(tr("Preview"));
    syncHeld();
    connectModel();
}

void PreviewView::fillScene()
{
    auto *scene = new QGraphicsScene(this);
    // A fixed scene rectangle, or the view would follow the items around.
    scene->setSceneRect(0, 0, PreviewModel::kWidth, PreviewModel::kHeight);
    scene->setItemIndexMethod(QGraphicsScene::NoIndex);
    setScene(scene);

    auto *screen = scene->addPixmap(artwork(QStringLiteral(":/artwork/screen.png")));
    screen->setZValue(ZOrder::Screen);
    screen->setEnabled(false);
    screen->setAcceptedMouseButtons(Qt::NoButton);

    m_background = scene->addPixmap(QPixmap());
    m_background->setPos(0, patch::kTopBand);
    m_background->setZValue(ZOrder::Background);
    m_background->setEnabled(false);
    m_background->setAcceptedMouseButtons(Qt::NoButton);
    m_background->setShapeMode(QGraphicsPixmapItem::BoundingRectShape);

    for (std::size_t i = 0; i < patch::kImages.size(); ++i) {
        const int index = patch::kImages[i];
        auto *item =
            new ImageItem(m_model, index, artwork(QString::fromLatin1(kElementPictures[i])));
        item->setZValue(ZOrder::forElement(index));
        scene->addItem(item);
        m_images[i] = item;
    }
    for (const int index : patch::kLabels) {
        auto *item = new LabelItem(m_model, index);
        item->setZValue(ZOrder::forElement(index));
        scene->addItem(item);
        m_labels[patch::labelSlot(index)] = item;
    }
    m_verticalGuide = new GuideLineItem(Qt::Vertical);
    m_verticalGuide->setZValue(ZOrder::VerticalGuide);
    scene->addItem(m_verticalGuide);
    m_horizontalGuide = new GuideLineItem(Qt::Horizontal);
    m_horizontalGuide->setZValue(ZOrder::HorizontalGuide);
    scene->addItem(m_horizontalGuide);
    syncGuides();
    m_frame = new FocusFrameItem;
    scene->addItem(m_frame);
}

void PreviewView::connectModel()
{
    PreviewModel &model = m_model;
    connect(&model, &PreviewModel::elementChanged, this, [this](int index) {
        syncElement(index);
        if (index == m_tool->lastPressed())
            syncHeld();
    });
    connect(m_tool, &DragTool::heldChanged, this, &PreviewView::syncHeld);
    connect(&model, &PreviewModel::labelStyleChanged, this,
            [this](int index) { labelItem(index)->restyle(); });
    connect(m_tool, &DragTool::enabledChanged, this, &PreviewView::syncEnabled);
    connect(m_tool, &DragTool::guidesChanged, this, &PreviewView::syncGuides);
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
    return patch::NoElement;
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
    m_tool->press(index, pos - QPointF(e.left, e.top));
    emit elementPressed(index);
}

void PreviewView::mouseMoveEvent(QMouseEvent *event)
{
    event->accept();
    // Every move places the element at once; the scene merges the repaints
    // into the next frame the screen shows.
    m_tool->move(event->buttons(), toScene(event));
}

void PreviewView::mouseReleaseEvent(QMouseEvent *event)
{
    event->accept();
    m_tool->release();
}

void PreviewView::mouseDoubleClickEvent(QMouseEvent *event)
{
    // A second quick press is a press like any other.
    mousePressEvent(event);
}

void PreviewView::keyPressEvent(QKeyEvent *event)
{
    const bool backtab = event->key() == Qt::Key_Backtab;
    if ((event->key() == Qt::Key_Tab || backtab) && (event->modifiers() & Qt::ControlModifier)) {
        // Leaves the preview as in text editors, whatever is held.
        RectwiseView::focusNextPrevChild(!backtab);
        event->accept();
        return;
    }
    if (event->key() == Qt::Key_Escape) { // held or not, the next Tab leaves
        if (PreviewModel::isElement(m_tool->lastPressed()))
            m_tool->letGo();
        m_tabLeaves = true;
        event->accept();
        return;
    }
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
    m_tool->nudge(dx, dy);
    event->accept();
}

bool PreviewView::focusNextPrevChild(bool next)
{
    if (!hasFocus() || m_tabLeaves) {
        m_tabLeaves = false;
        return RectwiseView::focusNextPrevChild(next);
    }
    emit elementPressed(m_tool->holdNext(next));
    return true;
}

void PreviewView::focusInEvent(QFocusEvent *event)
{
    m_tabLeaves = false;
    syncHeld();
    RectwiseView::focusInEvent(event);
}

void PreviewView::focusOutEvent(QFocusEvent *event)
{
    syncHeld();
    RectwiseView::focusOutEvent(event);
}

void PreviewView::syncHeld()
{
    const int held = m_tool->lastPressed();
    const bool framed = hasFocus() && m_tool->heldByKeyboard();
    QString now;
    if (PreviewModel::isElement(held)) {
        const Element &e = m_model.element(held);
        if (framed)
            m_frame->frame(QRectF(e.left, e.top, e.width, e.height));
        const std::string_view name = patch::elementName(held);
        now = tr(" Held: %1 at X %2, Y %3.")
                  .arg(QLatin1StringView(name.data(), qsizetype(name.size())))
                  .arg(e.left)
                  .arg(patch::shownY(e.top));
    }
    m_frame->setVisible(framed);
    setAccessibleDescription(tr("The phone screen, life size. Tab takes hold of the next "
                                "element, the arrow keys move it, Escape lets go.") +
                             now);
}

void PreviewView::wheelEvent(QWheelEvent *event)
{
    // The preview never scrolls.
    event->accept();
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
    const bool enabled = m_tool->elementsEnabled();
    for (ImageItem *item : m_images)
        item->setEnabled(enabled);
    for (LabelItem *item : m_labels)
        item->setEnabled(enabled);
}

void PreviewView::syncGuides()
{
    m_verticalGuide->setPos(m_tool->guideX(), 0);
    m_horizontalGuide->setPos(0, m_tool->guideY());
    m_verticalGuide->setVisible(m_tool->guidesVisible());
    m_horizontalGuide->setVisible(m_tool->guidesVisible());
}

void PreviewView::syncBackground()
{
    m_background->setPixmap(QPixmap::fromImage(m_model.background()));
}

} // namespace jukora
