#include "picture.h"

#include "aside.h"

#include "files.h"

#include <QFile>
#include <QFileInfo>
#include <QImageReader>
#include <QStringList>
#include <QTransform>

#include <png.h>

#include <algorithm>
#include <csetjmp>
#include <cstring>
#include <optional>
#include <vector>

namespace jukora {

namespace {
// Qt refuses to allocate images above its allocation limit; a picture the
// preview cannot clip while decoding is read whole, so it must fit in it.
constexpr int kMaxPictureMegabytes = 256;
// libpng refuses a PNG wider or taller than this, whatever its data.
constexpr quint32 kMaxPngSide = 1000000;

/// The width and height in a PNG's header, read without decoding anything;
/// nothing when the file does not start as a PNG.
std::optional<std::pair<quint32, quint32>> pngHeaderSize(QIODevice &device)
{
    const QByteArray head = device.peek(24);
    if (head.size() < 24 || !head.startsWith("\x89PNG\r\n\x1A\n") || head.mid(12, 4) != "IHDR")
        return std::nullopt;
    const auto at = [&](int i) {
        return quint32(quint8(head[i])) << 24 | quint32(quint8(head[i + 1])) << 16 |
               quint32(quint8(head[i + 2])) << 8 | quint32(quint8(head[i + 3]));
    };
    return std::pair(at(16), at(20));
}

/// Maps the picture as stored onto the picture as shown (`transformation`,
/// from its EXIF orientation): mirrored or flipped first, then turned a
/// quarter clockwise, as QImageReader does it.
QTransform shownFromStored(QImageIOHandler::Transformations transformation, QSize stored)
{
    const qreal w = stored.width(), h = stored.height();
    QTransform t;
    if (transformation == QImageIOHandler::TransformationRotate270)
        return QTransform(0, -1, 1, 0, 0, w); // a quarter anticlockwise
    if (transformation & QImageIOHandler::TransformationMirror)
        t *= QTransform(-1, 0, 0, 1, w, 0);
    if (transformation & QImageIOHandler::TransformationFlip)
        t *= QTransform(1, 0, 0, -1, 0, h);
    if (transformation & QImageIOHandler::TransformationRotate90)
        t *= QTransform(0, 1, -1, 0, h, 0);
    return t;
}

void readFromDevice(png_structp png, png_bytep data, png_size_t length)
{
    auto *device = static_cast<QIODevice *>(png_get_io_ptr(png));
    if (device->read(reinterpret_cast<char *>(data), qint64(length)) != qint64(length))
        png_error(png, "the file ends early");
}

/// Decodes the rows of a PNG into `image` (sized already) one at a time,
/// and stops at its last row: a PNG stores its rows top to bottom, so
/// nothing below the part the preview shows is ever decoded. libpng reports
/// errors by a long jump, so nothing here has a destructor.
bool readPngRows(png_structp png, QImage *image, png_bytep row)
{
    if (setjmp(png_jmpbuf(png)))
        return false;
    for (int y = 0; y < image->height(); ++y) {
        png_read_row(png, row, nullptr);
        std::memcpy(image->scanLine(y), row, std::size_t(image->width()) * 4);
    }
    return true;
}

/// Reads into `image` the top-left `limit` of a PNG that is not interlaced
/// (a null image when its data is damaged). False when the file is no such
/// PNG: an interlaced one comes in passes, and is read whole by Qt.
bool readPngTop(QIODevice &device, QSize limit, QImage *image)
{
    png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png ? png_create_info_struct(png) : nullptr;
    if (!info) {
        png_destroy_read_struct(&png, nullptr, nullptr);
        return false;
    }
    png_uint_32 width = 0, height = 0;
    int interlace = PNG_INTERLACE_NONE;
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_read_struct(&png, &info, nullptr);
        return false;
    }
    png_set_read_fn(png, &device, readFromDevice);
    png_read_info(png, info);
    png_get_IHDR(png, info, &width, &height, nullptr, nullptr, &interlace, nullptr, nullptr);
    // Whatever its kind, each pixel becomes 8-bit blue, green, red, alpha:
    // QImage::Format_ARGB32 as it lies in memory.
    png_set_expand(png);
    png_set_scale_16(png);
    png_set_gray_to_rgb(png);
    png_set_add_alpha(png, 0xFF, PNG_FILLER_AFTER);
    png_set_bgr(png);
    png_read_update_info(png, info);
    if (interlace != PNG_INTERLACE_NONE || png_get_rowbytes(png, info) != std::size_t(width) * 4) {
        png_destroy_read_struct(&png, &info, nullptr);
        return false;
    }
    *image = QImage(std::min<int>(int(width), limit.width()),
                    std::min<int>(int(height), limit.height()), QImage::Format_ARGB32);
    std::vector<png_byte> row(std::size_t(width) * 4);
    if (image->isNull() || !readPngRows(png, image, row.data()))
        *image = QImage();
    png_destroy_read_struct(&png, &info, nullptr);
    return true;
}

/// Sets `reader` to decode only the part of the picture the preview shows,
/// as an image viewer shows it: a phone photo taken upright stands upright,
/// and the part kept is the top-left of the picture as shown. False, with
/// `error` saying why, for a picture too large to decode whole when the
/// format cannot decode a part.
bool decodeOnlyWhatIsShown(QImageReader &reader, QString *error)
{
    const QSize visibleSize(kVisibleWidth, kVisibleHeight);
    reader.setAutoTransform(true);
    const QSize stored = reader.size();
    const QTransform shown = shownFromStored(reader.transformation(), stored);
    const QRectF storedRect{QPointF(), QSizeF(stored)};
    const QRectF visible =
        QRectF(QPointF(), QSizeF(visibleSize)).intersected(shown.mapRect(storedRect));
    if (stored.isValid() && reader.supportsOption(QImageIOHandler::ClipRect)) {
        reader.setClipRect(
            shown.inverted().mapRect(visible).toAlignedRect().intersected(storedRect.toRect()));
    } else if (stored.isValid()) {
        // Read whole: Qt allocates the picture at its own depth (a 16-bit
        // PNG takes 8 bytes a pixel), at least 4 bytes a pixel as shown.
        const qint64 bits =
            std::max(32, int(QImage::toPixelFormat(reader.imageFormat()).bitsPerPixel()));
        const qint64 megabytes = qint64(stored.width()) * stored.height() * bits / 8 / (1 << 20);
        if (megabytes >= kMaxPictureMegabytes) {
            *error = QStringLiteral("The picture is %1 x %2 pixels, too large to load: decoding it "
                                    "whole takes %3 MB, and this program decodes at most %4 MB "
                                    "(only the top-left %5 x %6 pixels are ever shown). Crop it, "
                                    "or save it with 8 bits a channel, and load it again.")
                         .arg(stored.width())
                         .arg(stored.height())
                         .arg(megabytes)
                         .arg(kMaxPictureMegabytes)
                         .arg(kVisibleWidth)
                         .arg(kVisibleHeight);
            return false;
        }
    }
    return true;
}

/// Why `reader` read no picture, as a sentence.
QString whyNotRead(const QImageReader &reader)
{
    if (reader.error() == QImageReader::UnsupportedFormatError)
        return QStringLiteral("It is not a picture in a format this program can read (BMP, JPEG, "
                              "GIF, PNG and the like).");
    if (reader.error() == QImageReader::InvalidDataError)
        return QStringLiteral("The picture data is damaged or cut short (%1).")
            .arg(reader.errorString());
    return patch::sentence(reader.errorString());
}

} // namespace

