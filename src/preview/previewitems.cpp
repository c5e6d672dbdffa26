#include "previewitems.h"

#include "previewmodel.h"
#include "zorder.h"

#include <QImageReader>
#include <QPainter>

#include <algorithm>

namespace jukora {

QPixmap artwork(const QString &path)
{
    QImageReader reader(path, "png");
    reader.setAutoDetectImageFormat(false);
    return QPixmap::fromImage(reader.read());
}

ElementItem::ElementItem(const PreviewModel &model, int index) : m_model(model), m_index(index) {}

QRectF ElementItem::boundingRect() const
{
    return QRectF(QPointF(0, 0), m_size);
}

void ElementItem::sync()
{
    const Element &e = m_model.element(m_index);
    const QSizeF size(e.width, e.height);
    if (size != m_size) {
        prepareGeometryChange();
        m_size = size;
    }
    setPos(e.left, e.top);
}

ImageItem::ImageItem(const PreviewModel &model, int index, const QPixmap &pixmap)
    : ElementItem(model, index), m_pixmap(pixmap)
{
    sync();
}

void ImageItem::paint(QPainter *painter, const QStyleOptionGraphicsItem *, QWidget *)
{
    if (boundingRect().isEmpty())
        return;
    painter->setRenderHint(QPainter::SmoothPixmapTransform, false);
    painter->drawPixmap(boundingRect(), m_pixmap, QRectF(m_pixmap.rect()));
}

LabelItem::LabelItem(const PreviewModel &model, int index) : ElementItem(model, index)
{
    // Laying out text is the dearest part of a repaint; the guide lines
    // cross the labels on every move of a drag.
    setCacheMode(QGraphicsItem::DeviceCoordinateCache);
    sync();
}

QFont LabelItem::font() const
{
    const Element &e = m_model.element(m_index);
    QFont font;
    // A bold sans-serif face of the phone's pixel heights.
    font.setFamilies({QStringLiteral("MS Sans Serif"), QStringLiteral("Liberation Sans"),
                      QStringLiteral("Arial"), QStringLiteral("DejaVu Sans")});
    font.setStyleHint(QFont::SansSerif);
    font.setPixelSize(e.style.pixelSize);
    font.setBold(e.style.bold);
    font.setItalic(e.style.italic);
    return font;
}

void LabelItem::paint(QPainter *painter, const QStyleOptionGraphicsItem *, QWidget *)
{
    const Element &e = m_model.element(m_index);
    Qt::Alignment align = Qt::AlignTop;
    switch (e.style.alignment) {
    case patch::AlignRightCode:
        align |= Qt::AlignRight;
        break;
    case patch::AlignCenterCode:
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

void LabelItem::restyle()
{
    update();
}

namespace {

/// The dots of a guide line: white every other pixel, transparent between.
QImage dottedStrip(Qt::Orientation orientation)
{
    const int length = orientation == Qt::Vertical ? 329 : 241;
    QImage strip(orientation == Qt::Vertical ? QSize(1, length) : QSize(length, 1),
                 QImage::Format_ARGB32_Premultiplied);
    for (int i = 0; i < length; ++i) {
        const QRgb colour = i % 2 == 0 ? qRgba(255, 255, 255, 255) : qRgba(0, 0, 0, 0);
        if (orientation == Qt::Vertical)
            strip.setPixel(0, i, colour);
        else
            strip.setPixel(i, 0, colour);
    }
    return strip;
}

} // namespace

GuideLineItem::GuideLineItem(Qt::Orientation orientation)
    : m_orientation(orientation), m_dots(dottedStrip(orientation))
{
    setAcceptedMouseButtons(Qt::NoButton);
    setEnabled(false);
}

QRectF GuideLineItem::boundingRect() const
{
    // Vertical: from y -8 to the screen's foot at the item's x; horizontal:
    // the whole width and one pixel past it.
    return m_orientation == Qt::Vertical ? QRectF(0, -8, 1, patch::kScreenHeight + 9)
                                         : QRectF(0, 0, patch::kScreenWidth + 1, 1);
}

void GuideLineItem::paint(QPainter *painter, const QStyleOptionGraphicsItem *, QWidget *)
{
    // White minus what lies beneath is its inverse, so the dots show on any
    // picture. The strip goes in short pieces: Qt's raster engine hands a
    // blend of many rows to worker threads, which costs more than it saves
    // for a line one pixel wide.
    const QPainter::CompositionMode mode = painter->compositionMode();
    painter->setCompositionMode(QPainter::CompositionMode_Difference);
    const QPointF origin = boundingRect().topLeft();
    if (m_orientation == Qt::Vertical) {
        constexpr int piece = 64;
        for (int y = 0; y < m_dots.height(); y += piece) {
            const int rows = std::min(piece, m_dots.height() - y);
            painter->drawImage(origin + QPointF(0, y), m_dots, QRect(0, y, 1, rows));
        }
    } else {
        painter->drawImage(origin, m_dots);
    }
    painter->setCompositionMode(mode);
}

FocusFrameItem::FocusFrameItem()
{
    setAcceptedMouseButtons(Qt::NoButton);
    setEnabled(false);
    setZValue(ZOrder::FocusFrame);
}

void FocusFrameItem::frame(const QRectF &box)
{
    if (box == m_box)
        return;
    prepareGeometryChange();
    m_box = box;
}

void FocusFrameItem::paint(QPainter *painter, const QStyleOptionGraphicsItem *, QWidget *)
{
    // One pixel outside the element's box, on whole pixels.
    const QRectF line = m_box.toAlignedRect().adjusted(-1, -1, 0, 0);
    painter->setBrush(Qt::NoBrush);
    painter->setPen(QPen(Qt::black, 0));
    painter->drawRect(line);
    painter->setPen(QPen(Qt::white, 0, Qt::DotLine));
    painter->drawRect(line);
}

} // namespace jukora
