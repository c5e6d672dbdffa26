#pragma once

#include "patchgenerator.h"

#include <QString>
#include <QStringList>

#include <optional>

namespace jukora::patch {

/// Who is told why a Generate wrote nothing: the window (one box with every
/// reason and advice in the window's terms) or the command line (a line on
/// standard error for each reason, the malformed lines listed above them).
enum class Audience { Window, CommandLine };

/// Why a Generate writes no patch, once its pass over the template is over.
struct GenerateRefusal
{
    /// Each reason as its own sentences, the last ending in what became of
    /// the target ("No patch was written ...").
    QStringList reasons;
    /// For the window: every malformed line, when the box shows only the
    /// first of them; empty otherwise.
    QString details;
    /// The template (or the cover width) is at fault, not the target; the
    /// command line's exit status tells the two apart.
    bool templateAtFault = false;
};

/// Every reason that stops the Generate of the template at `templatePath`
/// (as shown to the user): its malformed lines, a cover width the patch
/// cannot carry, and `writeError`, why the target `target` could not be
/// written (empty when it could). Nothing when the patch may be written.
std::optional<GenerateRefusal> generateRefusal(const TemplateCheck &check,
                                               const QString &templatePath, const QString &target,
                                               const QString &writeError, Audience audience);

/// Generate's other outcomes, one text each for both audiences: the window
/// shows it in a box (a question for the positions), the command line says
/// it after the program's name (its first letter lower case).

/// The template of `model` at `templatePath` could not be read: `error`.
QString templateUnreadable(const QString &model, const QString &templatePath, const QString &error,
                           Audience audience);
/// The patch could not be written to `target`: `error`. Nothing changed there.
QString notWritten(const QString &target, const QString &error, Audience audience);
/// Positions that do not fit the byte the patch has for them: for the
/// window a question, for the command line a refusal that names
/// --allow-wrap.
QString positionsOffTheByte(const TemplateCheck &check, Audience audience);
/// The window's "Done", with a word about the lines worth a look when
/// there are any, whose list goes to `details`.
QString done(const TemplateCheck &check, QString *details);

/// A malformed line's reason: "*cy*: no space ...", or the reason alone for
/// a line that is wrong whatever it holds.
QString malformedText(std::string_view placeholder, std::string_view what);

/// The warnings as the window lists them, "line N: reason", and how many
/// more there were past those listed.
QStringList warningList(const TemplateCheck &check);

/// Malformed lines the window's box shows before it points to its details.
inline constexpr int kShownMalformedLines = 10;

} // namespace jukora::patch
