#include "editorapp.h"

#include "commandline.h"
#include "dialogs.h"
#include "mainwindow.h"
#include "startup.h"
#include "templatelist.h"
#include "windowlayout.h"

#include <QApplication>

#include <cstdio>
#include <cstdlib>

namespace jukora {

namespace {

QtMessageHandler qtHandler = nullptr;

/// While the application object is made, Qt's one fatal message is that no
/// platform could be started: a display named but not there (a dead ssh
/// forward, a stale DISPLAY). It is answered as no display at all is, with
/// the way to the command line, instead of Qt's abort.
void displayLost(QtMsgType type, const QMessageLogContext &context, const QString &message)
{
    if (type != QtFatalMsg) {
        qtHandler(type, context, message);
        return;
    }
    const char *display = std::getenv("DISPLAY");
    std::fprintf(stderr,
                 "jukora-patch-editor: the display %s could not be opened, so the window cannot "
                 "open.\nThe command line needs an option: try 'jukora-patch-editor --help'.\n",
                 display && *display ? display : "named by WAYLAND_DISPLAY or QT_QPA_PLATFORM");
    std::_Exit(cli::Failed);
}

} // namespace

int runEditor(int &argc, char *argv[])
{
    qtHandler = qInstallMessageHandler(displayLost);
    QApplication app(argc, argv);
    qInstallMessageHandler(qtHandler);
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
    QString note;
    const QStringList folders = templateFolders(&note);
    if (!note.isEmpty())
        dialogs.message(nullptr, Dialogs::Icon::Warning, applicationTitle(), note);
    const auto window = startEditor(dialogs, folders);
    if (!window)
        return 1;
    window->showCentered();
    if (!rest.isEmpty())
        window->openPatch(rest.first(), Reopening::Named);
    return app.exec();
}

} // namespace jukora
