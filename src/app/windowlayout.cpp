#include "windowlayout.h"

#include <QApplication>
#include <QMenuBar>
#include <QStatusBar>

#include "dragtool.h"
#include "mainwindow.h"
#include "previewitems.h"
#include "previewmodel.h"
#include "previewview.h"
#include "readout.h"
#include "stylepanel.h"
#include "textstyle.h"

#include <QCheckBox>
#include <QComboBox>
#include <QIcon>
#include <QLabel>
#include <QPushButton>

namespace jukora {

void setFill(QWidget *widget, const QColor &fill)
{
    QPalette palette = widget->palette();
    palette.setColor(QPalette::Window, fill);
    palette.setColor(QPalette::WindowText, Qt::black);
    widget->setPalette(palette);
    widget->setAutoFillBackground(true);
}

namespace {

// The window asks for Windows faces first (Tahoma, MS Sans Serif, Times New
// Roman) and falls back to metric-compatible free ones at the same pixel
// heights, so the layout does not depend on the DPI.
QFont uiFont(const QStringList &families, int pixelSize, bool bold)
{
    QFont font;
    font.setFamilies(families);
    font.setPixelSize(pixelSize);
    font.setBold(bold);
    // Hinted only vertically, a caption keeps its width at every scale: at
    // twice the size, fully hinted glyphs grow wider than twice as wide and
    // overrun the control's box.
    font.setHintingPreference(QFont::PreferVerticalHinting);
    return font;
}

QStringList tahoma()
{
    return {QStringLiteral("Tahoma"), QStringLiteral("Liberation Sans"), QStringLiteral("Arial"),
            QStringLiteral("DejaVu Sans")};
}

/// Tahoma 8 pt: the buttons, the check boxes, most captions and the lists
/// but the alignment list.
QFont captionFont()
{
    return uiFont(tahoma(), 11, false);
}
/// Tahoma 10 pt bold: the read-outs and their captions.
QFont readoutFont()
{
    return uiFont(tahoma(), 13, true);
}
/// MS Sans Serif 8 pt: the window's own font, the alignment list and its
/// caption.
QFont systemFont()
{
    return uiFont({QStringLiteral("MS Sans Serif"), QStringLiteral("Liberation Sans"),
                   QStringLiteral("Arial"), QStringLiteral("DejaVu Sans")},
                  11, false);
}
/// Times New Roman 10 pt: the credits button.
QFont creditsFont()
{
    return uiFont({QStringLiteral("Times New Roman"), QStringLiteral("Liberation Serif"),
                   QStringLiteral("DejaVu Serif")},
                  13, false);
}

template <typename W>
W *place(W *widget, const char *name, int x, int y, int w, int h, const QFont &font)
{
    widget->setObjectName(QString::fromLatin1(name));
    widget->setGeometry(x, y, w, h);
    widget->setFont(font);
    return widget;
}

/// A captionless label with a thin flat black border: the read-out panel
/// and the colour swatch.
QLabel *panel(QWidget *parent, const char *name, int x, int y, int w, int h, const QColor &fill)
{
    auto *label = place(new QLabel(parent), name, x, y, w, h, QFont());
    label->setFrameStyle(QFrame::Box | QFrame::Plain);
    label->setLineWidth(1);
    setFill(label, fill);
    return label;
}

} // namespace

QIcon applicationIcon()
{
    QIcon icon;
    icon.addPixmap(artwork(QStringLiteral(":/artwork/jukora.png")));
    return icon;
}

QFont defaultFont()
{
    return systemFont();
}

void MainWindow::createControls()
{
    m_preview = new PreviewView(*m_model, m_clientArea);
    // The screen and the view's frame of two pixels on each side.
    m_preview->setGeometry(0, 0, patch::kScreenWidth + 4, patch::kScreenHeight + 4);
    createReadouts();
    createSideControls();
    describeControls();
    connectControls();
}

void MainWindow::createReadouts()
{
    // The white panel first, so that it lies behind everything else.
    m_readoutPanel = panel(m_clientArea, "readoutPanel", 248, 4, 105, 77, Qt::white);
    m_xCaption = place(new QLabel(QStringLiteral("X Pos:"), m_clientArea), "xCaption", 256, 12, 41,
                       16, readoutFont());
    m_xReadout = place(new Readout(m_clientArea), "xReadout", 304, 12, 33, 17, readoutFont());
    m_yCaption = place(new QLabel(QStringLiteral("Y Pos:"), m_clientArea), "yCaption", 256, 28, 41,
                       16, readoutFont());
    m_yReadout = place(new Readout(m_clientArea), "yReadout", 304, 28, 33, 17, readoutFont());
    m_widthCaption = place(new QLabel(QStringLiteral("Width:"), m_clientArea), "widthCaption", 256,
                           44, 43, 16, readoutFont());
    m_widthReadout =
        place(new Readout(m_clientArea), "widthReadout", 304, 44, 31, 16, readoutFont());
    m_heightCaption = place(new QLabel(QStringLiteral("Height:"), m_clientArea), "heightCaption",
                            256, 60, 47, 16, readoutFont());
    m_heightReadout =
        place(new Readout(m_clientArea), "heightReadout", 304, 60, 36, 16, readoutFont());
    // The read-outs change on every move of a drag: drawn opaque in the
    // panel's white, they repaint without anything behind them.
    for (QLabel *caption : {m_xCaption, m_yCaption, m_widthCaption, m_heightCaption})
        caption->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    for (QWidget *readout :
         std::initializer_list<QWidget *>{m_xCaption, m_yCaption, m_widthCaption, m_heightCaption,
                                          m_xReadout, m_yReadout, m_widthReadout, m_heightReadout})
        setFill(readout, Qt::white);
}

void MainWindow::createSideControls()
{
    m_guidesCheck = place(new QCheckBox(QStringLiteral("Coordinates"), m_clientArea), "guidesCheck",
                          248, 85, 81, 17, captionFont());
    m_guidesCheck->setChecked(true);
    m_coverSizeButton = place(new QPushButton(QStringLiteral("Cover Size"), m_clientArea),
                              "coverSizeButton", 248, 103, 105, 25, captionFont());
    m_backgroundButton = place(new QPushButton(QStringLiteral("Background Image"), m_clientArea),
                               "backgroundButton", 248, 127, 105, 25, captionFont());
    m_textColorButton =
        place(new QPushButton(QStringLiteral("Text Color\n(preview)"), m_clientArea),
              "textColorButton", 248, 151, 73, 33, captionFont());
    m_textColorSwatch =
        panel(m_clientArea, "textColorSwatch", 321, 152, 32, 31, QColor(192, 192, 192));
    m_fontCaption = place(new QLabel(QStringLiteral("Font:"), m_clientArea), "fontCaption", 248,
                          189, 26, 13, captionFont());
    m_fontSizeCombo =
        place(new QComboBox(m_clientArea), "fontSizeCombo", 280, 187, 73, 21, captionFont());
    for (const char *entry : TextStyle::kSizeEntries)
        m_fontSizeCombo->addItem(QString::fromLatin1(entry));
    m_boldCheck = place(new QCheckBox(QStringLiteral("Bold"), m_clientArea), "boldCheck", 248, 210,
                        41, 17, captionFont());
    m_boldCheck->setChecked(true);
    m_italicCheck = place(new QCheckBox(QStringLiteral("Italic"), m_clientArea), "italicCheck", 304,
                          210, 49, 17, captionFont());
    m_alignCaption = place(new QLabel(QStringLiteral("Align:"), m_clientArea), "alignCaption", 248,
                           232, 26, 13, systemFont());
    m_alignCombo = place(new QComboBox(m_clientArea), "alignCombo", 280, 228, 73, 21, systemFont());
    for (const char *entry : TextStyle::kAlignEntries)
        m_alignCombo->addItem(QString::fromLatin1(entry));
    m_phoneCaption = place(new QLabel(QStringLiteral("Phone:"), m_clientArea), "phoneCaption", 248,
                           250, 34, 13, captionFont());
    m_phoneCombo =
        place(new QComboBox(m_clientArea), "phoneCombo", 248, 265, 105, 21, captionFont());
    m_creditsButton = place(new QPushButton(QStringLiteral("\u00A9"), m_clientArea),
                            "creditsButton", 248, 296, 25, 25, creditsFont());
    m_generateButton = place(new QPushButton(QStringLiteral("Generate"), m_clientArea),
                             "generateButton", 272, 296, 81, 25, captionFont());
}

void MainWindow::describeControls()
{
    m_creditsButton->setToolTip(QStringLiteral("Credits"));
    // Names a screen reader says where the caption alone would not do.
    const std::pair<QWidget *, const char *> spoken[] = {
        {m_xReadout, "X position"},
        {m_yReadout, "Y position"},
        {m_widthReadout, "Width"},
        {m_heightReadout, "Height"},
        {m_fontSizeCombo, "Font"},
        {m_alignCombo, "Align"},
        {m_phoneCombo, "Phone"},
        {m_creditsButton, "Credits"},
        {m_textColorButton, "Text Color (preview)"},
        {m_textColorSwatch, "Text colour"}};
    for (const auto &[widget, name] : spoken)
        widget->setAccessibleName(QString::fromLatin1(name));
    m_generateButton->setToolTip(QStringLiteral("Write the patch for the selected phone (Ctrl+G)"));
    m_coverSizeButton->setToolTip(
        QStringLiteral("Make the album cover a square of the size you type"));
    m_backgroundButton->setToolTip(
        QStringLiteral("Show a picture behind the elements, to judge the layout"));
    m_textColorButton->setToolTip(
        QStringLiteral("The colour of the text fields on the preview only"));
    m_guidesCheck->setToolTip(QStringLiteral("Show the guide lines on the held element's edges"));
}

void MainWindow::connectControls()
{
    connect(m_guidesCheck, &QCheckBox::toggled, this, &MainWindow::onGuidesToggled);
    m_stylePanel =
        new StylePanel(*m_model, m_fontSizeCombo, m_boldCheck, m_italicCheck, m_alignCombo, this);
    connect(m_generateButton, &QPushButton::clicked, this, &MainWindow::onGenerateClicked);
    connect(m_textColorButton, &QPushButton::clicked, this, &MainWindow::onTextColorClicked);
    connect(m_backgroundButton, &QPushButton::clicked, this, &MainWindow::onBackgroundClicked);
    connect(m_coverSizeButton, &QPushButton::clicked, this, &MainWindow::onCoverSizeClicked);
    connect(m_creditsButton, &QPushButton::clicked, this, &MainWindow::onCreditsClicked);
    connect(m_preview, &PreviewView::elementPressed, this, &MainWindow::elementPressed);
    connect(&m_preview->tool(), &DragTool::targetPlaced, this, &MainWindow::targetPlaced);
}

void MainWindow::createMenus()
{
    // Every command with its shortcut, whichever control has the focus.
    QMenu *file = menuBar()->addMenu(tr("&File"));
    QAction *open = file->addAction(tr("&Open Patch..."), this, &MainWindow::openPatchDialog);
    open->setShortcut(QKeySequence::Open);
    QAction *generate = file->addAction(tr("&Generate..."), this, &MainWindow::onGenerateClicked);
    generate->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_G));
    file->addSeparator();
    QAction *quit = file->addAction(tr("&Quit"), this, &QWidget::close);
    quit->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Q));

    // Undo and redo name the step they undo or redo ("Undo Move").
    QMenu *edit = menuBar()->addMenu(tr("&Edit"));
    QAction *undo = m_model->undoStack()->createUndoAction(this, tr("&Undo"));
    undo->setShortcuts(QKeySequence::Undo);
    QAction *redo = m_model->undoStack()->createRedoAction(this, tr("&Redo"));
    QList<QKeySequence> redoKeys = QKeySequence::keyBindings(QKeySequence::Redo);
    if (!redoKeys.contains(QKeySequence(Qt::CTRL | Qt::Key_Y)))
        redoKeys << QKeySequence(Qt::CTRL | Qt::Key_Y);
    redo->setShortcuts(redoKeys);
    edit->addActions({undo, redo});

    QMenu *help = menuBar()->addMenu(tr("&Help"));
    QAction *keys = help->addAction(tr("&Keyboard and Mouse"), this, &MainWindow::showKeyboardHelp);
    keys->setShortcut(QKeySequence(Qt::Key_F1));
    help->addAction(tr("&Writing Templates"), this, &MainWindow::showTemplateGuide);
    help->addSeparator();
    help->addAction(tr("&About"), this, &MainWindow::showAbout);
    help->addAction(tr("About &Qt"), qApp, &QApplication::aboutQt);

    // The held element's line changes on every move of a drag. A read-out
    // repaints just its own figures; a label would ask the status bar, and
    // through it the whole window, to lay out again at every move.
    m_heldStatus = new Readout(this);
    m_heldStatus->setObjectName(QStringLiteral("heldStatus"));
    m_styleStatus = new QLabel(tr("Style: Album"), this);
    m_styleStatus->setObjectName(QStringLiteral("styleStatus"));
    // Both of one fixed height, whatever they say: the window keeps its size
    // when a line of the status bar fills or empties.
    const int statusHeight =
        std::max(m_heldStatus->fontMetrics().height(), m_styleStatus->sizeHint().height());
    m_heldStatus->setFixedHeight(statusHeight);
    m_styleStatus->setFixedHeight(statusHeight);
    statusBar()->addWidget(m_heldStatus, 1);
    statusBar()->addPermanentWidget(m_styleStatus);
    statusBar()->setSizeGripEnabled(false);
}

void MainWindow::setTabOrder()
{
    const QList<QWidget *> order = {m_preview,          m_guidesCheck,     m_coverSizeButton,
                                    m_backgroundButton, m_textColorButton, m_fontSizeCombo,
                                    m_boldCheck,        m_italicCheck,     m_phoneCombo,
                                    m_creditsButton,    m_generateButton,  m_alignCombo};
    for (qsizetype i = 0; i + 1 < order.size(); ++i)
        QWidget::setTabOrder(order.at(i), order.at(i + 1));
}

} // namespace jukora
