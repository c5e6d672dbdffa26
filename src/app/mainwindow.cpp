#include "mainwindow.h"

#include "coversize.h"
#include "credits.h"
#include "dragtool.h"
#include "generatejob.h"
#include "help.h"
#include "identity.h"
#include "patchfile.h"
#include "picture.h"
#include "previewmodel.h"
#include "previewview.h"
#include "readout.h"
#include "reopen.h"
#include "stylepanel.h"

#include <QAction>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QDir>
#include <QDragEnterEvent>
#include <QFileInfo>
#include <QFileSystemWatcher>
#include <QGuiApplication>
#include <QLabel>
#include <QLayout>
#include <QMimeData>
#include <QPushButton>
#include <QScreen>
#include <QStatusBar>
#include <QTextBrowser>
#include <QTimer>

namespace jukora {

namespace {
/// The file dialogs' filter for patches, in Qt's own syntax.
QString patchFilter()
{
    return QStringLiteral("Vkp patch (*.vkp)");
}
} // namespace

MainWindow::MainWindow(const QList<TemplateEntry> &templates, Dialogs &dialogs, QWidget *parent)
    : QMainWindow(parent), m_dialogs(dialogs), m_model(new PreviewModel(this))
{
    setObjectName(QStringLiteral("mainWindow"));
    // "[*]" shows when the layout has changed since the last patch.
    setWindowTitle(QString::fromLatin1(kWindowCaption) + QStringLiteral("[*]"));
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                   Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint);
    setFont(defaultFont());
    m_clientArea = new QWidget(this);
    m_clientArea->setObjectName(QStringLiteral("clientArea"));
    m_clientArea->setFixedSize(kInnerWidth, kInnerHeight);
    setCentralWidget(m_clientArea);

    createControls();
    createMenus();
    setTabOrder();
    load(templates);
    // The window is as large as its client area, menus and status bar.
    layout()->setSizeConstraint(QLayout::SetFixedSize);

    connect(m_model, &PreviewModel::restored, this, &MainWindow::documentRestored);
    connect(m_model, &PreviewModel::textColorChanged, this,
            [this] { setFill(m_textColorSwatch, m_model->textColor()); });
    m_keptLayout = m_model->layout();
    // The model as context: its undo stack, cleared as the model goes, then
    // reaches no one.
    connect(m_model->undoStack(), &QUndoStack::indexChanged, m_model,
            [this] { setWindowModified(m_model->layout() != m_keptLayout); });
    connect(&m_preview->tool(), &DragTool::heldChanged, this, &MainWindow::updateStatus);
    connect(m_model, &PreviewModel::elementChanged, this, [this](int index) {
        if (index == m_preview->tool().lastPressed())
            updateStatus();
    });

    updateStatus();
    // Reopening a patch by dropping it needs no control of its own.
    setAcceptDrops(true);
    m_preview->setAcceptDrops(false);
    m_preview->viewport()->setAcceptDrops(false);
}

MainWindow::~MainWindow() = default;

void MainWindow::load(const QList<TemplateEntry> &templates)
{
    m_fontSizeCombo->setCurrentIndex(0); // no label is the style target yet
    m_alignCombo->setCurrentIndex(0);
    listPhones(templates);
}

void MainWindow::listPhones(const QList<TemplateEntry> &templates)
{
    m_templates = templates;
    const QString selected = selectedTemplate();
    const QSignalBlocker blocker(m_phoneCombo);
    m_phoneCombo->clear();
    for (const TemplateEntry &entry : templates) {
        m_phoneCombo->addItem(entry.model, entry.path);
        // Models come from more than one folder: say which file this one is.
        m_phoneCombo->setItemData(m_phoneCombo->count() - 1, QDir::toNativeSeparators(entry.path),
                                  Qt::ToolTipRole);
    }
    m_phoneCombo->setCurrentIndex(std::max(0, m_phoneCombo->findData(selected)));
}

void MainWindow::followTemplateFolders(const QStringList &folders)
{
    m_templateFolders = folders;
    m_templateWatch = new QFileSystemWatcher(this);
    // A template is written in several steps: the list is read again once
    // the folder has been still for a moment.
    m_templateSettle = new QTimer(this);
    m_templateSettle->setSingleShot(true);
    m_templateSettle->setInterval(200);
    connect(m_templateWatch, &QFileSystemWatcher::directoryChanged, m_templateSettle,
            qOverload<>(&QTimer::start));
    connect(m_templateSettle, &QTimer::timeout, this, &MainWindow::reloadTemplates);
    watchTemplateFolders();
}

