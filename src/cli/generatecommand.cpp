#include "generatecommand.h"

#include "checkcommand.h"
#include "layout.h"
#include "layoutfile.h"
#include "patchfile.h"
#include "refusal.h"
#include "templatelist.h"

#include <QDir>
#include <QTextStream>

namespace jukora::cli {

namespace {

int templateUnreadable(const Console &console, const TemplateEntry &entry, const QString &why)
{
    console.complain(
        patch::templateUnreadable(entry.model, entry.path, why, patch::Audience::CommandLine));
    return Failed;
}

/// The layout the new patch gets: the one every start begins with, and on
/// it what the patch at `request.layoutPath` carries. The patch is read
/// with the template of --layout-model, else of the model written for, else
/// of the one model whose template it fits (a layout carried across
/// phones, as the window does). Nothing, with the reason said, when it
/// cannot be taken.
std::optional<patch::Layout> takeLayout(const Console &console, const GenerateRequest &request,
                                        const QList<TemplateEntry> &templates,
                                        const TemplateEntry &target, int *status)
{
    patch::Layout layout = patch::defaultLayout();
    if (request.layoutPath.isEmpty())
        return layout;
    TemplateEntry entry = target;
    QString why;
    if (!request.layoutModel.isEmpty()) {
        const auto named = findTemplate(templates, request.layoutModel, &why);
        if (!named) {
            console.complain(why);
            *status = Failed;
            return std::nullopt;
        }
        entry = *named;
    }
    const QString shownPatch = QDir::toNativeSeparators(request.layoutPath);
    const auto cannotTake = [&](const QString &why) {
        console.complain(QStringLiteral("cannot take the layout of %1 with the template of %2. %3 "
                                        "No patch was written.")
                             .arg(shownPatch, entry.model, why));
    };
    // The patch is read once, and tried against the other models only when
    // no model is named for it.
    const std::atomic<bool> named = !request.layoutModel.isEmpty();
    auto found =
        patch::reopenPatch(request.layoutPath, templates, templates.indexOf(entry), &named);
    if (!found.layout && found.mismatch) {
        QStringList names;
        for (const auto &fit : std::as_const(found.fits))
            names << templates.at(fit.model).model;
        if (found.fits.size() > 1) {
            cannotTake(found.why + QStringLiteral(" It fits the templates of %1: name the one it "
                                                  "was written for with --layout-model.")
                                       .arg(names.join(QStringLiteral(", "))));
            *status = Refused;
            return std::nullopt;
        }
        if (found.fits.size() == 1) {
            entry = templates.at(found.fits.first().model);
            found.layout = found.fits.first().layout;
        }
    }
    if (!found.layout) {
        cannotTake(found.why);
        *status = found.mismatch ? Refused : Failed;
        return std::nullopt;
    }
    // Carried across phones: say with which model's template.
    if (entry.path != target.path)
        console.out << QStringLiteral("%1: the layout of %2 was read with the template of %3.\n")
                           .arg(console.program, shownPatch, entry.model);
    // What the patch does not carry stays where every start puts it.
    patch::applyPatchLayout(*found.layout, layout);
    return layout;
}

void listMalformed(const Console &console, const QString &file, const patch::TemplateCheck &check)
{
    for (const patch::MalformedLine &bad : check.malformed())
        console.diagnostic(file, bad.lineNumber, "error",
                           patch::malformedText(bad.placeholder, bad.what));
    if (check.malformedCount() > check.malformed().size())
        console.out << file << ": error: and "
                    << (check.malformedCount() - check.malformed().size())
                    << " more malformed lines\n";
    console.out.flush();
}

/// Lines the patch went out with that are worth a look before flashing.
void listWarnings(const Console &console, const QString &file, const patch::TemplateCheck &check)
{
    for (const patch::LineWarning &warning : check.warnings())
        console.diagnostic(file, warning.lineNumber, "warning",
                           QString::fromStdString(warning.what));
    if (check.warningCount() > check.warnings().size())
        console.out << file << ": warning: and " << (check.warningCount() - check.warnings().size())
                    << " more warnings\n";
    console.out.flush();
}

} // namespace

int generatePatch(const Console &console, const GenerateRequest &request)
{
    QString error, leftOut;
    const auto templates = listTemplates(request.templateFolders, &error, &leftOut);
    if (!templates) {
        console.complain(error);
        return Failed;
    }
    const auto entry = findTemplate(*templates, request.model, &error);
    if (!entry) {
        // The model's template may be in a folder that cannot be read.
        console.complain(leftOut.isEmpty() ? error : error + u' ' + leftOut);
        return Failed;
    }
    const QString shownTemplate = QDir::toNativeSeparators(entry->path);
    if (request.firmware) {
        if (const int status = checkAgainstFirmware(console, shownTemplate, *request.firmware);
            status != Success)
            return status;
    }
    int status = Success;
    const auto layout = takeLayout(console, request, *templates, *entry, &status);
    if (!layout)
        return status;

    const patch::LayoutQuery query(*layout);
    patch::PatchFileWriter writer(request.outputPath, query);
    if (!writer.run(entry->path, &error))
        return templateUnreadable(console, *entry, error);
    const patch::TemplateCheck &check = writer.check();
    QString writeError;
    writer.written(&writeError);
    if (const auto refusal = patch::generateRefusal(check, shownTemplate, request.outputPath,
                                                    writeError, patch::Audience::CommandLine)) {
        listMalformed(console, shownTemplate, check);
        for (const QString &reason : refusal->reasons)
            console.complain(reason);
        return refusal->templateAtFault ? Refused : Failed;
    }
    if (!check.outOfRange().empty() && !request.allowWrap) {
        console.complain(patch::positionsOffTheByte(check, patch::Audience::CommandLine));
        return Refused;
    }
    if (!writer.commit(&error)) {
        console.complain(
            patch::notWritten(request.outputPath, error, patch::Audience::CommandLine));
        return Failed;
    }
    listWarnings(console, shownTemplate, check);
    return Success;
}

} // namespace jukora::cli
