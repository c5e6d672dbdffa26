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
    GrabX = static_cast<float>(grab.x());
    GrabY = static_cast<float>(grab.y());
    SelIndex = static_cast<std::int16_t>(index);
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
        std::array<int, 13> elements{0, 1, 2, 3, 4, 5, 6, 7, 9, 10, 11, 12, 13};
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
    m_lastPressed = -1;
    m_heldByKeyboard = false;
    emit heldChanged();
}

bool DragTool::move(Qt::MouseButtons buttons, QPointF pos)
{
    if (buttons != Qt::LeftButton) {
        SelIndex = patch::NoElement;
        return false;
    }
    if (!PreviewModel::isElement(SelIndex))
        return false;
    place(SelIndex, static_cast<float>(pos.x()) - GrabX, static_cast<float>(pos.y()) - GrabY);
    return true;
}

void DragTool::release()
{
    setElementsEnabled(true);
    if (m_pressState)
        m_model.commit(tr("Move"), *m_pressState);
    m_pressState.reset();
}

bool DragTool::nudge(int dx, int dy)
{
    if (!PreviewModel::isElement(m_lastPressed))
        return false;
    const PreviewModel::State before = m_model.state();
    const Element &e = m_model.element(m_lastPressed);
    place(m_lastPressed, std::min(e.left + static_cast<float>(dx), PreviewModel::kWidth - 1),
          std::min(e.top + static_cast<float>(dy), PreviewModel::kHeight - 1));
    m_model.commit(tr("Move with the keys"), before, DocumentCommand::kNudgeId, m_series);
    return true;
}

void DragTool::reset()
{
    m_pressState.reset();
    SelIndex = patch::NoElement;
    setElementsEnabled(true);
    m_guideX = 0;
    m_guideY = 0;
    emit guidesChanged();
}

void DragTool::place(int index, float dx, float dy)
{
    // The element never passes the left edge and never rises into the top
    // band; a fractional dy between 23 and 24 stands as it is.
    const float left = dx > 0 ? dx : 0.0f;
    const float top = dy > patch::kTopBand - 1 ? dy : patch::kTopBand;
    m_guideX = left;
    m_guideY = top;
    m_model.setPosition(index, left, top);
    emit guidesChanged();
    emit targetPlaced(index);
}

} // namespace jukora
