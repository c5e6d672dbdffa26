#include "commandline.h"
#include "templatelist.h"
#include "windowmain.h"

#include <QCoreApplication>
#include <QTextStream>

#include <dlfcn.h>
#include <unistd.h>

#include <climits>
#include <cstdio>
#include <string>

namespace {

/// The folder of the running executable, links resolved, with its '/'.
std::string executableFolder(const char *argv0)
{
    char path[PATH_MAX];
    const ssize_t n = readlink("/proc/self/exe", path, sizeof path);
    const std::string self = n > 0 && n < ssize_t(sizeof path)
                                 ? std::string(path, static_cast<std::size_t>(n))
                                 : std::string(argv0);
    return self.substr(0, self.rfind('/') + 1);
}

/// Opens the window's module beside the executable and hands over to it.
int runWindow(int argc, char *argv[])
{
    const std::string path = executableFolder(argv[0]) + jukora::kWindowModule;
    void *module = dlopen(path.c_str(), RTLD_LAZY | RTLD_LOCAL);
    const auto entry =
        module
            ? reinterpret_cast<decltype(&jukora_window_main)>(dlsym(module, jukora::kWindowEntry))
            : nullptr;
    if (!entry) {
        std::fprintf(stderr,
                     "jukora-patch-editor: cannot open the window: %s\n"
                     "Install the program again. The command line (--help) works without it.\n",
                     dlerror());
        return 1;
    }
    return entry(argc, argv);
}

} // namespace

int main(int argc, char *argv[])
{
    // The command line runs under a core application: no platform plugin is
    // loaded, so it works with no display at all, and neither are Qt Gui and
    // Qt Widgets, which only the window's module loads.
    if (jukora::cli::wantsCommandLine(argc, argv)) {
        QCoreApplication app(argc, argv);
        QCoreApplication::setApplicationName(QString::fromLatin1(jukora::kApplicationName));
        QTextStream out(stdout);
        QTextStream err(stderr);
        return jukora::cli::run(QCoreApplication::arguments(), jukora::templateFolders(), out, err);
    }
    return runWindow(argc, argv);
}
