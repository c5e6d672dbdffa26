#include "help.h"

#include "dialogs.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QKeySequence>
#include <QScreen>
#include <QShortcut>
#include <QStandardPaths>
#include <QTextBrowser>

namespace jukora {

namespace {

/// The folder of the README and the template guide: the package's, else
/// the source tree's for a build run in place. Empty when neither is there.
QString documentationFolder()
{
    const QString installed =
        QStandardPaths::locate(QStandardPaths::GenericDataLocation,
                               QStringLiteral("doc/jukora-patch-editor/templates.md"));
    if (!installed.isEmpty())
        return QFileInfo(installed).path();
    if (QFileInfo::exists(QStringLiteral(JUKORA_SOURCE_DOCS "/templates.md")))
        return QStringLiteral(JUKORA_SOURCE_DOCS);
    return {};
}

void showHelpWindow(QWidget *window, const QString &name, const QString &title,
                    const QString &markdown, QSize size)
{
    if (auto *open = window->findChild<QTextBrowser *>(name, Qt::FindDirectChildrenOnly)) {
        open->raise();
        open->activateWindow();
        return;
    }
    auto *page = new QTextBrowser(window);
    page->setObjectName(name);
    page->setWindowFlag(Qt::Window);
    page->setAttribute(Qt::WA_DeleteOnClose);
    page->setWindowTitle(title);
    page->setMarkdown(markdown);
    page->setOpenExternalLinks(true);
    for (const QKeySequence &keys :
         {QKeySequence(Qt::Key_Escape), QKeySequence(Qt::CTRL | Qt::Key_W)})
        QObject::connect(new QShortcut(keys, page), &QShortcut::activated, page, &QWidget::close);
    if (const QScreen *screen = window->screen())
        size = size.boundedTo(screen->availableGeometry().size() * 9 / 10);
    page->resize(size);
    page->show();
}

} // namespace

void showKeyboardHelp(QWidget *window)
{
    showHelpWindow(
        window, QStringLiteral("keyboardHelp"), QObject::tr("Keyboard and Mouse"),
        QObject::tr(
            "## Mouse\n\n"
            "- Drag an element with the left button. It never passes the left edge and never "
            "rises into the status band.\n"
            "- Press a text field to make it the target of Font, Bold, Italic and Align.\n"
            "- Drop a .vkp patch on the window to open it, a picture on the preview to show it "
            "behind the elements.\n\n"
            "## Keys in the preview\n\n"
            "- **Tab**, **Shift+Tab**: take hold of the next or the previous element.\n"
            "- **Arrow keys**: move it by one pixel, with **Shift** by ten.\n"
            "- **Escape**: let go. **Ctrl+Tab**, **Ctrl+Shift+Tab**: leave the preview.\n\n"
            "## Commands\n\n"
            "- **Ctrl+O**: open a patch. **Ctrl+G**: generate. **Ctrl+Q**: quit.\n"
            "- **Escape**, while a patch's phone model is sought among many templates: stop.\n"
            "- **Ctrl+Z**: undo. **Ctrl+Shift+Z** or **Ctrl+Y**: redo.\n"
            "- **F1**: this page. **Escape** or **Ctrl+W** closes it.\n"),
        QSize(480, 420));
}

void showTemplateGuide(Dialogs &dialogs, QWidget *window)
{
    const QString folder = documentationFolder();
    QFile file(folder + QStringLiteral("/templates.md"));
    if (folder.isEmpty() || !file.open(QIODevice::ReadOnly)) {
        dialogs.message(
            window, Dialogs::Icon::Warning, applicationTitle(),
            QObject::tr("The guide to writing templates (templates.md) is not installed. It comes "
                        "with the program's package, in /usr/share/doc/jukora-patch-editor."));
        return;
    }
    showHelpWindow(window, QStringLiteral("templateGuide"), QObject::tr("Writing Templates"),
                   QString::fromUtf8(file.readAll()), QSize(640, 560));
}

void showAbout(Dialogs &dialogs, QWidget *window)
{
    const QString folder = documentationFolder();
    dialogs.message(
        window, Dialogs::Icon::Information, QObject::tr("About %1").arg(applicationTitle()),
        QObject::tr("%1 %2\n\nLays out the now-playing screen of a phone's music player and "
                    "writes it as a .vkp patch.\n\nLicence: GPL-3.0-or-later.\n\n%3")
            .arg(applicationTitle(), QStringLiteral(JUKORA_VERSION),
                 folder.isEmpty()
                     ? QObject::tr("The README and the guide to writing templates come with the "
                                   "package, in /usr/share/doc/jukora-patch-editor.")
                     : QObject::tr("The README and the guide to writing templates (README.md, "
                                   "templates.md) are in %1.")
                           .arg(QDir::toNativeSeparators(folder))));
}

} // namespace jukora
