#include "checkcommand.h"

#include "firmware.h"
#include "instruction.h"
#include "layout.h"
#include "patchfile.h"
#include "refusal.h"

#include <QDir>
#include <QTextStream>

#include <algorithm>

namespace jukora::cli {

namespace {

int checkFile(const Console &console, const QString &file, const FirmwareImage *image)
{
    // The rules need a layout to read; whether positions fit a byte depends
    // on the layout, not on the template, so only the lines are judged.
    const patch::LayoutQuery query(patch::defaultLayout());
    patch::TemplateCheck check(query, 0);
    patch::FirmwareCheck firmware(image ? image->view() : std::string_view(),
                                  image ? image->base : 0);
    std::size_t number = 0;
    const auto say = [&](const char *kind, const std::string &what) {
        console.diagnostic(file, number, kind, QString::fromStdString(what));
    };
    QString error;
    const bool read = patch::readLines(
        file,
        [&](std::string_view line) {
            ++number;
            const patch::TemplateLine t = patch::readTemplateLine(line);
            check.checkLine(t);
            std::string why;
            if (t.fields.malformation)
                console.diagnostic(
                    file, number, "error",
                    patch::malformedText(t.rule ? t.rule->placeholder : std::string_view(),
                                         t.fields.malformation));
            else if (t.rule && !patch::oldValueFits(*t.rule, t.fields.oldValue, &why))
                say("warning", why);
            if (image && !firmware.line(line, t, &why))
                say("error", why);
        },
        &error);
    if (!read) {
        // A compiler's diagnostic line ends without a full stop.
        console.err << file << ": error: cannot be read: " << error.chopped(1) << '\n';
        return Unreadable;
    }
    if (image) {
        console.out << file << ": " << firmware.checked() << " patch lines checked against "
                    << image->path << ", " << firmware.failed()
                    << (firmware.failed() == 1 ? " does not match\n" : " do not match\n");
    }
    return check.malformedCount() == 0 && firmware.failed() == 0 ? Success : Refused;
}

} // namespace

int checkTemplates(const Console &console, const QStringList &files, const FirmwareImage *firmware)
{
    int status = Success;
    for (const QString &file : files)
        status = std::max(status, checkFile(console, file, firmware));
    return status;
}

int checkAgainstFirmware(const Console &console, const QString &templatePath,
                         const FirmwareImage &image)
{
    patch::FirmwareCheck firmware(image.view(), image.base);
    std::size_t number = 0;
    QString error;
    const bool read = patch::readLines(
        templatePath,
        [&](std::string_view line) {
            ++number;
            if (std::string why; !firmware.line(line, patch::readTemplateLine(line), &why))
                console.diagnostic(templatePath, number, "error", QString::fromStdString(why));
        },
        &error);
    if (!read) {
        console.complain(
            QStringLiteral("the template %1 could not be read: %2 No patch was written.")
                .arg(templatePath, error));
        return Unreadable;
    }
    if (firmware.failed() == 0)
        return Success;
    console.out.flush();
    console.complain(QStringLiteral("%1 of the template's patch lines (listed above) do not match "
                                    "the firmware image %2: the patch would change other code "
                                    "than it means to. No patch was written.")
                         .arg(firmware.failed())
                         .arg(QDir::toNativeSeparators(image.path)));
    return Refused;
}

} // namespace jukora::cli
