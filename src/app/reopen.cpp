#include "reopen.h"

#include "aside.h"
#include "dialogs.h"
#include "layoutfile.h"

#include <QDir>
#include <QFileInfo>
#include <QMimeData>
#include <QMimeDatabase>
#include <QTimer>
#include <QUrl>
#include <QWidget>

#include <atomic>

namespace jukora {

std::optional<ReopenedLayout> reopenLayout(Dialogs &dialogs, QWidget *window,
                                           const QString &patchPath,
                                           const QList<TemplateEntry> &models, qsizetype selected,
                                           Reopening how, QString *note,
                                           const std::function<void(qsizetype)> &searched)
{
    std::atomic<bool> stop = false;
    std::atomic<qsizetype> read = 0;
    patch::Reopened found;
    // The window hears how far the search is, a few times a second.
    QTimer progress;
    QObject::connect(&progress, &QTimer::timeout, window, [&] { searched(read); });
    progress.start(250);
    runAside(
        [&] {
            found = patch::reopenPatch(patchPath, models, selected, &stop,
                                       [&](qsizetype done) { read = done; });
        },
        [&] { stop = true; });
    if (found.layout)
        return ReopenedLayout{*found.layout, selected};
    if (found.stopped) {
        *note = QStringLiteral("Search stopped: the layout is unchanged.");
        return std::nullopt;
    }
    const TemplateEntry &model = models.at(selected);
    const QString shownPatch = QDir::toNativeSeparators(patchPath);
    const auto refuse = [&](const QString &text) {
        dialogs.message(window, Dialogs::Icon::Critical, applicationTitle(),
                        text + QStringLiteral("\n\nThe layout is unchanged."));
        return std::nullopt;
    };
    const QString why = QStringLiteral("The patch %1 could not be opened with the template of "
                                       "%2.\n\n%3")
                            .arg(shownPatch, model.model, found.why);
    if (!found.mismatch) // the patch itself, or the template, could not be read
        return refuse(why);
    QStringList names;
    for (const auto &fit : std::as_const(found.fits))
        names << models.at(fit.model).model;
    // A patch the user named to start with opens on the one model it fits;
    // while the program runs, switching models is worth a question, whose
    // default is the answer the user came for.
    if (found.fits.size() == 1) {
        if (how == Reopening::Named ||
            dialogs.question(window, applicationTitle(),
                             QStringLiteral("This patch was written for %1. Switch to %1 and "
                                            "open it?")
                                 .arg(names.first()),
                             true))
            return found.fits.first();
        // Whatever else it fits, why the selected model refused it.
        return refuse(why + QStringLiteral("\n\nIt fits the template of %1: choose %1 and open "
                                           "it again to use it.")
                                .arg(names.first()));
    }
    if (found.fits.size() > 1)
        return refuse(why + QStringLiteral("\n\nIt fits the templates of %1: pick the one it "
                                           "was made for and open it again.")
                                .arg(names.join(QStringLiteral(", "))));
    return refuse(why + QStringLiteral(" Pick the phone model the patch was made for and open it "
                                       "again."));
}

DropAction dropAction(const QMimeData *data, bool onPreview, QString *file)
{
    if (!data->hasUrls() || data->urls().size() != 1 || !data->urls().first().isLocalFile())
        return DropAction::None;
    *file = data->urls().first().toLocalFile();
    if (QFileInfo(*file).suffix().compare(QLatin1String("vkp"), Qt::CaseInsensitive) == 0)
        return DropAction::OpenPatch;
    if (!onPreview)
        return DropAction::None;
    // By its name, else by its first bytes: a picture that cannot be read
    // is still a picture, and loading it says what is wrong with it.
    const QMimeType type = QMimeDatabase().mimeTypeForFile(*file);
    return type.name().startsWith(QLatin1String("image/")) ? DropAction::LoadPicture
                                                           : DropAction::NotAPicture;
}

} // namespace jukora
