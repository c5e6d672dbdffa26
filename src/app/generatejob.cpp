#include "generatejob.h"

#include "dialogs.h"
#include "patchfile.h"
#include "refusal.h"

#include <QDir>
#include <QStringList>

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
        fail(QStringLiteral("The template of %1 could not be read:\n%2\n\n%3\n\nNo patch was "
                            "written.")
                 .arg(model, shownTemplate, error));
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

    if (!check.outOfRange().empty()) {
        QStringList lines;
        for (const patch::OutOfRangeValue &value : check.outOfRange())
            lines << QString::fromStdString(patch::describe(value));
        const bool write = m_dialogs.question(
            m_window, applicationTitle(),
            QStringLiteral("These positions do not fit in the byte the patch has for them. "
                           "The patch would carry only their low 8 bits, which puts the "
                           "elements somewhere else on the phone:\n\n%1\n\nWrite the patch "
                           "anyway?")
                .arg(lines.join(QLatin1Char('\n'))));
        if (!write)
            return false;
    }
    if (!writer.commit(&error)) {
        fail(QStringLiteral("The patch could not be written to\n%1\n\n%2\n\nAny file that was "
                            "there is unchanged.")
                 .arg(QDir::toNativeSeparators(patchPath), error));
        return false;
    }
    // Written, as asked; but lines a phone's patcher would reject or
    // misread, or old values unlike the instructions they patch (a wrong
    // address, a template for other firmware), are worth knowing before
    // flashing: they are listed in the box's details.
    QString done = QStringLiteral("Done");
    QString details;
    if (const std::size_t count = check.warningCount()) {
        done += QStringLiteral("\n\n%1 of the template's lines may be rejected or misread by a "
                               "phone's patcher, or patch another instruction than their "
                               "placeholder means. Look at each (see the details) before "
                               "flashing the patch.")
                    .arg(count == 1 ? QStringLiteral("One") : QString::number(count));
        details = patch::warningList(check).join(QLatin1Char('\n'));
    }
    m_dialogs.message(m_window, Dialogs::Icon::Information, applicationTitle(), done, details);
    return true;
}

} // namespace jukora
