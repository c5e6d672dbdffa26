#pragma once

#include "console.h"

#include <QString>
#include <QStringList>

class QTextStream;

namespace jukora::cli {

/// True when the arguments ask for the command line (a check, a generate
/// run, help or the version) rather than the window. Decided before any
/// application object exists, so that the command line never needs a display.
bool wantsCommandLine(const QStringList &arguments);

/// Runs the command line on `arguments` (the program's name first): checks
/// templates, or generates a patch from the layout an earlier patch carries
/// with a template from `templateFolders` (the first that has the model). Results go to `out`,
/// refusals and errors to `err`. Returns the exit status.
int run(const QStringList &arguments, const QStringList &templateFolders, QTextStream &out,
        QTextStream &err);

} // namespace jukora::cli
