#include "commandline.h"
#include "editorapp.h"
#include "templatelist.h"

#include <QCoreApplication>
#include <QFile>
#include <QTextStream>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>

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

/// The first argument whose bytes Qt cannot keep as a file name (it is not
/// valid UTF-8: Qt would open, or create, a file of another name), or null.
const char *unrepresentableArgument(int argc, char *argv[])
{
    for (int i = 1; i < argc; ++i) {
        if (QFile::encodeName(QFile::decodeName(argv[i])) != QByteArray(argv[i]))
            return argv[i];
    }
    return nullptr;
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
    const QStringList arguments = argumentList(argc, argv);
    const bool commandLine = jukora::cli::wantsCommandLine(arguments);
    // The window says so in a box itself, as for a dropped file.
    const char *argument = unrepresentableArgument(argc, argv);
    if (argument && (commandLine || !haveDisplay())) {
        std::fprintf(stderr,
                     "jukora-patch-editor: the name '%s' is not valid UTF-8, and this program "
                     "can only open or write files whose names are. Rename the file (for example "
                     "with convmv) or choose another name.\n",
                     argument);
        return jukora::cli::Failed;
    }
    // The command line runs under a core application: no platform plugin is
    // loaded, so it works with no display at all.
    if (commandLine) {
        // With standard output closed (">&-") the next file opened would
        // take its place and receive the output: /dev/null holds the place,
        // and output that had nowhere to go fails the run, as in the core
        // utilities.
        const bool stdoutClosed = ::fcntl(STDOUT_FILENO, F_GETFD) == -1 && errno == EBADF;
        if (stdoutClosed && ::open("/dev/null", O_WRONLY | O_CLOEXEC) != STDOUT_FILENO)
            return jukora::cli::Failed;
        QCoreApplication app(argc, argv);
        QCoreApplication::setApplicationName(QString::fromLatin1(jukora::kApplicationName));
        QString lost;
        QTextStream out(stdout);
        if (stdoutClosed)
            out.setString(&lost);
        QTextStream err(stderr);
        QString note;
        const QStringList folders = jukora::templateFolders(&note);
        if (!note.isEmpty())
            err << "jukora-patch-editor: " << note << '\n';
        const int status = jukora::cli::run(arguments, folders, out, err);
        if (!lost.isEmpty() || out.status() != QTextStream::Ok || std::fflush(stdout) != 0) {
            std::fprintf(stderr, "jukora-patch-editor: cannot write to standard output: %s\n",
                         stdoutClosed ? "it is closed" : std::strerror(errno));
            return jukora::cli::Failed;
        }
        return status;
    }
    if (!haveDisplay()) {
        std::fputs("jukora-patch-editor: no display was found, so the window cannot open.\n"
                   "The command line needs an option: try 'jukora-patch-editor --help'.\n",
                   stderr);
        return jukora::cli::Failed;
    }
    return jukora::runEditor(argc, argv);
}
