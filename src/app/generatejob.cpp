#include "generatejob.h"

#include "dialogs.h"
#include "patchfile.h"
#include "refusal.h"

#include <QDir>

namespace jukora {

void GenerateJob::fail(const QString &text, const QString &details)
{
    m_dialogs.message(m_window, Dialogs::Icon::Critical, applicationTitle(), text, details);
}

bool GenerateJob::run(const QString &patchPath, const QString &model, const QString &templatePath,
                      const patch::ElementQuery &query)
{
    const QString shownTemplate = QDir::toNativeSeparators(templatePath);

    // One pass over the template checks every line while the patch goes to
    // a temporary file; the target is replaced only when all is well.
    patch::PatchFileWriter writer(patchPath, query);
    writer.setProgress([&](qint64 done, qint64 total) {
        return m_dialogs.progress(
            m_window, QStringLiteral("Writing the patch of %1 ...").arg(model), done, total);
    });
    QString error;
    if (!writer.run(templatePath, &error)) {
        if (writer.cancelled())
            return false; // nothing was written, and the user knows why
        fail(patch::templateUnreadable(model, templatePath, error, patch::Audience::Window));
        return false;
    }

    // Every reason to refuse, in one message.
    const patch::TemplateCheck &check = writer.check();
    QString writeError;
    writer.written(&writeError);
    if (const auto refusal = patch::generateRefusal(check, shownTemplate, patchPath, writeError,
                                                    patch::Audience::Window)) {
        fail(refusal->reasons.join(QStringLiteral("\n\n")), refusal->details);
        return false;
    }

    if (!check.outOfRange().empty() &&
        !m_dialogs.question(m_window, applicationTitle(),
                            patch::positionsOffTheByte(check, patch::Audience::Window)))
        return false;
    if (!writer.commit(&error)) {
        fail(patch::notWritten(patchPath, error, patch::Audience::Window));
        return false;
    }
    QString details;
    const QString done = patch::done(check, &details);
    m_dialogs.message(m_window, Dialogs::Icon::Information, applicationTitle(), done, details);
    return true;
}

} // namespace jukora
