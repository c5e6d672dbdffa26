#pragma once

#include "layoutreader.h"

#include <QString>

#include <optional>

namespace jukora::patch {

/// Reads the layout that the patch file at `patchPath` carries, matched
/// against the template file at `templatePath`. This is the one reading that
/// reopening in the window and the command line share.
class LayoutFileReader
{
public:
    enum class Error {
        None,
        PatchUnreadable,    ///< the patch cannot be opened or read
        PatchTooLarge,      ///< far larger than any patch
        TemplateUnreadable, ///< the template cannot be opened or read
        Mismatch,           ///< the patch does not fit the template
    };

    /// A patch is a few kilobytes; a file far larger is not one of ours, and
    /// both files are read whole.
    static constexpr qint64 kMaxBytes = 64 * 1024 * 1024;

    std::optional<PatchLayout> read(const QString &patchPath, const QString &templatePath);

    Error error() const { return m_error; }
    /// What went wrong, as a sentence that ends with a full stop.
    QString errorString() const { return m_errorString; }

private:
    std::optional<PatchLayout> fail(Error error, const QString &why);

    Error m_error = Error::None;
    QString m_errorString;
};

} // namespace jukora::patch
