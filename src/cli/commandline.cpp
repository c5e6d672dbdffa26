#include "commandline.h"

#include "checkcommand.h"
#include "files.h"
#include "firmware.h"
#include "generatecommand.h"
#include "identity.h"

#include <QCommandLineParser>
#include <QDir>
#include <QFileInfo>
#include <QTextStream>

#include <optional>

namespace jukora::cli {

namespace {

/// The command line's own options, each declared once: a member here is
/// also on the parser and in --help. Any of them among the arguments means
/// no window.
class Options
{
    QList<QCommandLineOption> m_all; // first: the members below add themselves

    QCommandLineOption add(QCommandLineOption option)
    {
        m_all.append(option);
        return option;
    }

public:
    const QList<QCommandLineOption> &all() const { return m_all; }

    const QCommandLineOption check =
        add({QStringLiteral("check"),
             QStringLiteral(
                 "Check each TEMPLATE as Generate reads it and print every problem as "
                 "FILE:LINE: message. Exit status 0: all sound, 1: problems found, 2: a file "
                 "could not be read.")});
    const QCommandLineOption generate = add(
        {QStringLiteral("generate"),
         QStringLiteral("Write a patch for --model to --output, with the same checks as the "
                        "window's Generate: with the layout that the patch --layout carries, or "
                        "without it the layout every start begins with.")});
    const QCommandLineOption model =
        add({QStringLiteral("model"), QStringLiteral("The phone model, as the window lists it."),
             QStringLiteral("NAME")});
    const QCommandLineOption layout =
        add({QStringLiteral("layout"),
             QStringLiteral("An earlier patch whose layout the new patch takes."),
             QStringLiteral("PATCH.vkp")});
    const QCommandLineOption layoutModel =
        add({QStringLiteral("layout-model"),
             QStringLiteral("The phone model --layout was written for, when its patch fits the "
                            "templates of several (default: --model, else the one model it fits)."),
             QStringLiteral("NAME")});
    const QCommandLineOption output =
        add({QStringLiteral("output"), QStringLiteral("Where the new patch goes."),
             QStringLiteral("OUT.vkp")});
    const QCommandLineOption allowWrap =
        add({QStringLiteral("allow-wrap"),
             QStringLiteral("Write positions that do not fit a byte as their low 8 bits instead of "
                            "refusing (the window asks about these).")});
    const QCommandLineOption firmware = add(
        {QStringLiteral("firmware"),
         QStringLiteral("A byte-for-byte dump of the phone's flash: every patch line's old bytes "
                        "must be the image's bytes at its address. With --generate nothing is "
                        "written when one differs."),
         QStringLiteral("IMAGE")});
    const QCommandLineOption base =
        add({QStringLiteral("base"),
             QStringLiteral("The address of the image's first byte, in hex (default 0)."),
             QStringLiteral("HEX"), QStringLiteral("0")});
};

/// Declares the options on `parser`. Single-dash words are long options,
/// so that Qt's own window options ("-reverse", "-style") never read as a
/// run of one-letter options.
void declare(QCommandLineParser &parser, const Options &options)
{
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    parser.setApplicationDescription(QStringLiteral(
        "Jukora Patch Editor: arrange a phone's now-playing screen and write it as a .vkp "
        "patch.\nWith no options the editor's window opens, on the layout of PATCH.vkp when one "
        "is named; the options below work without a display.\n\nExamples:\n"
        "  jukora-patch-editor mine.vkp\n"
        "  jukora-patch-editor --check DB/*.txt\n"
        "  jukora-patch-editor --check \"DB/Novo N5.txt\" --firmware flash.bin --base A0000000\n"
        "  jukora-patch-editor --generate --model \"Novo N5\" --layout mine.vkp --output n5.vkp"));
    parser.addHelpOption();
    parser.addVersionOption();
    parser.addOptions(options.all());
    parser.addPositionalArgument(QStringLiteral("PATCH.vkp"),
                                 QStringLiteral("Without options: the patch the window opens."),
                                 QStringLiteral("[PATCH.vkp]"));
    parser.addPositionalArgument(QStringLiteral("TEMPLATE"),
                                 QStringLiteral("With --check: the template files to check."),
                                 QStringLiteral("[TEMPLATE...]"));
}

/// Reads the options, refuses what does not go together, and hands over to
/// the check or the generate run.
class CommandLine
{
public:
    CommandLine(const QStringList &templateFolders, QTextStream &out, QTextStream &err)
        : m_folders(templateFolders), m_console{QString(), out, err}
    {
    }

