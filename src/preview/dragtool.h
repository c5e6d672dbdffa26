#pragma once

#include "previewmodel.h"

#include <QObject>
#include <QPointF>

#include <cstdint>
#include <optional>

namespace jukora {

/// Carries a drag on the preview: a left press on an element takes hold of
/// it, moves with the left button place it, the release lets go. Also
/// places the element last pressed from the keyboard, and keeps the guide
/// lines on the placed element's left and top edges. It changes the
/// document only through its setters; the window reads its state, never
/// writes it.
class DragTool : public QObject
{
    Q_OBJECT

public:
    explicit DragTool(PreviewModel &model, QObject *parent = nullptr);

    /// The drag target: the element a move with the left button places, or
    /// NoElement. It outlives the release: a later drag that starts on bare
    /// surface carries it again, until a move without the button clears it.
    int dragTarget() const { return m_dragTarget; }
    /// The element last taken hold of, for keyboard placement; NoElement
    /// before the first press. Separate from the drag target, which a move without the
    /// button clears.
    int lastPressed() const { return m_lastPressed; }
    /// False from a press on an element to the release: no element takes
    /// the mouse then, so the drag stays with the preview.
    bool elementsEnabled() const { return m_elementsEnabled; }

    float guideX() const { return m_guideX; }
    float guideY() const { return m_guideY; }
    bool guidesVisible() const { return m_guidesVisible; }
    void setGuidesVisible(bool visible);

    /// A left press on an element, `grab` preview pixels from its corner.
    void press(int index, QPointF grab);
    /// A move over the preview with `buttons` held. Returns true when it
    /// placed the drag target.
    bool move(Qt::MouseButtons buttons, QPointF pos);
    /// The release over the preview: every element takes the mouse again.
    void release();
    /// Moves the element last pressed by whole pixels, through the same edge
    /// and band rules as a drag, and no further right or down than where
    /// its top-left pixel leaves the preview. Returns false when no element
    /// was pressed.
    bool nudge(int dx, int dy);

    /// Takes hold of an element from the keyboard, as a press would but
    /// without a drag: the keys move it from now on.
    void hold(int index);
    /// Takes hold of the next element in the stacking order, front first
    /// (`forward`), or the previous one; from none, the first or the last.
    /// Returns the element now held.
    int holdNext(bool forward);
    /// Lets go of the held element: the keys move nothing until the next
    /// press or hold.
    void letGo();
    /// True when the element held was taken by the keyboard rather than
    /// the mouse: it is then framed on the preview.
    bool heldByKeyboard() const { return m_heldByKeyboard && m_lastPressed >= 0; }

    /// After a Generate nothing is held: the next press on bare surface
    /// must not drag an element the run happened to encode last.
    void generated() { m_dragTarget = patch::NoElement; }
    /// The document was put back by an undo, a redo or a reopened patch:
    /// nothing is being dragged, and the guide lines follow the element they
    /// mark to where the document now has it.
    void documentRestored();

signals:
    void guidesChanged();
    void enabledChanged();
    /// The element was placed by a drag or a nudge; read-outs follow it.
    void targetPlaced(int index);
    /// Another element is held, or none.
    void heldChanged();

private:
    /// Places an element at a drag's position, within the left edge and
    /// below the top band.
    void place(int index, float left, float top);
    /// Puts an element at a position already within those bounds.
    void setPlaced(int index, float left, float top);
    void setElementsEnabled(bool enabled);

    PreviewModel &m_model;
    /// The document at the last press on an element: a drag that moved it
    /// becomes one step of the history at the release.
    std::optional<PreviewModel::State> m_pressState;
    int m_series = 0; ///< nudges between two presses merge into one step
    /// The first element, until a press names another.
    int m_dragTarget = patch::ArtistIcon;
    QPointF m_grabPoint;
    int m_lastPressed = patch::NoElement;
    bool m_heldByKeyboard = false;
    bool m_elementsEnabled = true;
    int m_guided = patch::NoElement; ///< the element the guide lines mark, once one was placed
    float m_guideX = 0;
    float m_guideY = 0;
    bool m_guidesVisible = true;
};

} // namespace jukora
