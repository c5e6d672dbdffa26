// The second baseline of the start-up benchmark: a window of the editor's
// size holding one QLabel, so that it pays what any window that draws text
// pays (fontconfig, one face), built by the same build.
#include <QApplication>
#include <QGuiApplication>
#include <QLabel>
#include <QScreen>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QLabel window(QStringLiteral("Jukora"));
    window.setWindowTitle(QStringLiteral("label"));
    window.setFixedSize(358, 324);
    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    window.move(screen.center() - QPoint(179, 162));
    window.show();
    return app.exec();
}
