#pragma once

#include "dialogs.h"
#include "previewmodel.h"
#include "reopen.h"
#include "templatelist.h"
#include "windowlayout.h"

#include <QFont>
#include <QMainWindow>

#include <optional>

class QCheckBox;
class QComboBox;
class QCloseEvent;
class QDragEnterEvent;
class QDragMoveEvent;
class QDropEvent;
class QFileSystemWatcher;
class QTimer;
class QMimeData;
class QLabel;
class QPushButton;

namespace jukora {

class PreviewModel;
class PreviewView;
class Readout;
class StylePanel;

/// The editor's only window: its client area holds the preview on the left
/// and the column of controls on the right, at a fixed size; the menus
/// above it and the status bar below it carry every command and say what
/// is held. Each control's objectName is its member's name
/// without the "m_" (phoneCombo, xReadout ...), for tests and tools.
class MainWindow : public QMainWindow
{
    Q_OBJECT

public:
    static constexpr int kInnerWidth = 358;
    static constexpr int kInnerHeight = 324;

    MainWindow(const QList<TemplateEntry> &templates, Dialogs &dialogs, QWidget *parent = nullptr);
    ~MainWindow() override;

    PreviewModel &model() { return *m_model; }
    PreviewView *preview() const { return m_preview; }

    /// Keeps the phone list in step with the template folders while the
    /// program runs: a template saved there appears, one removed goes (the
    /// selected one stays until another is chosen; Generate says it is gone).
    void followTemplateFolders(const QStringList &folders);

    /// Shows the window centred on its screen.
    void showCentered();
    /// The client area: the preview and the controls, kInnerWidth x kInnerHeight.
    QWidget *clientArea() const { return m_clientArea; }

    // Handlers of the controls, run for a user's change and a change from code alike.
    void onGenerateClicked();
    void onGuidesToggled();
    void onTextColorClicked();
    void onBackgroundClicked();
    void onCoverSizeClicked();
    void onCreditsClicked();

    /// The label that the style controls act on, if one was pressed.
    int styleTarget() const;
    const StylePanel &stylePanel() const { return *m_stylePanel; }

    /// The template file of the selected phone model.
    QString selectedTemplate() const;

    /// Puts the elements where a patch written from the selected model's
    /// template says, all or nothing; a message says why when it cannot.
    /// Returns true when the layout was taken over.
    bool openPatch(const QString &path, Reopening how = Reopening::Chosen);
    /// Asks for a patch (Ctrl+O) and opens it.
    void openPatchDialog();
    /// A short page of every key and mouse rule (F1).
    void showKeyboardHelp();
    /// The guide to writing templates, as the package installs it.
    void showTemplateGuide();
    /// The program's version and licence, and where its documentation is.
    void showAbout();
    /// Loads a picture as the preview's background, reporting what fails.
    bool loadBackground(const QString &path);

protected:
    void closeEvent(QCloseEvent *event) override;
    void dragEnterEvent(QDragEnterEvent *event) override;
    void dragMoveEvent(QDragMoveEvent *event) override;
    void dropEvent(QDropEvent *event) override;

private:
    /// What a drop here does, None for one refused now.
    DropAction dropAction(const QDropEvent *event, QString *file) const;
    /// False, with a box saying why, for a name no file can be opened by.
    bool canOpen(const QString &path);
    /// True when closing loses nothing a patch keeps, or the user says so
    /// (after a Generate, perhaps).
    bool mayClose();
    /// The layout on screen now lives in a patch (written or opened).
    void layoutKept();
    // The controls' geometry, captions, fonts and focus order: windowlayout.cpp.
    void createControls();
    void createReadouts();
    void createSideControls();
    /// Tooltips and the names a screen reader says.
    void describeControls();
    void connectControls();
    void createMenus();
    void setTabOrder();
    /// The status bar's account of the held element and the style target.
    void updateStatus();
    void load(const QList<TemplateEntry> &templates);
    /// Fills the phone list, keeping the selected model where it still is;
    /// nothing else changes.
    void listPhones(const QList<TemplateEntry> &templates);
    void reloadTemplates();
    /// Watches each template folder, or the nearest folder above one that
    /// does not exist yet, so that making it is noticed too.
    void watchTemplateFolders();
    void elementPressed(int index);
    void targetPlaced(int index);
    /// The width and height read-outs show the size of image `index`.
    void showSize(int index);
    void showMessage(Dialogs::Icon icon, const QString &text);
    void documentRestored();
    /// Makes a change to the document as one step of its history.
    template <typename Apply> void change(const QString &text, Apply &&apply)
    {
        const PreviewModel::State before = m_model->state();
        apply();
        m_model->commit(text, before);
    }

    /// The font, bold, italic and alignment controls, a view of the pressed
    /// label's style.
    StylePanel *m_stylePanel = nullptr;
    /// What is being done aside while the window waits: a picture dropped
    /// while one is read waits its turn (the last one wins); any other drop
    /// is refused.
    enum class Busy { No, Picture, Patch } m_busy = Busy::No;
    QString m_nextPicture;
    /// The elements whose position and size the read-outs show, or NoElement.
    int m_positionShown = patch::NoElement;
    int m_sizeShown = patch::NoElement;

    /// What a patch keeps (positions, alignments, the cover size) as the
    /// last patch written or opened has it: the window is "modified", and
    /// closing asks, only when the layout differs.
    patch::Layout m_keptLayout;
    QList<TemplateEntry> m_templates;
    QStringList m_templateFolders;
    QFileSystemWatcher *m_templateWatch = nullptr;
    QTimer *m_templateSettle = nullptr;
    Dialogs &m_dialogs;
    PreviewModel *m_model;

    QWidget *m_clientArea = nullptr;
    PreviewView *m_preview = nullptr;
    Readout *m_heldStatus = nullptr;
    QLabel *m_styleStatus = nullptr;
    QLabel *m_xCaption = nullptr, *m_yCaption = nullptr, *m_readoutPanel = nullptr,
           *m_widthCaption = nullptr, *m_heightCaption = nullptr, *m_textColorSwatch = nullptr,
           *m_fontCaption = nullptr, *m_phoneCaption = nullptr, *m_alignCaption = nullptr;
    Readout *m_xReadout = nullptr, *m_yReadout = nullptr, *m_widthReadout = nullptr,
            *m_heightReadout = nullptr;
    QCheckBox *m_guidesCheck = nullptr, *m_boldCheck = nullptr, *m_italicCheck = nullptr;
    QPushButton *m_generateButton = nullptr, *m_textColorButton = nullptr,
                *m_coverSizeButton = nullptr, *m_creditsButton = nullptr,
                *m_backgroundButton = nullptr;
    QComboBox *m_fontSizeCombo = nullptr, *m_phoneCombo = nullptr, *m_alignCombo = nullptr;
};

} // namespace jukora