void MainWindow::watchTemplateFolders()
{
    if (!m_templateWatch->directories().isEmpty())
        m_templateWatch->removePaths(m_templateWatch->directories());
    QStringList watched;
    for (QString folder : std::as_const(m_templateFolders)) {
        while (!QFileInfo(folder).isDir() && folder != QFileInfo(folder).path())
            folder = QFileInfo(folder).path();
        if (QFileInfo(folder).isDir() && !watched.contains(folder))
            watched << folder;
    }
    if (!watched.isEmpty())
        m_templateWatch->addPaths(watched);
}

void MainWindow::reloadTemplates()
{
    // The search for a patch's model reads the list meanwhile: it changes
    // once the search is over.
    if (m_busy != Busy::No) {
        m_templateSettle->start();
        return;
    }
    watchTemplateFolders();
    QString error;
    QList<TemplateEntry> templates =
        listTemplates(m_templateFolders, &error).value_or(QList<TemplateEntry>());
    // The selected model stays, gone or not, until another is chosen.
    const qsizetype selected = m_phoneCombo->currentIndex();
    if (selected >= 0 && !templates.contains(m_templates.at(selected))) {
        const auto later = std::find_if(templates.begin(), templates.end(), [&](const auto &t) {
            return t.model.compare(m_templates.at(selected).model, Qt::CaseInsensitive) > 0;
        });
        templates.insert(later, m_templates.at(selected));
    }
    if (templates == m_templates)
        return;
    // Say what changed: the list may be out of sight.
    QStringList added, removed;
    for (const TemplateEntry &entry : std::as_const(templates))
        if (!m_templates.contains(entry))
            added << entry.model;
    for (const TemplateEntry &entry : std::as_const(m_templates))
        if (!templates.contains(entry))
            removed << entry.model;
    QStringList news;
    if (!added.isEmpty())
        news << tr("Added to the phone list: %1.").arg(added.join(QStringLiteral(", ")));
    if (!removed.isEmpty())
        news << tr("Taken off the phone list: %1.").arg(removed.join(QStringLiteral(", ")));
    if (selected >= 0 && !QFileInfo::exists(m_templates.at(selected).path))
        news << tr("The template of %1 is gone.").arg(m_templates.at(selected).model);
    listPhones(templates);
    statusBar()->showMessage(news.join(u' '));
}

int MainWindow::styleTarget() const
{
    return m_stylePanel->target();
}

void MainWindow::showCentered()
{
    show();
    // Half the spare room on each side of the frame, once the frame is
    // known: centring by QRect::center() put the window a pixel off.
    if (const QScreen *screen = QGuiApplication::primaryScreen()) {
        const QRect available = screen->availableGeometry();
        const QSize frame = frameGeometry().size();
        move(available.x() + (available.width() - frame.width()) / 2,
             available.y() + (available.height() - frame.height()) / 2);
    }
}

QString MainWindow::selectedTemplate() const
{
    return m_phoneCombo->currentData().toString();
}

void MainWindow::showMessage(Dialogs::Icon icon, const QString &text)
{
    m_dialogs.message(this, icon, applicationTitle(), text);
}

void MainWindow::showSize(int index)
{
    const Element &e = m_model->element(index);
    const QLocale locale;
    m_sizeShown = index;
    m_widthReadout->setText(readoutText(e.width, locale));
    m_heightReadout->setText(readoutText(e.height, locale));
}

void MainWindow::elementPressed(int index)
{
    if (patch::isImageIndex(index)) {
        showSize(index);
        return;
    }
    m_stylePanel->setTarget(index);
    updateStatus();
}

void MainWindow::targetPlaced(int index)
{
    const Element &e = m_model->element(index);
    const QLocale locale;
    m_positionShown = index;
    // A read-out repaints only when its figure changed.
    m_xReadout->setText(readoutText(e.left, locale));
    m_yReadout->setText(readoutText(patch::shownY(e.top), locale));
}

void MainWindow::onGuidesToggled()
{
    m_preview->tool().setGuidesVisible(m_guidesCheck->isChecked());
}

void MainWindow::onTextColorClicked()
{
    const QColor chosen = m_dialogs.color(this, m_model->textColor());
    if (!chosen.isValid() || chosen.rgb() == m_model->textColor().rgb())
        return;
    change(tr("Text colour"), [&] { m_model->setTextColor(chosen); });
}

void MainWindow::onBackgroundClicked()
{
    const QString picture = m_dialogs.openFileName(this, pictureFilter(), QString());
    if (!picture.isEmpty())
        loadBackground(picture);
}

