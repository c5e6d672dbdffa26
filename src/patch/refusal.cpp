#include "refusal.h"

#include <QDir>

namespace jukora::patch {

namespace {

QString fromView(std::string_view text)
{
    return QString::fromUtf8(text.data(), qsizetype(text.size()));
}

/// The malformed lines as the window lists them, "line N (*cy*): ...".
QStringList listedForWindow(const TemplateCheck &check)
{
    QStringList lines;
    for (const MalformedLine &bad : check.malformed()) {
        const QString what = QString::fromStdString(bad.what);
        lines << (bad.placeholder.empty()
                      ? QStringLiteral("line %1: %2").arg(bad.lineNumber).arg(what)
                      : QStringLiteral("line %1 (%2): %3")
                            .arg(bad.lineNumber)
                            .arg(QString::fromStdString(bad.placeholder), what));
    }
    if (check.malformedCount() > check.malformed().size())
        lines
            << QStringLiteral("and %1 more").arg(check.malformedCount() - check.malformed().size());
    return lines;
}

} // namespace

QStringList warningList(const TemplateCheck &check)
{
    QStringList lines;
    for (const LineWarning &warning : check.warnings())
        lines << QStringLiteral("line %1: %2")
                     .arg(warning.lineNumber)
                     .arg(QString::fromStdString(warning.what));
    if (check.warningCount() > check.warnings().size())
        lines << QStringLiteral("and %1 more").arg(check.warningCount() - check.warnings().size());
    return lines;
}

QString malformedText(std::string_view placeholder, std::string_view what)
{
    return placeholder.empty() ? fromView(what)
                               : fromView(placeholder) + QStringLiteral(": ") + fromView(what);
}

std::optional<GenerateRefusal> generateRefusal(const TemplateCheck &check,
                                               const QString &templatePath, const QString &target,
                                               const QString &writeError, Audience audience)
{
    const bool window = audience == Audience::Window;
    GenerateRefusal refusal;
    if (check.malformedCount() > 0) {
        if (window) {
            const QStringList lines = listedForWindow(check);
            QStringList shown = lines.mid(0, kShownMalformedLines);
            if (lines.size() > kShownMalformedLines) {
                shown << QStringLiteral("(%1 lines in all: see the details)")
                             .arg(check.malformedCount());
                refusal.details = lines.join(QLatin1Char('\n'));
            }
            refusal.reasons << QStringLiteral(
                                   "The template %1 has lines that cannot be turned into patch "
                                   "lines. A placeholder line needs the placeholder and address, "
                                   "a space, the old value and a \";\" before its comment:\n\n%2"
                                   "\n\nCorrect the template and generate again.")
                                   .arg(templatePath, shown.join(QLatin1Char('\n')));
        } else {
            refusal.reasons << QStringLiteral("the template %1 has lines that cannot be turned "
                                              "into patch lines (listed above).")
                                   .arg(templatePath);
        }
    }
    if (const auto width = check.badCoverWidth()) {
        refusal.reasons << (window ? QStringLiteral("The album cover is %1 pixels wide, but the "
                                                    "patch can carry a cover width only from 0 "
                                                    "to 255 pixels. Use \"Cover Size\" to set a "
                                                    "width in that range and generate again.")
                                   : QStringLiteral("the album cover is %1 pixels wide, but the "
                                                    "patch can carry a cover width only from 0 "
                                                    "to 255 pixels."))
                               .arg(*width);
    }
    refusal.templateAtFault = !refusal.reasons.isEmpty();
    if (!writeError.isEmpty()) {
        refusal.reasons << (window ? QStringLiteral("The patch could not be written to\n%1\n\n%2")
                                   : QStringLiteral("the patch could not be written to %1: %2"))
                               .arg(QDir::toNativeSeparators(target), writeError);
    }
    if (refusal.reasons.isEmpty())
        return std::nullopt;
    QString &last = refusal.reasons.last();
    if (window)
        last += QStringLiteral("\n\nNo patch was written; any file that was there is unchanged.");
    else if (refusal.templateAtFault)
        last += QStringLiteral(" No patch was written.");
    else
        last += QStringLiteral(" Any file that was there is unchanged.");
    return refusal;
}

} // namespace jukora::patch
