#pragma once

#include <QFont>

class QColor;
class QWidget;

namespace jukora {

/// The font of every control that names none, dialogs and boxes included.
QFont defaultFont();

/// Fills a widget's background with a plain colour, its text black.
void setFill(QWidget *widget, const QColor &fill);

} // namespace jukora
