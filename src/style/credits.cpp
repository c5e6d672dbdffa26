#include "credits.h"

#include <QStringList>

namespace jukora {

QString creditsText()
{
    const QStringList lines = {
        QStringLiteral("Jukora 2 Patch Editor 1.00: a layout editor for the player screen"),
        QStringLiteral("--------------------------"),
        QStringLiteral("Thanks to everyone who writes and shares phone templates,"),
        QStringLiteral("and to everyone who tries the patches and reports back."),
    };
    return lines.join(QStringLiteral("\r\n"));
}

} // namespace jukora
