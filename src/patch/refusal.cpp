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

/// The command line says a sentence after the program's name, in lower case.
QString forAudience(QString text, Audience audience)
{
    if (audience == Audience::CommandLine && !text.isEmpty())
        text[0] = text[0].toLower();
    return text;
}

QString couldNotWrite(const QString &target, const QString &error, Audience audience)
{
    return audience == Audience::Window
               ? QStringLiteral("The patch could not be written to\n%1\n\n%2")
                     .arg(QDir::toNativeSeparators(target), error)
               : QStringLiteral("the patch could not be written to %1: %2")
                     .arg(QDir::toNativeSeparators(target), error);
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
        refusal.reasons << forAudience(QStringLiteral("The album cover is %1 pixels wide, but the "
                                                      "patch can carry a cover width only from 0 "
                                                      "to 255 pixels.")
                                           .arg(*width),
                                       audience) +
                               (window ? QStringLiteral(" Use \"Cover Size\" to set a width in "
                                                        "that range and generate again.")
                                       : QString());
    }
    refusal.templateAtFault = !refusal.reasons.isEmpty();
    if (!writeError.isEmpty())
        refusal.reasons << couldNotWrite(target, writeError, audience);
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

QString templateUnreadable(const QString &model, const QString &templatePath, const QString &error,
                           Audience audience)
{
    const QString shown = QDir::toNativeSeparators(templatePath);
    return audience == Audience::Window
               ? QStringLiteral("The template of %1 could not be read:\n%2\n\n%3\n\nNo patch "
                                "was written.")
                     .arg(model, shown, error)
               : QStringLiteral("the template of %1 could not be read: %2: %3 No patch was "
                                "written.")
                     .arg(model, shown, error);
}

QString notWritten(const QString &target, const QString &error, Audience audience)
{
    return couldNotWrite(target, error, audience) +
           (audience == Audience::Window ? QStringLiteral("\n\nAny file that was there is "
                                                          "unchanged.")
                                         : QStringLiteral(" Any file that was there is "
                                                          "unchanged."));
}

QString positionsOffTheByte(const TemplateCheck &check, Audience audience)
{
    QStringList lines;
    for (const OutOfRangeValue &value : check.outOfRange())
        lines << QString::fromStdString(describe(value));
    const QString what = QStringLiteral("These positions do not fit in the byte the patch has for "
                                        "them. The patch would carry only their low 8 bits, which "
                                        "puts the elements somewhere else on the phone");
    if (audience == Audience::Window)
        return what + QStringLiteral(":\n\n%1\n\nWrite the patch anyway?")
                          .arg(lines.join(QLatin1Char('\n')));
    return forAudience(what, audience) +
           QStringLiteral(":\n  %1\nGive --allow-wrap to write them anyway. No patch was written.")
               .arg(lines.join(QStringLiteral("\n  ")));
}

QString done(const TemplateCheck &check, QString *details)
{
    // Lines a phone's patcher would reject or misread, or old values unlike
    // the instructions they patch (a wrong address, a template for other
    // firmware), are worth knowing before flashing.
    QString text = QStringLiteral("Done");
    details->clear();
    if (const std::size_t count = check.warningCount()) {
        text += QStringLiteral("\n\n%1 of the template's lines may be rejected or misread by a "
                               "phone's patcher, or patch another instruction than their "
                               "placeholder means. Look at each (see the details) before "
                               "flashing the patch.")
                    .arg(count == 1 ? QStringLiteral("One") : QString::number(count));
        *details = warningList(check).join(QLatin1Char('\n'));
    }
    return text;
}

} // namespace jukora::patch
