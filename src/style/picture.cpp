#include "picture.h"

#include "files.h"

#include <QFile>
#include <QFileInfo>
#include <QImageReader>
#include <QStringList>

namespace jukora {

namespace {
// Qt refuses to allocate images above its allocation limit; a picture the
// preview cannot clip while decoding is read whole, so it must fit in it.
constexpr int kMaxPictureMegabytes = 256;
constexpr qint64 kMaxWholePixels = qint64(kMaxPictureMegabytes) * 1024 * 1024 / 4;
} // namespace

QImage loadPicture(const QString &path, QString *error, QString *warning)
{
    QImageReader::setAllocationLimit(kMaxPictureMegabytes);
    if (!QFileInfo::exists(path)) {
        *error = QStringLiteral("The file does not exist.");
        return {};
    }
    QFile file(path);
    if (!patch::openForReading(file, error)) {
        *error += QLatin1Char('.');
        return {};
    }
    QImageReader reader(&file);
    const QSize size = reader.size();
    const QByteArray format = reader.format(); // the reader forgets it once it has read
    const QRect visible =
        QRect(0, 0, kVisibleWidth, kVisibleHeight).intersected(QRect(QPoint(), size));
    if (size.isValid() && reader.supportsOption(QImageIOHandler::ClipRect)) {
        reader.setClipRect(visible); // decodes only what is ever shown
    } else if (size.isValid() && qint64(size.width()) * size.height() > kMaxWholePixels) {
        *error = QStringLiteral("The picture is %1 x %2 pixels, too large to load: this program "
                                "reads pictures of up to %3 megapixels (only the top-left %4 x %5 "
                                "pixels are ever shown). Crop it and load it again.")
                     .arg(size.width())
                     .arg(size.height())
                     .arg(kMaxWholePixels / 1000000)
                     .arg(kVisibleWidth)
                     .arg(kVisibleHeight);
        return {};
    }
    QImage image = reader.read();
    if (image.isNull()) {
        QString reason = reader.errorString();
        if (reader.error() == QImageReader::UnsupportedFormatError)
            reason = QStringLiteral("It is not a picture in a format this program can read "
                                    "(BMP, JPEG, GIF, PNG and the like).");
        else if (reader.error() == QImageReader::InvalidDataError)
            reason = QStringLiteral("The picture data is damaged or cut short (%1).")
                         .arg(reader.errorString());
        *error = reason;
        return {};
    }
    // A JPEG ends with its end-of-image marker; without it the reader shows
    // what it got and says nothing.
    if (warning && format == "jpeg" && file.seek(file.size() - 2) &&
        file.read(2) != QByteArray("\xFF\xD9", 2))
        *warning = QStringLiteral("The picture data ends early: the file is cut short, so part of "
                                  "the picture may be missing.");
    if (image.width() > kVisibleWidth || image.height() > kVisibleHeight)
        image = image.copy(0, 0, kVisibleWidth, kVisibleHeight);
    return image;
}

QString pictureFilter()
{
    QStringList patterns;
    const auto formats = QImageReader::supportedImageFormats();
    for (const QByteArray &format : formats)
        patterns << QStringLiteral("*.") + QString::fromLatin1(format);
    return QStringLiteral("Image (*.bmp;*.jpg;*.gif)|*.bmp;*.jpg;*.gif|All pictures|") +
           patterns.join(QLatin1Char(';'));
}

} // namespace jukora
