#pragma once

#include "layoutreader.h"

#include <QString>

#include <optional>

class QMimeData;
class QWidget;

namespace jukora {

class Dialogs;

/// Reopening: the layout a patch carries, read against the selected
/// model's template. When it cannot be taken over, a box says why and
/// nothing is returned; the layout on screen is then left as it is.
std::optional<patch::PatchLayout> readPatchLayout(Dialogs &dialogs, QWidget *window,
                                                  const QString &patchPath, const QString &model,
                                                  const QString &templatePath);

/// What a drop does: open a patch (a .vkp anywhere on the window), load a
/// picture (any other file dropped on the preview), or nothing. Only a
/// single local file is taken.
enum class DropAction { None, OpenPatch, LoadPicture };
DropAction dropAction(const QMimeData *data, bool onPreview, QString *file);

} // namespace jukora
