#pragma once

#include "layoutreader.h"
#include "templatelist.h"

#include <QByteArray>
#include <QString>

#include <atomic>
#include <functional>
#include <optional>

namespace jukora::patch {

/// A patch is a few kilobytes; a file far larger is not one of ours. The
/// patch is read whole, the template line by line.
inline constexpr qint64 kMaxPatchBytes = 64 * 1024 * 1024;

/// The bytes of the patch file at `patchPath`, read whole; nothing when it
/// cannot be read or is too large to be a patch, with `error` saying why as
/// a sentence.
std::optional<QByteArray> readPatchBytes(const QString &patchPath, QString *error);

/// Why a patch does not fit a template, as a sentence, from the reader's
/// finish().
QString mismatchSentence(const std::string &why);

/// Reads the layout that a patch read before carries, matched against the
/// template file at `templatePath`. Nothing when the template cannot be
/// read or the patch does not fit it; `error` then says why, as sentences,
/// and `mismatch` (when given) tells the second case from the first.
std::optional<PatchLayout> readLayoutFile(const LayoutReader::PatchLines &patch,
                                          const QString &templatePath, QString *error,
                                          bool *mismatch = nullptr);

/// A layout read from a patch, and the model whose template read it (its
/// index in the list of models).
struct ModelLayout
{
    PatchLayout layout;
    qsizetype model;
};

/// What reopening a patch finds, for the window and the command line alike.
struct Reopened
{
    /// Read with the template of the model tried first.
    std::optional<PatchLayout> layout;
    QString why;           ///< why not, as sentences
    bool mismatch = false; ///< the patch does not fit that template
    /// When it does not: every other model whose template it fits.
    QList<ModelLayout> fits;
    bool stopped = false; ///< the search for fits was stopped
};

/// Reads the patch at `patchPath` once and its layout with the template of
/// `models[first]`; when the patch does not fit it, tries every other
/// model's template, reporting each one read to `searched` (from 1), until
/// `stop` is set (set from the start, no other model is tried).
Reopened reopenPatch(const QString &patchPath, const QList<TemplateEntry> &models, qsizetype first,
                     const std::atomic<bool> *stop = nullptr,
                     const std::function<void(qsizetype)> &searched = {});

} // namespace jukora::patch
