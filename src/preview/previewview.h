#pragma once

#include "rectwiseview.h"

#include <array>

class QGraphicsPixmapItem;

namespace jukora {

class DragTool;
class GuideLineItem;
class ImageItem;
class LabelItem;
class PreviewModel;

/// The life-size preview of the phone screen: one screen pixel per preview
/// pixel inside a 2-pixel sunken frame. Its mouse and arrow keys drive the
/// drag tool, which takes hold of elements and places them.
class PreviewView : public RectwiseView
{
    Q_OBJECT

public:
    explicit PreviewView(PreviewModel &model, QWidget *parent = nullptr);

    /// The front-most element under a point of the preview that takes the
    /// mouse, or 8 when there is none.
    int elementAt(QPointF scenePos) const;

    ImageItem *imageItem(int index) const { return m_images.at(static_cast<std::size_t>(index)); }
    LabelItem *labelItem(int index) const
    {
        return m_labels.at(static_cast<std::size_t>(index - 9));
    }
    /// The drag tool that the view's mouse and keys drive.
    DragTool &tool() const { return *m_tool; }

    GuideLineItem *guideL1() const { return m_l1; }
    GuideLineItem *guideL2() const { return m_l2; }
    QGraphicsPixmapItem *backgroundItem() const { return m_iback; }

signals:
    /// A left press took hold of an element (drag state already set).
    void elementPressed(int index);

protected:
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void wheelEvent(QWheelEvent *event) override;

private:
    QPointF toScene(const QMouseEvent *event) const;
    void syncElement(int index);
    void syncEnabled();
    void syncGuides();
    void syncBackground();

    PreviewModel &m_model;
    DragTool *m_tool;
    std::array<ImageItem *, 8> m_images{};
    std::array<LabelItem *, 5> m_labels{};
    GuideLineItem *m_l1 = nullptr;
    GuideLineItem *m_l2 = nullptr;
    QGraphicsPixmapItem *m_iback = nullptr;
};

} // namespace jukora
