#pragma once

#include "commondialog.h"
#include "dialogs.h"
#include "previewmodel.h"
#include "reopen.h"
#include "templatelist.h"
#include "windowlayout.h"

#include <QFont>
#include <QWidget>

#include <optional>

class QCheckBox;
class QComboBox;
class QDragEnterEvent;
class QDragMoveEvent;
class QDropEvent;
class QMimeData;
class QLabel;
class QPushButton;

namespace jukora {

class PreviewModel;
class PreviewView;
class Readout;

/// The editor's only window: the preview on the left, the column of
/// controls on the right. Every control keeps its short name (Picture1,
/// Combo1, Lxx ...) as its objectName.
class MainWindow : public QWidget
{
    Q_OBJECT

public:
    static constexpr int kInnerWidth = 358;
    static constexpr int kInnerHeight = 324;

    MainWindow(const QList<TemplateEntry> &templates, Dialogs &dialogs, QWidget *parent = nullptr);
    ~MainWindow() override;

    PreviewModel &model() { return *m_model; }
    PreviewView *preview() const { return Picture1; }
    CommonDialog &comm() { return Comm; }

    /// Shows the window centred on its screen.
    void showCentered();

    // Handlers of the controls, run for a user's change and a change from code alike.
    void GenerateRun();
    void Co_Change();
    void Check1_Click();
    void Check2_Click();
    void Check3_Click();
    void Combo2_Change();
    void Command2_Click();
    void Com_Click();
    void Command3_Click();
    void Command4_Click();

    /// The template file of the selected phone model.
    QString selectedTemplate() const;

    /// Puts the elements where a patch written from the selected model's
    /// template says, all or nothing; a message says why when it cannot.
    /// Returns true when the layout was taken over.
    bool openPatch(const QString &path);
    /// Asks for a patch (Ctrl+O) and opens it.
    void openPatchDialog();
    /// Loads a picture as the preview's background, reporting what fails.
    bool loadBackground(const QString &path);

protected:
    void dragEnterEvent(QDragEnterEvent *event) override;
    void dragMoveEvent(QDragMoveEvent *event) override;
    void dropEvent(QDropEvent *event) override;

private:
    DropAction dropAction(const QDropEvent *event, QString *file) const;
    // The controls' geometry, captions, fonts and focus order: windowlayout.cpp.
    void createControls();
    void setTabOrder();
    void load(const QList<TemplateEntry> &templates);
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
    std::optional<int> styleTarget() const;

    /// The elements whose position and size the read-outs show, or -1.
    int m_positionShown = -1;
    int m_sizeShown = -1;

    Dialogs &m_dialogs;
    PreviewModel *m_model;
    CommonDialog Comm;

    PreviewView *Picture1 = nullptr;
    QLabel *Label1 = nullptr, *Label2 = nullptr, *Label3 = nullptr, *Label4 = nullptr,
           *Label5 = nullptr, *Label6 = nullptr, *Label7 = nullptr, *Label8 = nullptr,
           *Label9 = nullptr;
    Readout *Lxx = nullptr, *Lyy = nullptr, *Lw = nullptr, *Lh = nullptr;
    QCheckBox *Check1 = nullptr, *Check2 = nullptr, *Check3 = nullptr;
    QPushButton *Command1 = nullptr, *Command2 = nullptr, *Command3 = nullptr, *Command4 = nullptr,
                *Com = nullptr;
    QComboBox *Co = nullptr, *Combo1 = nullptr, *Combo2 = nullptr;
};

} // namespace jukora