bool MainWindow::canOpen(const QString &path)
{
    // A name that is not valid UTF-8 reaches Qt with replacement characters
    // in it (from a drop, the file manager or the command line), and no file
    // of that name can be opened.
    if (!path.contains(QChar::ReplacementCharacter))
        return true;
    showMessage(Dialogs::Icon::Critical,
                QStringLiteral("The name of the file %1 is not valid UTF-8, so this program "
                               "cannot open it. Rename the file (for example with convmv) and "
                               "open it again.")
                    .arg(path));
    return false;
}

bool MainWindow::loadBackground(const QString &path)
{
    if (!canOpen(path))
        return false;
    QString shown = path, error, warning;
    std::optional<QImage> picture;
    m_busy = Busy::Picture;
    m_nextPicture = path;
    // A picture dropped while the last one is read replaces it.
    while (!m_nextPicture.isEmpty()) {
        shown = std::exchange(m_nextPicture, QString());
        error.clear();
        warning.clear();
        picture = loadPictureAside(shown, &error, &warning);
    }
    m_busy = Busy::No;
    if (!picture) {
        showMessage(Dialogs::Icon::Critical,
                    QStringLiteral("The picture %1 could not be loaded.\n\n%2\n\n"
                                   "The background stays as it was.")
                        .arg(QDir::toNativeSeparators(shown), error));
        return false;
    }
    change(tr("Background"), [&] { m_model->setBackground(*picture); });
    if (!warning.isEmpty())
        showMessage(Dialogs::Icon::Warning, QStringLiteral("The picture %1 is shown, but:\n\n%2")
                                                .arg(QDir::toNativeSeparators(shown), warning));
    return true;
}

void MainWindow::openPatchDialog()
{
    // A patch saved without an extension opens too.
    const QString patch =
        m_dialogs.openFileName(this, patchFilter() + QStringLiteral(";;All files (*)"), QString());
    if (!patch.isEmpty())
        openPatch(patch);
}

bool MainWindow::openPatch(const QString &path, Reopening how)
{
    if (!canOpen(path))
        return false;
    QString note;
    // The status bar is narrow: the file's name, and what matters first.
    const QString shown = QFileInfo(path).fileName();
    statusBar()->showMessage(tr("Opening %1...").arg(shown));
    const auto searched = [&](qsizetype done) {
        statusBar()->showMessage(tr("Escape stops: %1 of %2 templates tried for %3")
                                     .arg(done)
                                     .arg(m_templates.size() - 1)
                                     .arg(shown));
    };
    m_busy = Busy::Patch;
    const auto carried = reopenLayout(m_dialogs, this, path, m_templates,
                                      m_phoneCombo->currentIndex(), how, &note, searched);
    m_busy = Busy::No;
    statusBar()->showMessage(note);
    if (!carried)
        return false;
    m_phoneCombo->setCurrentIndex(int(carried->model));
    patch::Layout layout = m_model->layout();
    patch::applyPatchLayout(carried->layout, layout);
    change(tr("Reopen"), [&] { m_model->setLayout(layout); });
    layoutKept();

    documentRestored();
    statusBar()->showMessage(tr("Opened %1 for %2").arg(shown, m_phoneCombo->currentText()));
    return true;
}

void MainWindow::documentRestored()
{
    // A layout put back: nothing is being dragged, the read-outs and guide
    // lines show their elements where the document now has them (unchanged
    // when the step did not touch them), and the controls show the document
    // as it is now (the style panel follows the document by itself).
    m_preview->tool().documentRestored();
    if (PreviewModel::isElement(m_positionShown))
        targetPlaced(m_positionShown);
    if (PreviewModel::isElement(m_sizeShown))
        showSize(m_sizeShown);
}

DropAction MainWindow::dropAction(const QDropEvent *event, QString *file) const
{
    const QPoint pos = event->position().toPoint();
    const DropAction action = jukora::dropAction(
        event->mimeData(), m_preview->geometry().contains(m_clientArea->mapFrom(this, pos)), file);
    // While a picture is read or a patch's model sought, only a picture
    // can wait its turn: anything else is refused, and the pointer says so.
    if (m_busy == Busy::No || (m_busy == Busy::Picture && action == DropAction::LoadPicture))
        return action;
    return DropAction::None;
}

void MainWindow::dragEnterEvent(QDragEnterEvent *event)
{
    dragMoveEvent(event);
}

void MainWindow::dragMoveEvent(QDragMoveEvent *event)
{
    QString file;
    if (dropAction(event, &file) == DropAction::None)
        event->ignore();
    else
        event->acceptProposedAction();
}

