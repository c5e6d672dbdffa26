#pragma once

#include "previewmodel.h"

#include <QUndoCommand>

namespace jukora {

/// One step of the layout's history: the document before and after a
/// change. Pictures and captions in the two states are shared with the
/// document (Qt's implicit sharing), not copied.
///
/// Every kind of change (a move, a nudge, a label's style or alignment, the
/// text colour, the background, the cover size, a reopened patch) is this
/// one command with its own text and, for nudges, its own merge id: the
/// document is small, so a whole state is cheaper to get right than one
/// command class per setter.
class DocumentCommand : public QUndoCommand
{
public:
    /// Nudges of one element in a row merge into one step.
    static constexpr int kNudgeId = 1;

    DocumentCommand(PreviewModel &model, const QString &text, PreviewModel::State before,
                    PreviewModel::State after, int mergeId = -1, int series = 0);

    void undo() override;
    void redo() override;
    int id() const override { return m_mergeId; }
    bool mergeWith(const QUndoCommand *other) override;

private:
    PreviewModel &m_model;
    PreviewModel::State m_before;
    PreviewModel::State m_after;
    int m_mergeId;
    int m_series;
    bool m_done = true; ///< the change is made already when the command is pushed
};

} // namespace jukora
