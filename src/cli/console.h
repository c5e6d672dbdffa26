#pragma once

#include "firmware.h"

#include <QByteArray>
#include <QFile>
#include <QString>

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string_view>

class QTextStream;

namespace jukora::cli {

/// Exit statuses of the command line.
enum Status : int {
    Success = 0,
    Refused = 1, ///< a template has problems, or the patch was refused
    Failed = 2,  ///< the job could not be done: a file could not be read or written, the
                 ///< options are wrong, there is no display, or the output is closed
};

/// Where the command line speaks: findings on standard output in the form
/// compilers use, so that an editor can jump to them, and complaints on
/// standard error after the program's name.
struct Console
{
    QString program;
    QTextStream &out;
    QTextStream &err;

    /// "program: message" on standard error.
    void complain(const QString &message) const;
    /// "FILE:LINE: kind: what" on standard output.
    void diagnostic(const QString &file, std::size_t line, const char *kind,
                    const QString &what) const;
};

/// The firmware image of --firmware: a byte-for-byte dump of the phone's
/// flash from the address `base` on, open for reading. It is never held:
/// a check reads the bytes each line names.
struct FirmwareImage
{
    QString path;
    std::shared_ptr<QFile> file;
    std::uint32_t base = 0;

    /// A check of template lines against this image.
    patch::FirmwareCheck check() const;
};

} // namespace jukora::cli
