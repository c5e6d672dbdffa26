#pragma once

#include <QList>
#include <QString>

#include <optional>

namespace jukora {

/// A phone model and the template file it was listed from.
struct TemplateEntry
{
    QString model; ///< the file name less its last four characters
    QString path;  ///< the file itself, as found
};

/// Lists the templates in a folder: regular, non-hidden files whose name
/// ends in ".txt" in any case, sorted without regard to case (names that
/// differ only in case keep a fixed order). Nothing when the folder is
/// missing or holds no template; `error` then says so and what to do.
/// Templates whose names are not valid UTF-8 cannot be opened through Qt and
/// are left out; `warning` (when given) then says how many and what to do.
std::optional<QList<TemplateEntry>> listTemplates(const QString &folder, QString *error,
                                                  QString *warning = nullptr);

/// The template folder: "DB" beside the executable.
QString templateFolder();

} // namespace jukora
