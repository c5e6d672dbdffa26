#pragma once

#include <QString>

namespace jukora {

/// The credits message: four lines joined by CR LF.
QString creditsText();

} // namespace jukora
