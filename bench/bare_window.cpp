// The baselines of the start-up and memory benchmarks, built by the same
// build: a bare Qt 6 window of the editor's size (bare_window), and the same
// window holding one QLabel (label_window), which pays what any window that
// draws text pays: fontconfig and one face.
#include <QApplication>
#include <QGuiApplication>
#include <QLabel>
#include <QScreen>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
#ifdef JUKORA_WITH_LABEL
    QLabel window(QStringLiteral("Jukora"));
#else
    QWidget window;
#endif
    window.setWindowTitle(QStringLiteral("baseline"));
    window.setFixedSize(358, 324);
    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    window.move(screen.center() - QPoint(179, 162));
    window.show();
    return app.exec();
}