void MainWindow::dropEvent(QDropEvent *event)
{
    QString file;
    const DropAction action = dropAction(event, &file);
    if (action == DropAction::None) {
        event->ignore();
        return;
    }
    event->acceptProposedAction();
    if (m_busy == Busy::Picture)
        m_nextPicture = file;
    else if (action == DropAction::OpenPatch)
        openPatch(file);
    else if (action == DropAction::LoadPicture)
        loadBackground(file);
    else
        showMessage(Dialogs::Icon::Warning,
                    QStringLiteral("%1 is neither a patch nor a picture.\n\nDrop a .vkp patch "
                                   "on the window to open it, or a picture (PNG, JPEG, BMP, GIF "
                                   "...) on the preview to show it behind the elements.")
                        .arg(QDir::toNativeSeparators(file)));
}

void MainWindow::onCoverSizeClicked()
{
    const QString text =
        m_dialogs.text(this, applicationTitle(), QStringLiteral("Cover size"), QString());
    if (text.isEmpty())
        return;
    QString error;
    const QLocale locale;
    const auto size = parseCoverSize(text, locale, &error);
    if (!size) {
        showMessage(Dialogs::Icon::Critical,
                    error + QStringLiteral("\n\nThe cover stays as it was."));
        return;
    }
    change(tr("Cover size"), [&] { m_model->setCoverSize(*size); });
    // The read-outs follow only when they show the cover's size.
    if (m_sizeShown == patch::AlbumCover)
        showSize(patch::AlbumCover);
}

void MainWindow::onCreditsClicked()
{
    showMessage(Dialogs::Icon::Information, creditsText());
}

void MainWindow::onGenerateClicked()
{
    // The name as typed: no extension is added.
    const QString target = m_dialogs.saveFileName(this, patchFilter(), QString());
    if (target.isEmpty())
        return;
    GenerateJob job(m_dialogs, this);
    if (job.run(target, m_phoneCombo->currentText(), selectedTemplate(), *m_model)) {
        layoutKept();
        statusBar()->showMessage(tr("Patch written to %1").arg(QDir::toNativeSeparators(target)));
    }
    m_preview->tool().generated();
}

void MainWindow::closeEvent(QCloseEvent *event)
{
    const bool close = mayClose();
    event->setAccepted(close);
    // Closing the window ends the program: the guide goes with it.
    if (close) {
        for (QTextBrowser *guide : findChildren<QTextBrowser *>(Qt::FindDirectChildrenOnly))
            guide->close();
    }
}

void MainWindow::layoutKept()
{
    m_keptLayout = m_model->layout();
    setWindowModified(false);
}

bool MainWindow::mayClose()
{
    // The colours and the background live only on screen: no patch keeps
    // them, so closing loses nothing when only they changed.
    if (m_model->layout() == m_keptLayout)
        return true;
    const int answer =
        m_dialogs.choice(this, applicationTitle(),
                         tr("The layout has changed since the last patch was written or opened, "
                            "and it lives only in patches. Generate a patch before closing?"),
                         {tr("&Generate..."), tr("&Close without a patch"), tr("Cancel")});
    if (answer == 0)
        onGenerateClicked();
    return answer == 1 || (answer == 0 && m_model->layout() == m_keptLayout);
}

namespace {

/// An element's name as the status bar begins with it: "Album cover".
QString capitalizedName(int index)
{
    const std::string_view name = patch::elementName(index);
    QString text = QString::fromLatin1(name.data(), qsizetype(name.size()));
    text[0] = text[0].toUpper();
    return text;
}

} // namespace

void MainWindow::updateStatus()
{
    const int held = m_preview->tool().lastPressed();
    QString text;
    if (PreviewModel::isElement(held)) {
        const Element &e = m_model->element(held);
        const QString shown = capitalizedName(held);
        const QLocale locale;
        text =
            tr("%1 at X %2, Y %3, %4 x %5")
                .arg(shown, readoutText(e.left, locale), readoutText(patch::shownY(e.top), locale),
                     readoutText(e.width, locale), readoutText(e.height, locale));
    } else {
        text = tr("Press or Tab to an element, then drag it or use the arrows.");
    }
    m_heldStatus->setText(text);
    const int target = m_stylePanel->target();
    m_styleStatus->setText(
        patch::isLabelIndex(target) ? tr("Style: %1").arg(capitalizedName(target)) : QString());
    statusBar()->clearMessage();
}

void MainWindow::showKeyboardHelp()
{
    jukora::showKeyboardHelp(this);
}

void MainWindow::showAbout()
{
    jukora::showAbout(m_dialogs, this);
}

void MainWindow::showTemplateGuide()
{
    jukora::showTemplateGuide(m_dialogs, this);
}

} // namespace jukora
