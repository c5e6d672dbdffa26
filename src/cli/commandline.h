#pragma once

#include <QString>
#include <QStringList>

class QTextStream;

namespace jukora::cli {

/// True when the arguments ask for the command line (a check, a generate
/// run, help or the version) rather than the window. Decided before any
/// application object exists, so that the command line never needs a display.
bool wantsCommandLine(const QStringList &arguments);

/// Exit statuses of the command line.
enum Status : int {
    Success = 0,
    Refused = 1,    ///< a template has problems, or the patch was refused
    Unreadable = 2, ///< a file could not be read or written, or the options are wrong
};

/// Runs the command line on `arguments` (the program's name first): checks
/// templates, or generates a patch from the layout an earlier patch carries
/// with a template from `templateFolders` (the first that has the model). Results go to `out`,
/// refusals and errors to `err`. Returns the exit status.
int run(const QStringList &arguments, const QStringList &templateFolders, QTextStream &out,
        QTextStream &err);

} // namespace jukora::cli
