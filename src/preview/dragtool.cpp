#include "dragtool.h"

#include "previewmodel.h"
#include "undocommand.h"
#include "zorder.h"

#include <algorithm>
#include <array>

namespace jukora {

DragTool::DragTool(PreviewModel &model, QObject *parent) : QObject(parent), m_model(model) {}

void DragTool::setGuidesVisible(bool visible)
{
    if (m_guidesVisible == visible)
        return;
    m_guidesVisible = visible;
    emit guidesChanged();
}

void DragTool::setElementsEnabled(bool enabled)
{
    m_elementsEnabled = enabled;
    emit enabledChanged();
}

void DragTool::press(int index, QPointF grab)
{
    if (!PreviewModel::isElement(index))
        return;
    m_grabPoint = grab;
    m_dragTarget = index;
    m_lastPressed = index;
    m_heldByKeyboard = false;
    m_pressState = m_model.state();
    ++m_series;
    setElementsEnabled(false);
    emit heldChanged();
}

void DragTool::hold(int index)
{
    if (!PreviewModel::isElement(index))
        return;
    m_lastPressed = index;
    m_heldByKeyboard = true;
    ++m_series;
    emit heldChanged();
}

int DragTool::holdNext(bool forward)
{
    // The thirteen elements, front first, as a press finds them.
    static const auto order = [] {
        std::array<int, patch::kImages.size() + patch::kLabels.size()> elements{};
        std::copy(patch::kImages.begin(), patch::kImages.end(), elements.begin());
        std::copy(patch::kLabels.begin(), patch::kLabels.end(),
                  elements.begin() + patch::kImages.size());
        std::sort(elements.begin(), elements.end(),
                  [](int a, int b) { return ZOrder::forElement(a) > ZOrder::forElement(b); });
        return elements;
    }();
    const auto at = std::find(order.begin(), order.end(), m_lastPressed);
    const int count = static_cast<int>(order.size());
    int next = forward ? 0 : count - 1;
    if (at != order.end())
        next = (static_cast<int>(at - order.begin()) + (forward ? 1 : count - 1)) % count;
    hold(order[static_cast<std::size_t>(next)]);
    return m_lastPressed;
}

void DragTool::letGo()
{
    m_lastPressed = patch::NoElement;
    m_heldByKeyboard = false;
    emit heldChanged();
}

bool DragTool::move(Qt::MouseButtons buttons, QPointF pos)
{
    if (buttons != Qt::LeftButton) {
        m_dragTarget = patch::NoElement;
        return false;
    }
    if (!PreviewModel::isElement(m_dragTarget))
        return false;
    // A drag that began on bare surface moves the element held before: it
    // is one step of the history all the same.
    if (!m_pressState)
        m_pressState = m_model.state();
    // Single precision, as the positions themselves are.
    place(m_dragTarget, static_cast<float>(pos.x()) - static_cast<float>(m_grabPoint.x()),
          static_cast<float>(pos.y()) - static_cast<float>(m_grabPoint.y()));
    return true;
}

void DragTool::release()
{
    setElementsEnabled(true);
    if (m_pressState)
        m_model.commit(tr("Move"), *m_pressState);
    m_pressState.reset();
}

namespace {

// The element never passes the left edge and never rises into the top band;
// a fractional top between 23 and 24 stands as it is.
float keptRight(float left)
{
    return left > 0 ? left : 0.0f;
}
float keptBelow(float top)
{
    return top > patch::kTopBand - 1 ? top : patch::kTopBand;
}

/// One axis of a nudge: `by` whole pixels from `at`, no further forward than
/// `last`, and never backwards because the element already stands past it.
float nudged(float at, int by, float last)
{
    const float to = at + static_cast<float>(by);
    return by > 0 ? std::max(at, std::min(to, last)) : to;
}

} // namespace

bool DragTool::nudge(int dx, int dy)
{
    // While the mouse holds an element the drag alone moves it: a key would
    // cut the drag into two steps of the history.
    if (!PreviewModel::isElement(m_lastPressed) || m_pressState)
        return false;
    const PreviewModel::State before = m_model.state();
    const Element &e = m_model.element(m_lastPressed);
    // Only the key's own axis moves and is bounded, within the same left
    // edge and top band as a drag.
    setPlaced(m_lastPressed,
              dx != 0 ? keptRight(nudged(e.left, dx, PreviewModel::kWidth - 1)) : e.left,
              dy != 0 ? keptBelow(nudged(e.top, dy, PreviewModel::kHeight - 1)) : e.top);
    m_model.commit(tr("Move with the keys"), before, DocumentCommand::kNudgeId, m_series);
    return true;
}

void DragTool::documentRestored()
{
    m_pressState.reset();
    m_dragTarget = patch::NoElement;
    setElementsEnabled(true);
    // The guide lines stay on the element they mark, wherever the document
    // now has it; a step that did not move it leaves them where they are.
    if (PreviewModel::isElement(m_guided)) {
        const Element &e = m_model.element(m_guided);
        m_guideX = e.left;
        m_guideY = e.top;
    }
    emit guidesChanged();
}

void DragTool::place(int index, float left, float top)
{
    setPlaced(index, keptRight(left), keptBelow(top));
}

void DragTool::setPlaced(int index, float left, float top)
{
    m_guided = index;
    m_guideX = left;
    m_guideY = top;
    m_model.setPosition(index, left, top);
    emit guidesChanged();
    emit targetPlaced(index);
}

} // namespace jukora
