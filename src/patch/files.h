#pragma once

#include <QFile>
#include <QString>

namespace jukora::patch {

/// What a path names when it is there but is no regular file ("a folder",
/// "a named pipe (FIFO)", "a character device" ...); empty for a regular
/// file or when nothing is there. Links are followed.
QString specialKind(const QString &path);

/// Opens `file` (its name set) for reading, but only when it is a regular
/// file: a named pipe is never waited on and a device is never read. False
/// with `error` saying why otherwise, as a sentence without its full stop.
bool openForReading(QFile &file, QString *error, QIODevice::OpenMode mode = QIODevice::ReadOnly);

} // namespace jukora::patch
