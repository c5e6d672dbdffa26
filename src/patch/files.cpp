#include "files.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace jukora::patch {

namespace {

QString kindOf(mode_t mode)
{
    if (S_ISDIR(mode))
        return QStringLiteral("a folder");
    if (S_ISFIFO(mode))
        return QStringLiteral("a named pipe (FIFO)");
    if (S_ISCHR(mode))
        return QStringLiteral("a character device");
    if (S_ISBLK(mode))
        return QStringLiteral("a block device");
    if (S_ISSOCK(mode))
        return QStringLiteral("a socket");
    return S_ISREG(mode) ? QString() : QStringLiteral("not a file");
}

QString systemReason()
{
    return sentence(QString::fromLocal8Bit(std::strerror(errno)));
}

} // namespace

QString sentence(const QString &reason)
{
    return reason.endsWith(QLatin1Char('.')) ? reason : reason + QLatin1Char('.');
}

QString specialKind(const QString &path)
{
    struct stat st;
    if (::stat(QFile::encodeName(path).constData(), &st) != 0)
        return {};
    return kindOf(st.st_mode);
}

bool isSameFile(const QFile &file, const QString &path)
{
    struct stat open, named;
    return ::fstat(file.handle(), &open) == 0 &&
           ::stat(QFile::encodeName(path).constData(), &named) == 0 &&
           open.st_dev == named.st_dev && open.st_ino == named.st_ino;
}

bool openForReading(QFile &file, QString *error, QIODevice::OpenMode mode)
{
    // Opened without blocking, so that a named pipe with no writer cannot
    // hold the program; what it is decides before a byte is read.
    const int fd =
        ::open(QFile::encodeName(file.fileName()).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        *error = systemReason();
        return false;
    }
    struct stat st;
    QString why;
    if (::fstat(fd, &st) != 0)
        why = systemReason();
    else if (const QString kind = kindOf(st.st_mode); !kind.isEmpty())
        why = QStringLiteral("It is %1, not a regular file.").arg(kind);
    else if (::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK) != 0)
        why = systemReason();
    if (!why.isEmpty()) {
        ::close(fd);
        *error = why;
        return false;
    }
    if (!file.open(fd, mode, QFileDevice::AutoCloseHandle)) {
        ::close(fd);
        *error = sentence(file.errorString());
        return false;
    }
    return true;
}

std::optional<QByteArray> readWholeFile(const QString &path, qint64 maxBytes, QString *error)
{
    QFile file(path);
    if (!openForReading(file, error))
        return std::nullopt;
    const auto tooLarge = [&] {
        *error = QStringLiteral("It is larger than this program reads: at most %1 MB.")
                     .arg(maxBytes / (1024 * 1024));
        return std::nullopt;
    };
    if (file.size() > maxBytes)
        return tooLarge();
    // Read to its end, whatever size it had when it was opened.
    QByteArray bytes;
    bytes.reserve(file.size());
    QByteArray chunk(1 << 16, Qt::Uninitialized);
    for (;;) {
        const qint64 got = file.read(chunk.data(), chunk.size());
        if (got < 0) {
            *error = sentence(file.errorString());
            return std::nullopt;
        }
        if (got == 0)
            return bytes;
        if (bytes.size() + got > maxBytes)
            return tooLarge();
        bytes.append(chunk.constData(), got);
    }
}

} // namespace jukora::patch
