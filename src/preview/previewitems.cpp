#include "previewitems.h"

#include "previewmodel.h"

#include <QPainter>

namespace jukora {

ImageItem::ImageItem(const PreviewModel &model, int index, const QPixmap &pixmap)
    : m_model(model), m_index(index), m_pixmap(pixmap)
{
    sync();
}

QRectF ImageItem::boundingRect() const
{
    return QRectF(QPointF(0, 0), m_size);
}

void ImageItem::paint(QPainter *painter, const QStyleOptionGraphicsItem *, QWidget *)
{
    if (m_size.isEmpty())
        return;
    painter->setRenderHint(QPainter::SmoothPixmapTransform, false);
    painter->drawPixmap(boundingRect(), m_pixmap, QRectF(m_pixmap.rect()));
}

void ImageItem::sync()
{
    const Element &e = m_model.element(m_index);
    const QSizeF size(e.width, e.height);
    if (size != m_size) {
        prepareGeometryChange();
        m_size = size;
    }
    setPos(e.left, e.top);
    setEnabled(e.enabled);
}

LabelItem::LabelItem(const PreviewModel &model, int index) : m_model(model), m_index(index)
{
    // Laying out text is the dearest part of a repaint; the guide lines
    // cross the labels on every move of a drag.
    setCacheMode(QGraphicsItem::DeviceCoordinateCache);
    sync();
}

QRectF LabelItem::boundingRect() const
{
    return QRectF(QPointF(0, 0), m_size);
}

QFont LabelItem::font() const
{
    const Element &e = m_model.element(m_index);
    QFont font;
    // A bold sans-serif face of the phone's pixel heights.
    font.setFamilies({QStringLiteral("MS Sans Serif"), QStringLiteral("Liberation Sans"),
                      QStringLiteral("Arial"), QStringLiteral("DejaVu Sans")});
    font.setStyleHint(QFont::SansSerif);
    font.setPixelSize(e.pixelSize);
    font.setBold(e.bold);
    font.setItalic(e.italic);
    return font;
}

void LabelItem::paint(QPainter *painter, const QStyleOptionGraphicsItem *, QWidget *)
{
    const Element &e = m_model.element(m_index);
    Qt::Alignment align = Qt::AlignTop;
    switch (e.alignment) {
    case AlignRightCode:
        align |= Qt::AlignRight;
        break;
    case AlignCenterCode:
        align |= Qt::AlignHCenter;
        break;
    default:
        align |= Qt::AlignLeft;
        break;
    }
    painter->save();
    painter->setClipRect(boundingRect());
    painter->setFont(font());
    painter->setPen(m_model.textColor());
    painter->drawText(boundingRect(), static_cast<int>(align) | Qt::TextSingleLine, e.caption);
    painter->restore();
}

void LabelItem::sync()
{
    const Element &e = m_model.element(m_index);
    const QSizeF size(e.width, e.height);
    if (size != m_size) {
        prepareGeometryChange();
        m_size = size;
    }
    setPos(e.left, e.top);
    setEnabled(e.enabled);
}

void LabelItem::restyle()
{
    update();
}

GuideLineItem::GuideLineItem(Qt::Orientation orientation) : m_orientation(orientation)
{
    setAcceptedMouseButtons(Qt::NoButton);
    setEnabled(false);
}

QRectF GuideLineItem::boundingRect() const
{
    // Vertical: from y -8 to 320 at the item's x; horizontal: the whole width.
    return m_orientation == Qt::Vertical ? QRectF(0, -8, 1, 329) : QRectF(0, 0, 241, 1);
}

void GuideLineItem::paint(QPainter *painter, const QStyleOptionGraphicsItem *, QWidget *)
{
    painter->save();
    QPen pen(Qt::white, 0, Qt::DotLine);
    pen.setCosmetic(true);
    painter->setPen(pen);
    painter->setRenderHint(QPainter::Antialiasing, false);
    // White XOR the background inverts it, so the line shows on any picture.
    painter->setCompositionMode(QPainter::RasterOp_SourceXorDestination);
    if (m_orientation == Qt::Vertical)
        painter->drawLine(QPointF(0, 320), QPointF(0, -8));
    else
        painter->drawLine(QPointF(0, 0), QPointF(240, 0));
    painter->restore();
}

} // namespace jukora
