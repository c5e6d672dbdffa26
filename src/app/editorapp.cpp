#include "editorapp.h"

#include "commandline.h"
#include "dialogs.h"
#include "mainwindow.h"
#include "startup.h"
#include "templatelist.h"
#include "windowlayout.h"

#include <QApplication>

#include <cstdio>

namespace jukora {

int runEditor(int &argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QString::fromLatin1(kApplicationName));
    QApplication::setApplicationVersion(QStringLiteral(JUKORA_VERSION));
    // Qt has taken its own options (-platform, -style ...); what is left is
    // at most one patch to open (as the file manager passes it), and
    // anything else is a mistake the user should hear about.
    const QStringList rest = QApplication::arguments().mid(1);
    if (rest.size() > 1 || (!rest.isEmpty() && rest.first().startsWith(u'-'))) {
        std::fprintf(stderr,
                     "jukora-patch-editor: unknown argument '%s'\n"
                     "Try 'jukora-patch-editor --help' for more information.\n",
                     qPrintable(rest.last()));
        return cli::Failed;
    }
    // Ties the window to its desktop entry (icon and name in the task bar).
    QGuiApplication::setDesktopFileName(QStringLiteral("org.jukora.PatchEditor"));
    QApplication::setWindowIcon(applicationIcon());
    // One face for the window, its dialogs and its boxes.
    QApplication::setFont(defaultFont());

    QtDialogs dialogs;
    const auto window = startEditor(dialogs, templateFolders());
    if (!window)
        return 1;
    window->showCentered();
    if (!rest.isEmpty())
        window->openPatch(rest.first());
    return app.exec();
}

} // namespace jukora
