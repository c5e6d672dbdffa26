#include "coversize.h"

#include <cmath>

namespace jukora {

std::optional<float> parseCoverSize(const QString &text, const QLocale &locale, QString *error)
{
    const QString accepted =
        QStringLiteral("Enter the cover size in pixels: a number from 0 to %1.")
            .arg(static_cast<int>(kMaxCoverSize));
    bool ok = false;
    const double value = locale.toDouble(text.trimmed(), &ok);
    if (!ok) {
        *error = QStringLiteral("\"%1\" is not a number. %2").arg(text, accepted);
        return std::nullopt;
    }
    if (!std::isfinite(value) || value < 0 || value > kMaxCoverSize) {
        *error = QStringLiteral("%1 is outside the sizes the preview can hold. %2")
                     .arg(text.trimmed(), accepted);
        return std::nullopt;
    }
    return static_cast<float>(value);
}

QString readoutText(float value, const QLocale &locale)
{
    QLocale plain = locale;
    plain.setNumberOptions(QLocale::OmitGroupSeparator);
    return plain.toString(static_cast<double>(value), 'g', 7);
}

} // namespace jukora
