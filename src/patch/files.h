#pragma once

#include <QByteArray>
#include <QFile>
#include <QString>

#include <optional>

namespace jukora::patch {

/// What a path names when it is there but is no regular file ("a folder",
/// "a named pipe (FIFO)", "a character device" ...); empty for a regular
/// file or when nothing is there. Links are followed.
QString specialKind(const QString &path);

/// True when `path` names the very file that `file` has open (the same
/// file, not merely the same name: links and other spellings of the path
/// count as well).
bool isSameFile(const QFile &file, const QString &path);

/// A reason as the system or Qt gives it ("No such file or directory"),
/// made a sentence: errors in this program are whole sentences.
QString sentence(const QString &reason);

/// Opens `file` (its name set) for reading, but only when it is a regular
/// file: a named pipe is never waited on and a device is never read. False
/// with `error` saying why otherwise.
bool openForReading(QFile &file, QString *error, QIODevice::OpenMode mode = QIODevice::ReadOnly);

} // namespace jukora::patch

namespace jukora::patch {

/// The whole of the regular file at `path`, read into memory and never
/// mapped, so a file that shrinks while it is read is simply shorter.
/// Nothing when it cannot be read or holds more than `maxBytes`, with
/// `error` saying why.
std::optional<QByteArray> readWholeFile(const QString &path, qint64 maxBytes, QString *error);

} // namespace jukora::patch
