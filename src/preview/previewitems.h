#pragma once

#include <QGraphicsItem>
#include <QImage>
#include <QPixmap>

namespace jukora {

class PreviewModel;

/// One of the program's own pictures (a PNG among its resources, such as
/// ":/artwork/screen.png"), read as PNG outright. A reader left to guess the
/// format, as QPixmap and QIcon do even with the format named, first asks
/// every image plugin (GIF, ICO, JPEG ...) whether the file is theirs,
/// loading each on the way to the first frame.
QPixmap artwork(const QString &path);

/// What the image and label items share: a view of one element of the
/// model, its whole box taking presses.
class ElementItem : public QGraphicsItem
{
public:
    ElementItem(const PreviewModel &model, int index);

    int index() const { return m_index; }
    QRectF boundingRect() const override;

    /// Takes position and size from the model.
    void sync();

protected:
    const PreviewModel &m_model;
    const int m_index;

private:
    QSizeF m_size;
};

/// One of the eight image elements: its picture drawn into its box (the cover
/// stretches it; the others are drawn at their picture's size). Transparent
/// pixels still belong to the element.
class ImageItem : public ElementItem
{
public:
    enum { Type = UserType + 1 };

    ImageItem(const PreviewModel &model, int index, const QPixmap &pixmap);

    int type() const override { return Type; }
    void paint(QPainter *painter, const QStyleOptionGraphicsItem *option, QWidget *widget) override;

private:
    QPixmap m_pixmap;
};

/// One of the five text labels: its caption drawn in its fixed box, aligned
/// left, right or centred from the top edge and cut off at the box.
class LabelItem : public ElementItem
{
public:
    enum { Type = UserType + 2 };

    LabelItem(const PreviewModel &model, int index);

    int type() const override { return Type; }
    void paint(QPainter *painter, const QStyleOptionGraphicsItem *option, QWidget *widget) override;

    /// Draws the label anew after a change of font, alignment or colour.
    void restyle();
    /// The face the label is drawn with.
    QFont font() const;
};

/// A dotted guide line, one pixel wide, drawn by inverting what it crosses.
class GuideLineItem : public QGraphicsItem
{
public:
    enum { Type = UserType + 3 };

    explicit GuideLineItem(Qt::Orientation orientation);

    int type() const override { return Type; }
    QRectF boundingRect() const override;
    void paint(QPainter *painter, const QStyleOptionGraphicsItem *option, QWidget *widget) override;

private:
    Qt::Orientation m_orientation;
    QImage m_dots;
};

/// A thin frame around the element held from the keyboard: black under
/// white dots, so it shows on any picture. Shown only while the preview has
/// the focus, so it never stands in a picture taken to judge the layout.
class FocusFrameItem : public QGraphicsItem
{
public:
    enum { Type = UserType + 4 };

    FocusFrameItem();

    int type() const override { return Type; }
    QRectF boundingRect() const override { return m_box.adjusted(-1, -1, 1, 1); }
    void paint(QPainter *painter, const QStyleOptionGraphicsItem *option, QWidget *widget) override;
    /// Frames the box of an element, in preview pixels.
    void frame(const QRectF &box);

private:
    QRectF m_box;
};

} // namespace jukora
