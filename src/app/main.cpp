#include "dialogs.h"
#include "mainwindow.h"
#include "startup.h"
#include "templatelist.h"

#include <QApplication>
#include <QIcon>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Jukora Patch Editor"));
    QApplication::setApplicationVersion(QStringLiteral("1.00"));
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/artwork/jukora.png")));
    // One face for the window, its dialogs and its boxes.
    QApplication::setFont(jukora::defaultFont());

    jukora::QtDialogs dialogs;
    const auto window = jukora::startEditor(dialogs, jukora::templateFolder());
    if (!window)
        return 1;
    window->showCentered();
    return app.exec();
}
