#pragma once

#include "layoutreader.h"

#include <QByteArray>
#include <QString>

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

/// Reads the layout that the patch file at `patchPath` carries, matched
/// against the template file at `templatePath`: the one reading that
/// reopening in the window and the command line share. Nothing when a file
/// cannot be read or the patch does not fit the template; `error` then says
/// why, as sentences, and `mismatch` (when given) tells the second case from
/// the first.
std::optional<PatchLayout> readLayoutFile(const QString &patchPath, const QString &templatePath,
                                          QString *error, bool *mismatch = nullptr);
/// The same for a patch read before: one patch is tried against many
/// templates without reading it again.
std::optional<PatchLayout> readLayoutFile(const LayoutReader::PatchLines &patch,
                                          const QString &templatePath, QString *error,
                                          bool *mismatch = nullptr);

} // namespace jukora::patch
