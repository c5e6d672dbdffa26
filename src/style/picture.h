#pragma once

#include <QImage>
#include <QString>

namespace jukora {

/// The part of a background that the preview ever shows: it is drawn at
/// natural size below the status band.
inline constexpr int kVisibleWidth = 240;
inline constexpr int kVisibleHeight = 296;

/// Reads a picture file for the preview's background, keeping only the part
/// that is ever visible (a JPEG is decoded only that far). On failure the
/// image is null and `error` says why in words a user can act on. A picture
/// that loads but whose data ends early sets `warning`.
QImage loadPicture(const QString &path, QString *error, QString *warning = nullptr);

/// The filter of the picture dialog: BMP, JPEG and GIF first, then
/// every format this build of Qt can read.
QString pictureFilter();

} // namespace jukora
