#include "console.h"

#include <QTextStream>

namespace jukora::cli {

void Console::complain(const QString &message) const
{
    err << program << ": " << message << '\n';
}

void Console::diagnostic(const QString &file, std::size_t line, const char *kind,
                         const QString &what) const
{
    out << file << ':' << line << ": " << kind << ": " << what << '\n';
}

} // namespace jukora::cli
