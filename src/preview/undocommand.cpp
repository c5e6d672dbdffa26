#include "undocommand.h"

namespace jukora {

DocumentCommand::DocumentCommand(PreviewModel &model, const QString &text,
                                 PreviewModel::State before, PreviewModel::State after, int mergeId,
                                 int series)
    : QUndoCommand(text), m_model(model), m_before(std::move(before)), m_after(std::move(after)),
      m_mergeId(mergeId), m_series(series)
{
}

void DocumentCommand::undo()
{
    m_model.restore(m_before);
}

void DocumentCommand::redo()
{
    // Pushing runs redo() at once; the change was made before the push.
    if (m_done) {
        m_done = false;
        return;
    }
    m_model.restore(m_after);
}

bool DocumentCommand::mergeWith(const QUndoCommand *other)
{
    const auto *next = static_cast<const DocumentCommand *>(other);
    if (next->m_series != m_series)
        return false;
    m_after = next->m_after;
    // Nudges that brought the element back where it was change nothing:
    // the stack drops the step rather than keep one that undoes nothing.
    setObsolete(m_after == m_before);
    return true;
}

} // namespace jukora
