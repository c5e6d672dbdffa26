#include "reopen.h"

#include "dialogs.h"
#include "layoutfile.h"

#include <QDir>
#include <QFileInfo>
#include <QMimeData>
#include <QUrl>

namespace jukora {

std::optional<ReopenedLayout> reopenLayout(Dialogs &dialogs, QWidget *window,
                                           const QString &patchPath,
                                           const QList<TemplateEntry> &models, qsizetype selected)
{
    const TemplateEntry &model = models.at(selected);
    QString why;
    bool mismatch = false;
    if (auto layout = patch::readLayoutFile(patchPath, model.path, &why, &mismatch))
        return ReopenedLayout{*layout, selected};
    const QString shownPatch = QDir::toNativeSeparators(patchPath);
    const auto refuse = [&](const QString &text) {
        dialogs.message(window, Dialogs::Icon::Critical, applicationTitle(),
                        text + QStringLiteral("\n\nThe layout is unchanged."));
        return std::nullopt;
    };
    if (!mismatch) // the patch itself, or the template, could not be read
        return refuse(QStringLiteral("The patch %1 could not be opened with the template of "
                                     "%2.\n\n%3")
                          .arg(shownPatch, model.model, why));
    // Written for another model, perhaps: the ones whose template it fits.
    QList<ReopenedLayout> fits;
    QStringList names;
    for (qsizetype i = 0; i < models.size(); ++i) {
        QString ignored;
        if (i == selected)
            continue;
        if (auto layout = patch::readLayoutFile(patchPath, models[i].path, &ignored)) {
            fits << ReopenedLayout{*layout, i};
            names << models[i].model;
        }
    }
    if (fits.size() == 1) {
        if (!dialogs.question(window, applicationTitle(),
                              QStringLiteral("This patch was written for %1. Switch to %1 and open "
                                             "it?")
                                  .arg(names.first())))
            // Whatever else it fits, why the selected model refused it.
            return refuse(QStringLiteral("The patch %1 could not be opened with the template of "
                                         "%2.\n\n%3\n\nIt fits the template of %4: choose %4 "
                                         "and open it again to use it.")
                              .arg(shownPatch, model.model, why, names.first()));
        return fits.first();
    }
    if (fits.size() > 1)
        return refuse(QStringLiteral("The patch %1 could not be opened with the template of "
                                     "%2.\n\n%3\n\nIt fits the templates of %4: pick the one "
                                     "it was made for and open it again.")
                          .arg(shownPatch, model.model, why, names.join(QStringLiteral(", "))));
    return refuse(QStringLiteral("The patch %1 could not be opened with the template of %2.\n\n"
                                 "%3 Pick the phone model the patch was made for and open it "
                                 "again.")
                      .arg(shownPatch, model.model, why));
}

DropAction dropAction(const QMimeData *data, bool onPreview, QString *file)
{
    if (!data->hasUrls() || data->urls().size() != 1 || !data->urls().first().isLocalFile())
        return DropAction::None;
    *file = data->urls().first().toLocalFile();
    if (QFileInfo(*file).suffix().compare(QLatin1String("vkp"), Qt::CaseInsensitive) == 0)
        return DropAction::OpenPatch;
    return onPreview ? DropAction::LoadPicture : DropAction::None;
}

} // namespace jukora
