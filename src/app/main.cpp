#include "commandline.h"
#include "editorapp.h"
#include "templatelist.h"

#include <QCoreApplication>
#include <QFile>
#include <QTextStream>

#include <cstdio>
#include <cstdlib>

namespace {

/// The arguments as file names and options, before any application object
/// exists: bytes that are not UTF-8 are kept as the system's file names.
QStringList argumentList(int argc, char *argv[])
{
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments << QFile::decodeName(argv[i]);
    return arguments;
}

/// True when Qt has somewhere to show a window: an X or Wayland display, or
/// a platform chosen outright.
bool haveDisplay()
{
    for (const char *name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"}) {
        const char *value = std::getenv(name);
        if (value && *value)
            return true;
    }
    return false;
}

} // namespace

int main(int argc, char *argv[])
{
    // The command line runs under a core application: no platform plugin is
    // loaded, so it works with no display at all.
    if (jukora::cli::wantsCommandLine(argumentList(argc, argv))) {
        QCoreApplication app(argc, argv);
        QCoreApplication::setApplicationName(QString::fromLatin1(jukora::kApplicationName));
        QTextStream out(stdout);
        QTextStream err(stderr);
        return jukora::cli::run(argumentList(argc, argv), jukora::templateFolders(), out, err);
    }
    if (!haveDisplay()) {
        std::fputs("jukora-patch-editor: no display was found, so the window cannot open.\n"
                   "The command line needs an option: try 'jukora-patch-editor --help'.\n",
                   stderr);
        return jukora::cli::Unreadable;
    }
    return jukora::runEditor(argc, argv);
}
