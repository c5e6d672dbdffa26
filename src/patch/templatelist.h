#pragma once

#include <QList>
#include <QString>

namespace jukora {

/// A phone model and the template file it was listed from.
struct TemplateEntry
{
    QString model; ///< the file name less its last four characters
    QString path;  ///< the file itself, as found
};

struct TemplateListing
{
    QList<TemplateEntry> entries;
    /// Empty on success; otherwise what went wrong, for the start-up message.
    QString error;
};

/// Lists the templates in a folder: regular, non-hidden files whose name
/// ends in ".txt" in any case, sorted without regard to case (names that
/// differ only in case keep a fixed order). An error when the folder is
/// missing or holds no template.
TemplateListing listTemplates(const QString &folder);

/// The template folder: "DB" beside the executable.
QString templateFolder();

} // namespace jukora
