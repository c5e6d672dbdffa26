#pragma once

#include "layoutreader.h"

#include <QString>

#include <optional>

namespace jukora::patch {

/// A patch is a few kilobytes; a file far larger is not one of ours. The
/// patch is read whole, the template line by line.
inline constexpr qint64 kMaxPatchBytes = 64 * 1024 * 1024;

/// Reads the layout that the patch file at `patchPath` carries, matched
/// against the template file at `templatePath`: the one reading that
/// reopening in the window and the command line share. Nothing when a file
/// cannot be read or the patch does not fit the template; `error` then says
/// why, as sentences, and `mismatch` (when given) tells the second case from
/// the first.
std::optional<PatchLayout> readLayoutFile(const QString &patchPath, const QString &templatePath,
                                          QString *error, bool *mismatch = nullptr);

} // namespace jukora::patch
