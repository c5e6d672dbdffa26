#pragma once

#include <QLocale>
#include <QString>

#include <optional>

namespace jukora {

/// The largest cover the preview accepts, in pixels.
constexpr float kMaxCoverSize = 4096.0f;

/// Reads the text of the cover-size box as a size in pixels, with the
/// decimal separator of `locale`. Nothing when the text is not a number from
/// 0 to kMaxCoverSize; `error` then says what is accepted.
std::optional<float> parseCoverSize(const QString &text, const QLocale &locale, QString *error);

/// A number as the read-outs show it, in `locale` as the cover-size box
/// reads it: no fraction when whole, at most seven significant digits, no
/// group separators.
QString readoutText(float value, const QLocale &locale);

} // namespace jukora
