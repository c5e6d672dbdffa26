#include "dialogs.h"
#include "mainwindow.h"
#include "templatelist.h"

#include <QApplication>
#include <QIcon>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Jukora Patch Editor"));
    QApplication::setApplicationVersion(QStringLiteral("1.00"));
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/artwork/jukora.png")));

    jukora::QtDialogs dialogs;
    const jukora::TemplateListing listing = jukora::listTemplates(jukora::templateFolder());
    if (!listing.error.isEmpty()) {
        dialogs.message(nullptr, jukora::Dialogs::Icon::Critical, jukora::applicationTitle(),
                        listing.error);
        return 1;
    }
    jukora::MainWindow window(listing.entries, dialogs);
    window.showCentered();
    return app.exec();
}
