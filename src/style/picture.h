#pragma once

#include <QImage>
#include <QString>

namespace jukora {

/// Reads a picture file for the preview's background. On failure the image
/// is null and `error` says why in words a user can act on.
QImage loadPicture(const QString &path, QString *error);

/// The filter of the picture dialog: BMP, JPEG and GIF first, then
/// every format this build of Qt can read.
QString pictureFilter();

} // namespace jukora