std::optional<QImage> loadPicture(const QString &path, QString *error, QString *warning)
{
    QImageReader::setAllocationLimit(kMaxPictureMegabytes);
    if (!QFileInfo::exists(path)) {
        *error = QStringLiteral("The file does not exist.");
        return std::nullopt;
    }
    QFile file(path);
    if (!patch::openForReading(file, error))
        return std::nullopt;
    const QSize visibleSize(kVisibleWidth, kVisibleHeight);
    QImageReader reader(&file);
    const QByteArray format = reader.format(); // the reader forgets it once it has read
    if (const auto side = pngHeaderSize(file);
        side && (side->first > kMaxPngSide || side->second > kMaxPngSide)) {
        *error = QStringLiteral("The picture is %1 x %2 pixels, too large to load: a PNG may be at "
                                "most %3 pixels wide and high here. Crop it and load it again.")
                     .arg(side->first)
                     .arg(side->second)
                     .arg(kMaxPngSide);
        return std::nullopt;
    }
    if (QImage top; format == "png" && readPngTop(file, visibleSize, &top)) {
        if (top.isNull()) {
            *error = QStringLiteral("The picture data is damaged or cut short.");
            return std::nullopt;
        }
        return top;
    }
    if (format == "png") {
        file.seek(0);
        reader.setDevice(&file);
    }
    if (!decodeOnlyWhatIsShown(reader, error))
        return std::nullopt;
    QImage image = reader.read();
    if (image.isNull()) {
        *error = whyNotRead(reader);
        return std::nullopt;
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

std::optional<QImage> loadPictureAside(const QString &path, QString *error, QString *warning)
{
    std::optional<QImage> picture;
    runAside([&] { picture = loadPicture(path, error, warning); });
    return picture;
}

QString pictureFilter()
{
    QStringList patterns;
    const auto formats = QImageReader::supportedImageFormats();
    for (const QByteArray &format : formats)
        patterns << QStringLiteral("*.") + QString::fromLatin1(format);
    // The dialog shows a filter's description only; Qt reads its patterns
    // from the last parentheses.
    return QStringLiteral("Image (*.bmp;*.jpg;*.gif) (*.bmp *.jpg *.gif);;All pictures (") +
           patterns.join(QLatin1Char(' ')) + QLatin1Char(')');
}

} // namespace jukora
