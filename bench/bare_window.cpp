// The baseline of the start-up and memory benchmarks: a bare Qt 6 window of
// the editor's size, built by the same build.
#include <QApplication>
#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QWidget window;
    window.setWindowTitle(QStringLiteral("bare"));
    window.setFixedSize(358, 324);
    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    window.move(screen.center() - QPoint(179, 162));
    window.show();
    return app.exec();
}
