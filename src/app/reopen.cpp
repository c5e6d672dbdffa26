#include "reopen.h"

#include "dialogs.h"
#include "layoutfile.h"

#include <QDir>
#include <QFileInfo>
#include <QMimeData>
#include <QUrl>

namespace jukora {

std::optional<patch::PatchLayout> readPatchLayout(Dialogs &dialogs, QWidget *window,
                                                  const QString &patchPath, const QString &model,
                                                  const QString &templatePath)
{
    QString why;
    bool mismatch = false;
    auto layout = patch::readLayoutFile(patchPath, templatePath, &why, &mismatch);
    if (!layout) {
        if (mismatch)
            why +=
                QStringLiteral(" Pick the phone model the patch was made for and open it again.");
        dialogs.message(window, Dialogs::Icon::Critical, applicationTitle(),
                        QStringLiteral("The patch %1 could not be opened with the template of "
                                       "%2.\n\n%3\n\nThe layout is unchanged.")
                            .arg(QDir::toNativeSeparators(patchPath), model, why));
    }
    return layout;
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
