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

/// A number as the read-outs show it: no fraction when whole, at most seven
/// significant digits.
QString readoutText(float value);

/// Reads a read-out back as a number (the user's locale, or the plain form
/// the read-outs write). Nothing for an empty or non-numeric text.
std::optional<float> readoutValue(const QString &text, const QLocale &locale);

} // namespace jukora
