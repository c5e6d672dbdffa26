#pragma once

#include "element.h"
#include "rectwiseview.h"

#include <array>

class QGraphicsPixmapItem;

namespace jukora {

class DragTool;
class FocusFrameItem;
class GuideLineItem;
class ImageItem;
class LabelItem;
class PreviewModel;

/// The life-size preview of the phone screen: one screen pixel per preview
/// pixel inside a 2-pixel sunken frame. Its mouse and keys drive the drag
/// tool, which takes hold of elements and places them. With the focus here,
/// Tab and Shift+Tab take hold of the next and the previous element, the
/// arrow keys move it, Escape lets go (the next Tab then leaves), and
/// Ctrl+Tab and Ctrl+Shift+Tab leave at once.
class PreviewView : public RectwiseView
{
    Q_OBJECT

public:
    explicit PreviewView(PreviewModel &model, QWidget *parent = nullptr);

    /// The front-most element under a point of the preview that takes the
    /// mouse, or NoElement when there is none.
    int elementAt(QPointF scenePos) const;

    ImageItem *imageItem(int index) const { return m_images.at(static_cast<std::size_t>(index)); }
    LabelItem *labelItem(int index) const { return m_labels.at(patch::labelSlot(index)); }
    /// The drag tool that the view's mouse and keys drive.
    DragTool &tool() const { return *m_tool; }

    GuideLineItem *verticalGuide() const { return m_verticalGuide; }
    GuideLineItem *horizontalGuide() const { return m_horizontalGuide; }
    FocusFrameItem *focusFrame() const { return m_frame; }

signals:
    /// A left press took hold of an element (drag state already set).
    void elementPressed(int index);

protected:
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    bool focusNextPrevChild(bool next) override;
    void focusInEvent(QFocusEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;
    void wheelEvent(QWheelEvent *event) override;

private:
    /// The screen picture, the background, the elements, the guide lines and
    /// the focus frame, in their stacking order.
    void fillScene();
    /// The items follow the document and the drag tool.
    void connectModel();
    QPointF toScene(const QMouseEvent *event) const;
    void syncElement(int index);
    void syncEnabled();
    void syncGuides();
    void syncBackground();
    /// The focus frame and what the preview tells a screen reader follow
    /// the held element.
    void syncHeld();

    PreviewModel &m_model;
    DragTool *m_tool;
    std::array<ImageItem *, patch::kImages.size()> m_images{};
    std::array<LabelItem *, patch::kLabels.size()> m_labels{};
    GuideLineItem *m_verticalGuide = nullptr;
    GuideLineItem *m_horizontalGuide = nullptr;
    QGraphicsPixmapItem *m_background = nullptr;
    FocusFrameItem *m_frame = nullptr;
    bool m_tabLeaves = false; ///< after Escape, Tab leaves the preview
};

} // namespace jukora
