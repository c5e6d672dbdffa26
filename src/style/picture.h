#pragma once

#include "screen.h"

#include <QImage>
#include <QString>

#include <optional>

namespace jukora {

/// The part of a background that the preview ever shows: it is drawn at
/// natural size below the status band.
inline constexpr int kVisibleWidth = patch::kScreenWidth;
inline constexpr int kVisibleHeight = patch::kScreenHeight - patch::kStatusBandHeight;

/// Reads a picture file for the preview's background, keeping only the part
/// that is ever visible (a JPEG and a PNG are decoded only that far), turned
/// upright as its EXIF orientation says. Nothing on failure, with `error`
/// saying why in words a user can act on. A picture that loads but whose
/// data ends early sets `warning`.
std::optional<QImage> loadPicture(const QString &path, QString *error, QString *warning = nullptr);

/// loadPicture() off the calling thread, for the window: it keeps
/// repainting meanwhile, shows a busy cursor once the picture takes long
/// enough to notice, and holds input back until the picture is in.
std::optional<QImage> loadPictureAside(const QString &path, QString *error, QString *warning);

/// The filter of the picture dialog: BMP, JPEG and GIF first, then
/// every format this build of Qt can read.
QString pictureFilter();

} // namespace jukora
