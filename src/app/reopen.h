#pragma once

#include "layoutfile.h"
#include "templatelist.h"

#include <QString>

#include <functional>
#include <optional>

class QMimeData;
class QWidget;

namespace jukora {

class Dialogs;

/// A layout reopened from a patch, and the model whose template it fits.
using ReopenedLayout = patch::ModelLayout;

/// How the user came to a patch: named it to start the program with (as a
/// file manager does), or chose it while the program runs.
enum class Reopening { Named, Chosen };

/// Reopening, with the user: the layout a patch carries, read against the
/// template of the selected model (`models[selected]`). A patch that does
/// not fit it is tried against every other model's, off the window's
/// thread (Escape stops the search, and `note` then says so; `searched`
/// hears now and then how many have been read). When exactly
/// one fits, a patch named at start opens on it, and one chosen later asks
/// whether to switch to it. When the layout cannot be taken over, a box
/// says why (and which models it fits, if any) and nothing is returned;
/// the layout on screen is then left as it is.
std::optional<ReopenedLayout> reopenLayout(Dialogs &dialogs, QWidget *window,
                                           const QString &patchPath,
                                           const QList<TemplateEntry> &models, qsizetype selected,
                                           Reopening how, QString *note,
                                           const std::function<void(qsizetype)> &searched);

/// What a drop does: open a patch (a .vkp anywhere on the window), load a
/// picture (a picture file dropped on the preview), say that a file dropped
/// on the preview is neither, or nothing. Only a single local file is taken.
enum class DropAction { None, OpenPatch, LoadPicture, NotAPicture };
DropAction dropAction(const QMimeData *data, bool onPreview, QString *file);

} // namespace jukora
