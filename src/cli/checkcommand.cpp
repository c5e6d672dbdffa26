#include "checkcommand.h"

#include "firmware.h"
#include "instruction.h"
#include "layout.h"
#include "patchfile.h"
#include "refusal.h"

#include <QDir>
#include <QTextStream>

#include <algorithm>
#include <functional>

namespace jukora::cli {

namespace {

/// One pass over a template: its lines through a run that writes nothing
/// (when given), and its patch lines compared with a firmware image (when
/// given), each failed comparison told to `mismatch` with its line number.
struct CheckPass : patch::TemplateSink
{
    patch::PatchRun *run = nullptr;
    patch::FirmwareCheck *firmware = nullptr;
    std::function<void(std::size_t line, const std::string &why)> mismatch;
    std::size_t number = 0;

    void line(std::string_view text, const patch::TemplateLine &t) override
    {
        ++number;
        if (run)
            run->line(text, t);
        if (std::string why; firmware && !firmware->line(text, t, &why))
            mismatch(number, why);
    }
    void piece(std::string_view bytes) override
    {
        if (run)
            run->piece(bytes);
    }
    void longLine(const patch::TemplateLine &t, std::string_view start) override
    {
        ++number;
        if (run)
            run->longLine(t, start);
        if (std::string why; firmware && !firmware->longLine(t, start, &why))
            mismatch(number, why);
    }
};

int checkFile(const Console &console, const QString &file, const FirmwareImage *image)
{
    // The rules need a layout to read; whether positions fit a byte depends
    // on the layout, not on the template, so only the lines are judged.
    const patch::LayoutQuery query(patch::defaultLayout());
    patch::PatchRun run(query, nullptr, 0);
    run.check.setReporter([&](const char *kind, std::size_t line, std::string_view placeholder,
                              const std::string &what) {
        console.diagnostic(file, line, kind, patch::malformedText(placeholder, what));
    });
    patch::FirmwareCheck firmware = image ? image->check() : patch::FirmwareCheck({}, 0);
    CheckPass pass;
    pass.run = &run;
    pass.firmware = image ? &firmware : nullptr;
    pass.mismatch = [&](std::size_t line, const std::string &why) {
        console.diagnostic(file, line, "error", QString::fromStdString(why));
    };
    QString error;
    if (!patch::readTemplate(file, pass, &error)) {
        // A compiler's diagnostic line ends without a full stop.
        console.err << file << ": error: cannot be read: " << error.chopped(1) << '\n';
        return Failed;
    }
    run.finish();
    if (image) {
        console.out << file << ": " << firmware.checked() << " patch lines checked against "
                    << image->path << ", " << firmware.failed()
                    << (firmware.failed() == 1 ? " does not match\n" : " do not match\n");
    }
    return run.check.malformedCount() == 0 && firmware.failed() == 0 ? Success : Refused;
}

} // namespace

patch::FirmwareCheck FirmwareImage::check() const
{
    return patch::FirmwareCheck(
        static_cast<std::uint64_t>(file->size()),
        [file = file](std::uint64_t offset, std::size_t length, std::string *bytes) {
            bytes->resize(length);
            return file->seek(static_cast<qint64>(offset)) &&
                   file->read(bytes->data(), static_cast<qint64>(length)) ==
                       static_cast<qint64>(length);
        },
        base);
}

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
    patch::FirmwareCheck firmware = image.check();
    CheckPass pass;
    pass.firmware = &firmware;
    pass.mismatch = [&](std::size_t line, const std::string &why) {
        console.diagnostic(templatePath, line, "error", QString::fromStdString(why));
    };
    QString error;
    const bool read = patch::readTemplate(templatePath, pass, &error);
    if (!read) {
        console.complain(
            QStringLiteral("the template %1 could not be read: %2 No patch was written.")
                .arg(templatePath, error));
        return Failed;
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
