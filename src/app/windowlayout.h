#pragma once

#include <QFont>

class QColor;
class QIcon;
class QWidget;

namespace jukora {

/// The font of every control that names none, dialogs and boxes included.
QFont defaultFont();

/// The program's icon, for the application and its window.
QIcon applicationIcon();

/// Fills a widget's background with a plain colour, its text black.
void setFill(QWidget *widget, const QColor &fill);

} // namespace jukora
