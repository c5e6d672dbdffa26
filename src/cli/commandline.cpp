#include "commandline.h"

#include "files.h"
#include "firmware.h"
#include "instruction.h"
#include "layoutfile.h"
#include "patchfile.h"
#include "templatelist.h"

#include <QCommandLineParser>
#include <QDir>
#include <QFileInfo>
#include <QTextStream>

#include <limits>
#include <memory>

namespace jukora::cli {

namespace {

/// The command line's own options: any of them among the arguments means
/// no window.
struct Options
{
    QCommandLineOption check{
        QStringLiteral("check"),
        QStringLiteral("Check each TEMPLATE as Generate reads it and print every problem as "
                       "FILE:LINE: message. Exit status 0: all sound, 1: problems found, 2: a file "
                       "could not be read.")};
    QCommandLineOption generate{
        QStringLiteral("generate"),
        QStringLiteral("Write a patch for --model with the layout that the patch --layout carries, "
                       "to --output, with the same checks as the window's Generate.")};
    QCommandLineOption model{QStringLiteral("model"),
                             QStringLiteral("The phone model, as the window lists it."),
                             QStringLiteral("NAME")};
    QCommandLineOption layout{QStringLiteral("layout"),
                              QStringLiteral("An earlier patch whose layout the new patch takes."),
                              QStringLiteral("PATCH.vkp")};
    QCommandLineOption output{QStringLiteral("output"), QStringLiteral("Where the new patch goes."),
                              QStringLiteral("OUT.vkp")};
    QCommandLineOption allowWrap{
        QStringLiteral("allow-wrap"),
        QStringLiteral("Write positions that do not fit a byte as their low 8 bits instead of "
                       "refusing (the window asks about these).")};
    QCommandLineOption firmware{
        QStringLiteral("firmware"),
        QStringLiteral("A byte-for-byte dump of the phone's flash: every patch line's old bytes "
                       "must be the image's bytes at its address. With --generate nothing is "
                       "written when one differs."),
        QStringLiteral("IMAGE")};
    QCommandLineOption base{
        QStringLiteral("base"),
        QStringLiteral("The address of the image's first byte, in hex (default 0)."),
        QStringLiteral("HEX"), QStringLiteral("0")};
};

/// Declares the options on `parser`. Single-dash words are long options,
/// so that Qt's own window options ("-reverse", "-style") never read as a
/// run of one-letter options.
void declare(QCommandLineParser &parser, const Options &options)
{
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    parser.setApplicationDescription(
        QStringLiteral("Jukora Patch Editor: arrange a phone's now-playing screen and write it as "
                       "a .vkp patch.\nWith no options the editor's window opens; the options "
                       "below work without a display."));
    parser.addHelpOption();
    parser.addVersionOption();
    parser.addOptions({options.check, options.generate, options.model, options.layout,
                       options.output, options.allowWrap, options.firmware, options.base});
    parser.addPositionalArgument(QStringLiteral("TEMPLATE"),
                                 QStringLiteral("With --check: the template files to check."),
                                 QStringLiteral("[TEMPLATE...]"));
}

/// "*cy*: no space ...", or the reason alone for a line that is wrong
/// whatever it holds.
QString lineText(std::string_view placeholder, std::string_view what)
{
    const QString reason = QString::fromUtf8(what.data(), qsizetype(what.size()));
    return placeholder.empty()
               ? reason
               : QString::fromUtf8(placeholder.data(), qsizetype(placeholder.size())) +
                     QStringLiteral(": ") + reason;
}

class CommandLine
{
public:
    CommandLine(const QStringList &templateFolders, QTextStream &out, QTextStream &err)
        : m_folders(templateFolders), m_out(out), m_err(err)
    {
    }

