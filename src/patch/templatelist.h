#pragma once

#include "identity.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

namespace jukora {

/// A phone model and the template file it was listed from.
struct TemplateEntry
{
    QString model; ///< the file name less its last four characters
    QString path;  ///< the file itself, as found

    bool operator==(const TemplateEntry &) const = default;
};

/// Lists the templates in `folders`, the first folder winning: a model found
/// in more than one of them is listed once, from the first that has it. In
/// each folder the templates are the regular, non-hidden files whose name
/// ends in ".txt" in any case; the list is sorted without regard to case
/// (names that differ only in case keep a fixed order). Missing folders are
/// passed over. Nothing when no folder holds a template; `error` then names
/// every folder searched and where the user's own templates go. Templates
/// whose names are not valid UTF-8 cannot be opened through Qt and are left
/// out; `warning` (when given) then says how many and what to do.
std::optional<QList<TemplateEntry>> listTemplates(const QStringList &folders, QString *error,
                                                  QString *warning = nullptr);

/// The template of `model` among `templates`: the one of exactly that name,
/// or else the only one whose name differs from it just in case. Nothing
/// when there is none, or several that differ only in case; `error` then
/// says so and names the models there are.
std::optional<TemplateEntry> findTemplate(const QList<TemplateEntry> &templates,
                                          const QString &model, QString *error);

/// Where the program looks for templates, the first winning: "DB" in the
/// user's data folder (~/.local/share/jukora-patch-editor/DB), in each of
/// the system's data folders, and beside the executable.
/// Folders are absolute paths: a relative XDG_DATA_HOME, which would name
/// another folder in every working folder, is ignored (as Qt ignores
/// relative XDG_DATA_DIRS entries), and `note` (when given) says so.
QStringList templateFolders(QString *note = nullptr);

} // namespace jukora
