#pragma once

#include <QFile>
#include <QString>

#include <string_view>

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

namespace jukora::patch {

/// A regular file mapped read-only in one piece: the system reads its pages
/// as they are touched and may drop them again, so a firmware image of
/// tens of megabytes costs address space rather than memory.
class MappedFile
{
public:
    /// False with `error` set when the file is no regular file, cannot be
    /// read or cannot be mapped.
    bool open(const QString &path, QString *error);
    std::string_view bytes() const;

private:
    QFile m_file;
    const uchar *m_data = nullptr;
};

} // namespace jukora::patch