    int run(const QStringList &arguments);

private:
    int usageError(const QString &message);
    /// Reads --firmware, if given; false (a message given) when it cannot be.
    bool readFirmware();

    QStringList m_folders;
    Console m_console;
    QCommandLineParser m_parser;
    Options m_options;
    std::optional<FirmwareImage> m_firmware;
};

int CommandLine::usageError(const QString &message)
{
    m_console.complain(message);
    m_console.err << "Try '" << m_console.program << " --help' for more information.\n";
    return Failed;
}

bool CommandLine::readFirmware()
{
    const QString image = m_parser.value(m_options.firmware);
    QString base = m_parser.value(m_options.base);
    if (base.startsWith(QLatin1String("0x"), Qt::CaseInsensitive))
        base.remove(0, 2);
    const auto parsedBase = patch::parseAddress(base.toStdString());
    if (!parsedBase) {
        usageError(QStringLiteral("--base needs an address of one to eight hex digits, not \"%1\"")
                       .arg(m_parser.value(m_options.base)));
        return false;
    }
    if (image.isEmpty())
        return true;
    QString error;
    auto file = std::make_shared<QFile>(image);
    if (!patch::openForReading(*file, &error)) {
        m_console.complain(QStringLiteral("the firmware image %1 cannot be read: %2")
                               .arg(QDir::toNativeSeparators(image), error));
        return false;
    }
    m_firmware = FirmwareImage{image, std::move(file), *parsedBase};
    return true;
}

int CommandLine::run(const QStringList &arguments)
{
    m_console.program = arguments.isEmpty() ? QString::fromLatin1(kApplicationName)
                                            : QFileInfo(arguments.first()).fileName();
    declare(m_parser, m_options);
    if (!m_parser.parse(arguments))
        return usageError(m_parser.errorText());
    // --help lists --help-all as well; the window's own Qt options need a
    // display, so both show the command line's options.
    if (m_parser.isSet(QStringLiteral("help")) || m_parser.isSet(QStringLiteral("help-all"))) {
        m_console.out << m_parser.helpText();
        return Success;
    }
    if (m_parser.isSet(QStringLiteral("version"))) {
        m_console.out << kApplicationName << ' ' << JUKORA_VERSION << '\n';
        return Success;
    }
    const bool checking = m_parser.isSet(m_options.check);
    const bool generating = m_parser.isSet(m_options.generate);
    if (checking == generating)
        return usageError(QStringLiteral("give either --check or --generate"));
    if (m_parser.isSet(m_options.base) && !m_parser.isSet(m_options.firmware))
        return usageError(QStringLiteral("--base goes with --firmware"));
    if (checking) {
        for (const auto *option : {&m_options.model, &m_options.layout, &m_options.layoutModel,
                                   &m_options.output, &m_options.allowWrap}) {
            if (m_parser.isSet(*option))
                return usageError(QStringLiteral("--%1 belongs to --generate, not to --check")
                                      .arg(option->names().first()));
        }
        if (m_parser.positionalArguments().isEmpty())
            return usageError(QStringLiteral("--check needs at least one template file"));
    } else {
        if (!m_parser.positionalArguments().isEmpty())
            return usageError(QStringLiteral("--generate takes no file names of its own: %1")
                                  .arg(m_parser.positionalArguments().join(QLatin1Char(' '))));
        for (const auto *option : {&m_options.model, &m_options.output}) {
            if (m_parser.value(*option).isEmpty())
                return usageError(
                    QStringLiteral("--generate needs --%1").arg(option->names().first()));
        }
        if (m_parser.isSet(m_options.layout) && m_parser.value(m_options.layout).isEmpty())
            return usageError(QStringLiteral("--layout needs a patch file"));
        if (m_parser.isSet(m_options.layoutModel) && !m_parser.isSet(m_options.layout))
            return usageError(QStringLiteral("--layout-model goes with --layout"));
    }
    if (!readFirmware())
        return Failed;
    const FirmwareImage *firmware = m_firmware ? &*m_firmware : nullptr;
    if (checking)
        return checkTemplates(m_console, m_parser.positionalArguments(), firmware);
    return generatePatch(m_console,
                         {m_parser.value(m_options.model), m_parser.value(m_options.layout),
                          m_parser.value(m_options.layoutModel), m_parser.value(m_options.output),
                          m_parser.isSet(m_options.allowWrap), firmware, m_folders});
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
