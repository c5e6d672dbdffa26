#include "picture.h"

#include <QFileInfo>
#include <QImageReader>
#include <QStringList>

namespace jukora {

namespace {
// Qt refuses to allocate images above its allocation limit (256 MB by
// default); a picture that large could never be shown usefully anyway.
constexpr int kMaxPictureMegabytes = 256;
} // namespace

QImage loadPicture(const QString &path, QString *error)
{
    QImageReader::setAllocationLimit(kMaxPictureMegabytes);
    const QFileInfo info(path);
    if (!info.exists()) {
        *error = QStringLiteral("The file does not exist.");
        return {};
    }
    if (info.isDir()) {
        *error = QStringLiteral("It is a folder, not a picture file.");
        return {};
    }
    QImageReader reader(path);
    reader.setDecideFormatFromContent(true);
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
