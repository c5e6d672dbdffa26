#pragma once

#include "console.h"

#include <QStringList>

namespace jukora::cli {

/// --check: reads each template as Generate does and prints every malformed
/// placeholder line as an error and every old value unlike the instruction
/// its placeholder writes as a warning; with `firmware`, also every patch
/// line whose old bytes are not the image's. Returns the worst status.
int checkTemplates(const Console &console, const QStringList &files, const FirmwareImage *firmware);

/// The firmware comparison alone, before a Generate: lists the lines that
/// differ and says that no patch was written. Success when all match.
int checkAgainstFirmware(const Console &console, const QString &templatePath,
                         const FirmwareImage &firmware);

} // namespace jukora::cli
