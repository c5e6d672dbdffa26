#pragma once

#include "console.h"

#include <QStringList>

namespace jukora::cli {

/// What --generate is asked for.
struct GenerateRequest
{
    QString model;
    QString layoutPath;  ///< an earlier patch whose layout to take; empty for the start layout
    QString layoutModel; ///< the model whose template reads it; empty: found from the patch
    QString outputPath;
    bool allowWrap = false;
    const FirmwareImage *firmware = nullptr;
    QStringList templateFolders;
};

/// --generate: writes the patch of the requested model's template with the
/// layout an earlier patch carries (or the layout every start begins with),
/// with the window's checks and the same all-or-nothing write. Returns the
/// status; whatever is refused is said on standard error.
int generatePatch(const Console &console, const GenerateRequest &request);

} // namespace jukora::cli
