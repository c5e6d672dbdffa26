#include "help.h"

#include "dialogs.h"

#include <QFile>
#include <QFileInfo>
#include <QKeySequence>
#include <QScreen>
#include <QShortcut>
#include <QStandardPaths>
#include <QTextBrowser>

namespace jukora {

void showKeyboardHelp(Dialogs &dialogs, QWidget *window)
{
    dialogs.message(
        window, Dialogs::Icon::Information, applicationTitle(),
        QObject::tr(
            "Mouse\n"
            "  Drag an element with the left button. It never passes the left edge and never "
            "rises into the status band.\n"
            "  Press a text field to make it the target of Font, Bold, Italic and Align.\n"
            "  Drop a .vkp patch on the window to open it, a picture on the preview to set the "
            "background.\n\n"
            "Keys in the preview\n"
            "  Tab, Shift+Tab: take hold of the next or the previous element\n"
            "  Arrow keys: move it by one pixel, with Shift by ten\n"
            "  Escape: let go; Ctrl+Tab, Ctrl+Shift+Tab: leave the preview\n\n"
            "Commands\n"
            "  Ctrl+O: open a patch    Ctrl+G: generate    Ctrl+Q: quit\n"
            "  Ctrl+Z: undo    Ctrl+Shift+Z or Ctrl+Y: redo\n"
            "  F1: this page"));
}

void showTemplateGuide(Dialogs &dialogs, QWidget *window)
{
    // The package's copy, else the one in the source tree this was built from.
    QString guide = QStandardPaths::locate(QStandardPaths::GenericDataLocation,
                                           QStringLiteral("doc/jukora-patch-editor/templates.md"));
    if (guide.isEmpty() && QFileInfo::exists(QStringLiteral(JUKORA_SOURCE_DOCS "/templates.md")))
        guide = QStringLiteral(JUKORA_SOURCE_DOCS "/templates.md");
    QFile file(guide);
    if (guide.isEmpty() || !file.open(QIODevice::ReadOnly)) {
        dialogs.message(
            window, Dialogs::Icon::Warning, applicationTitle(),
            QObject::tr("The guide to writing templates (templates.md) is not installed. It comes "
                        "with the program's package, in /usr/share/doc/jukora-patch-editor."));
        return;
    }
    // A window of its own that closes with the main window, which it never
    // keeps open; Escape and Ctrl+W close it, and it fits the screen.
    auto *page = new QTextBrowser(window);
    page->setWindowFlag(Qt::Window);
    page->setAttribute(Qt::WA_DeleteOnClose);
    page->setWindowTitle(QObject::tr("Writing Templates"));
    page->setMarkdown(QString::fromUtf8(file.readAll()));
    page->setOpenExternalLinks(true);
    for (const QKeySequence &keys :
         {QKeySequence(Qt::Key_Escape), QKeySequence(Qt::CTRL | Qt::Key_W)})
        QObject::connect(new QShortcut(keys, page), &QShortcut::activated, page, &QWidget::close);
    QSize size(640, 560);
    if (const QScreen *screen = window->screen())
        size = size.boundedTo(screen->availableGeometry().size() * 9 / 10);
    page->resize(size);
    page->show();
}

} // namespace jukora
