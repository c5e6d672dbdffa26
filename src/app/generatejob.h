#pragma once

#include <QString>

#include <cstdint>

class QWidget;

namespace jukora {

namespace patch {
class ElementQuery;
}
class Dialogs;

/// One Generate run after the Save dialog: reads the template once, checks
/// every line while the patch goes to a temporary file, and replaces the
/// target only when all is well (or the user allows positions that do not
/// fit a byte). Every refusal and failure is shown in a box that says what
/// went wrong and what to do; "Done" ends a run that wrote the patch.
class GenerateJob
{
public:
    GenerateJob(Dialogs &dialogs, QWidget *window) : m_dialogs(dialogs), m_window(window) {}

    /// Writes the patch of `model` (template at `templatePath`) to
    /// `patchPath`. True when the patch was written.
    bool run(const QString &patchPath, const QString &model, const QString &templatePath,
             const patch::ElementQuery &query);

private:
    void fail(const QString &text, const QString &details = {});

    Dialogs &m_dialogs;
    QWidget *m_window;
};

} // namespace jukora