    int run(const QStringList &arguments);

private:
    int check(const QStringList &files);
    int checkFile(const QString &file);
    /// Opens --firmware, if given; false (a message given) when it cannot be.
    bool openFirmware();
    /// Checks a template against the firmware image, listing each line that
    /// differs; returns the status.
    int checkFirmware(const QString &file);
    int generate();
    std::string_view firmwareBytes() const
    {
        return {m_firmware.constData(), static_cast<std::size_t>(m_firmware.size())};
    }
    int usageError(const QString &message);
    /// "program: message" on standard error.
    void complain(const QString &message);
    void listMalformed(const QString &file, const patch::TemplateCheck &check);
    /// "FILE:LINE: kind: what" on standard output, the form compilers use.
    void diagnostic(const QString &file, std::size_t line, const char *kind, const QString &what);

    QStringList m_folders;
    QTextStream &m_out;
    QTextStream &m_err;
    QString m_program;
    QCommandLineParser m_parser;
    QByteArray m_firmware;
    std::uint32_t m_base = 0;
    Options m_options;
};

void CommandLine::complain(const QString &message)
{
    m_err << m_program << ": " << message << '\n';
}

int CommandLine::usageError(const QString &message)
{
    complain(message);
    m_err << "Try '" << m_program << " --help' for more information.\n";
    return Unreadable;
}

int CommandLine::run(const QStringList &arguments)
{
    m_program = arguments.isEmpty() ? QStringLiteral("jukora-patch-editor")
                                    : QFileInfo(arguments.first()).fileName();
    declare(m_parser, m_options);
    if (!m_parser.parse(arguments))
        return usageError(m_parser.errorText());
    if (m_parser.isSet(QStringLiteral("help"))) {
        m_out << m_parser.helpText();
        return Success;
    }
    if (m_parser.isSet(QStringLiteral("version"))) {
        m_out << "jukora-patch-editor " << JUKORA_VERSION << '\n';
        return Success;
    }
    const bool checking = m_parser.isSet(m_options.check);
    const bool generating = m_parser.isSet(m_options.generate);
    if (checking == generating)
        return usageError(QStringLiteral("give either --check or --generate"));
    if (m_parser.isSet(m_options.base) && !m_parser.isSet(m_options.firmware))
        return usageError(QStringLiteral("--base goes with --firmware"));
    QString base = m_parser.value(m_options.base);
    if (base.startsWith(QLatin1String("0x"), Qt::CaseInsensitive))
        base.remove(0, 2);
    const auto parsedBase = patch::parseAddress(base.toStdString());
    if (!parsedBase)
        return usageError(QStringLiteral("--base needs an address of one to eight hex digits, "
                                         "not \"%1\"")
                              .arg(m_parser.value(m_options.base)));
    m_base = *parsedBase;
    if (!openFirmware())
        return Unreadable;
    if (checking) {
        for (const auto *option :
             {&m_options.model, &m_options.layout, &m_options.output, &m_options.allowWrap}) {
            if (m_parser.isSet(*option))
                return usageError(QStringLiteral("--%1 belongs to --generate, not to --check")
                                      .arg(option->names().first()));
        }
        if (m_parser.positionalArguments().isEmpty())
            return usageError(QStringLiteral("--check needs at least one template file"));
        return check(m_parser.positionalArguments());
    }
    if (!m_parser.positionalArguments().isEmpty())
        return usageError(QStringLiteral("--generate takes no file names of its own: %1")
                              .arg(m_parser.positionalArguments().join(QLatin1Char(' '))));
    for (const auto *option : {&m_options.model, &m_options.layout, &m_options.output}) {
        if (m_parser.value(*option).isEmpty())
            return usageError(QStringLiteral("--generate needs --%1").arg(option->names().first()));
    }
    return generate();
}

void CommandLine::diagnostic(const QString &file, std::size_t line, const char *kind,
                             const QString &what)
{
    m_out << file << ':' << line << ": " << kind << ": " << what << '\n';
}

void CommandLine::listMalformed(const QString &file, const patch::TemplateCheck &check)
{
    for (const patch::MalformedLine &bad : check.malformed())
        diagnostic(file, bad.lineNumber, "error", lineText(bad.placeholder, bad.what));
    if (check.malformedCount() > check.malformed().size())
        m_out << file << ": error: and " << (check.malformedCount() - check.malformed().size())
              << " more malformed lines\n";
}

int CommandLine::checkFile(const QString &file)
{
    // The rules need a layout to read; whether positions fit a byte depends
    // on the layout, not on the template, so only the lines are judged.
    const patch::LayoutQuery query(patch::defaultLayout());
    patch::TemplateCheck check(query, 0);
    patch::FirmwareCheck firmware(firmwareBytes(), m_base);
    const bool againstFirmware = m_parser.isSet(m_options.firmware);
    std::size_t number = 0;
    QString error;
    const auto say = [&](const char *kind, const std::string &what) {
        diagnostic(file, number, kind, QString::fromStdString(what));
    };
    const bool read = patch::readLines(
        file,
        [&](std::string_view line) {
            ++number;
            const patch::TemplateLine t = patch::readTemplateLine(line);
            check.checkLine(t);
            if (t.fields.malformation)
                diagnostic(file, number, "error",
                           lineText(t.rule ? t.rule->placeholder : std::string_view(),
                                    t.fields.malformation));
            else if (std::string why; t.rule && !patch::oldValueFits(*t.rule, t.fields.oldValue, &why))
                say("warning", why);
            if (againstFirmware) {
                if (std::string why; !firmware.line(line, t, &why))
                    say("error", why);
            }
        },
        &error);
    if (!read) {
        // A compiler's diagnostic line ends without a full stop.
        m_err << file << ": error: cannot be read: " << error.chopped(1) << '\n';
        return Unreadable;
    }
    if (againstFirmware) {
        m_out << file << ": " << firmware.checked() << " patch lines checked against "
              << m_parser.value(m_options.firmware) << ", " << firmware.failed()
              << (firmware.failed() == 1 ? " does not match\n" : " do not match\n");
    }
    return check.malformedCount() == 0 && firmware.failed() == 0 ? Success : Refused;
}

bool CommandLine::openFirmware()
{
    const QString image = m_parser.value(m_options.firmware);
    if (image.isEmpty())
        return true;
    // A flash dump is some megabytes; far more is no image of a phone's flash.
    constexpr qint64 kMaxImageBytes = qint64(1) << 30;
    QString error;
    if (auto bytes = patch::readWholeFile(image, kMaxImageBytes, &error)) {
        m_firmware = std::move(*bytes);
        return true;
    }
    complain(QStringLiteral("the firmware image %1 cannot be read: %2")
                 .arg(QDir::toNativeSeparators(image), error));
    return false;
}

int CommandLine::checkFirmware(const QString &file)
{
    patch::FirmwareCheck firmware(firmwareBytes(), m_base);
    std::size_t number = 0;
    QString error;
    const bool read = patch::readLines(
        file,
        [&](std::string_view line) {
            ++number;
            if (std::string why; !firmware.line(line, patch::readTemplateLine(line), &why))
                diagnostic(file, number, "error", QString::fromStdString(why));
        },
        &error);
    if (!read) {
        complain(QStringLiteral("the template %1 could not be read: %2 No patch was written.")
                     .arg(file, error));
        return Unreadable;
    }
    if (firmware.failed() == 0)
        return Success;
    m_out.flush();
    complain(QStringLiteral("%1 of the template's patch lines (listed above) do not match the "
                            "firmware image %2: the patch would change other code than it means "
                            "to. No patch was written.")
                 .arg(firmware.failed())
                 .arg(QDir::toNativeSeparators(m_parser.value(m_options.firmware))));
    return Refused;
}

int CommandLine::check(const QStringList &files)
{
    int status = Success;
    for (const QString &file : files)
        status = std::max(status, checkFile(file));
    m_out.flush();
    return status;
}

int CommandLine::generate()
{
    const QString model = m_parser.value(m_options.model);
    const QString layoutPath = m_parser.value(m_options.layout);
    const QString outputPath = m_parser.value(m_options.output);

    QString error;
    const auto templates = listTemplates(m_folders, &error);
    if (!templates) {
        complain(error);
        return Unreadable;
    }
    const auto entry = findTemplate(*templates, model, &error);
    if (!entry) {
        complain(error);
        return Unreadable;
    }
    const QString shownTemplate = QDir::toNativeSeparators(entry->path);
    if (m_parser.isSet(m_options.firmware)) {
        if (const int status = checkFirmware(shownTemplate); status != Success)
            return status;
    }

    const auto cannotTakeLayout = [&](const QString &why) {
        complain(QStringLiteral("cannot take the layout of %1 with the template of %2. %3 No "
                                "patch was written.")
                     .arg(QDir::toNativeSeparators(layoutPath), entry->model, why));
    };
    QString why;
    const auto layoutBytes = patch::readPatchBytes(layoutPath, &why);
    if (!layoutBytes) {
        cannotTakeLayout(why);
        return Unreadable;
    }
    const auto templateUnreadable = [&] {
        complain(QStringLiteral("the template of %1 could not be read: %2: %3 No patch was "
                                "written.")
                     .arg(entry->model, shownTemplate, error));
        return Unreadable;
    };
    patch::LayoutReader reader(
        std::string_view(layoutBytes->constData(), static_cast<std::size_t>(layoutBytes->size())));
    if (!patch::readLines(
            entry->path, [&](std::string_view line) { reader.templateLine(line); }, &error))
        return templateUnreadable();
    std::string mismatch;
    const auto carried = reader.finish(&mismatch);
    if (!carried) {
        cannotTakeLayout(patch::mismatchSentence(mismatch));
        return Refused;
    }
    // What the patch does not carry stays where every start puts it.
    patch::Layout layout = patch::defaultLayout();
    patch::applyPatchLayout(*carried, layout);
    const patch::LayoutQuery query(layout);
    auto writer = std::make_unique<patch::PatchFileWriter>(outputPath, query);
    if (!writer->run(entry->path, &error))
        return templateUnreadable();
    const patch::TemplateCheck &check = writer->check();
    if (check.malformedCount() > 0) {
        listMalformed(shownTemplate, check);
        m_out.flush();
        complain(QStringLiteral("the template %1 has lines that cannot be turned into patch lines "
                                "(listed above). No patch was written.")
                     .arg(shownTemplate));
        return Refused;
    }
    if (const auto width = check.badCoverWidth()) {
        complain(QStringLiteral("the album cover is %1 pixels wide, but the patch can carry a "
                                "cover width only from 0 to 255 pixels. No patch was written.")
                     .arg(*width));
        return Refused;
    }
    const auto writeFailed = [&] {
        complain(QStringLiteral("the patch could not be written to %1: %2 Any file that was "
                                "there is unchanged.")
                     .arg(QDir::toNativeSeparators(outputPath), error));
        return Unreadable;
    };
    if (!writer->written(&error))
        return writeFailed();
    if (!check.outOfRange().empty() && !m_parser.isSet(m_options.allowWrap)) {
        complain(QStringLiteral("these positions do not fit in the byte the patch has for them; "
                                "the patch would carry only their low 8 bits:"));
        for (const patch::OutOfRangeValue &value : check.outOfRange())
            m_err << "  " << QString::fromStdString(patch::describe(value)) << '\n';
        m_err << "Give --allow-wrap to write them anyway. No patch was written.\n";
        return Refused;
    }
    if (!writer->commit(&error))
        return writeFailed();
    return Success;
}

} // namespace

bool wantsCommandLine(const QStringList &arguments)
{
    const Options options;
    QCommandLineParser parser;
    declare(parser, options);
    parser.parse(arguments); // an unknown option is the window's business
    return !parser.optionNames().isEmpty();
}

int run(const QStringList &arguments, const QStringList &templateFolders, QTextStream &out,
        QTextStream &err)
{
    CommandLine commandLine(templateFolders, out, err);
    const int status = commandLine.run(arguments);
    out.flush();
    err.flush();
    return status;
}

} // namespace jukora::cli
