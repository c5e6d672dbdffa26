#include "windowlayout.h"

#include "dragtool.h"
#include "mainwindow.h"
#include "previewitems.h"
#include "previewmodel.h"
#include "previewview.h"
#include "readout.h"
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
    return font;
}

QStringList tahoma()
{
    return {QStringLiteral("Tahoma"), QStringLiteral("Liberation Sans"), QStringLiteral("Arial"),
            QStringLiteral("DejaVu Sans")};
}

QFont fontT8()
{
    return uiFont(tahoma(), 11, false);
}
QFont fontT10B()
{
    return uiFont(tahoma(), 13, true);
}
QFont fontS8()
{
    return uiFont({QStringLiteral("MS Sans Serif"), QStringLiteral("Liberation Sans"),
                   QStringLiteral("Arial"), QStringLiteral("DejaVu Sans")},
                  11, false);
}
QFont fontR10()
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
    return fontS8();
}

void MainWindow::createControls()
{
    Picture1 = new PreviewView(*m_model, this);
    Picture1->setGeometry(0, 0, 244, 324);

    // The white panel first, so that it lies behind everything else.
    Label3 = panel(this, "Label3", 248, 4, 105, 77, Qt::white);
    Label1 =
        place(new QLabel(QStringLiteral("X Pos:"), this), "Label1", 256, 12, 41, 16, fontT10B());
    Lxx = place(new Readout(this), "Lxx", 304, 12, 33, 17, fontT10B());
    Label2 =
        place(new QLabel(QStringLiteral("Y Pos:"), this), "Label2", 256, 28, 41, 16, fontT10B());
    Lyy = place(new Readout(this), "Lyy", 304, 28, 33, 17, fontT10B());
    Label4 =
        place(new QLabel(QStringLiteral("Width:"), this), "Label4", 256, 44, 43, 16, fontT10B());
    Lw = place(new Readout(this), "Lw", 304, 44, 31, 16, fontT10B());
    Label5 =
        place(new QLabel(QStringLiteral("Height:"), this), "Label5", 256, 60, 47, 16, fontT10B());
    Lh = place(new Readout(this), "Lh", 304, 60, 36, 16, fontT10B());
    // The read-outs change on every move of a drag: drawn opaque in the
    // panel's white, they repaint without anything behind them.
    for (QLabel *caption : {Label1, Label2, Label4, Label5})
        caption->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    for (QWidget *readout :
         std::initializer_list<QWidget *>{Label1, Label2, Label4, Label5, Lxx, Lyy, Lw, Lh})
        setFill(readout, Qt::white);

    Check1 = place(new QCheckBox(QStringLiteral("Coordinates"), this), "Check1", 248, 85, 81, 17,
                   fontT8());
    Check1->setChecked(true);
    Command3 = place(new QPushButton(QStringLiteral("Cover Size"), this), "Command3", 248, 103, 105,
                     25, fontT8());
    Com = place(new QPushButton(QStringLiteral("Background Image"), this), "Com", 248, 127, 105, 25,
                fontT8());
    Command2 = place(new QPushButton(QStringLiteral("Text Color\n(preview)"), this), "Command2",
                     248, 151, 73, 33, fontT8());
    Label6 = panel(this, "Label6", 321, 152, 32, 31, QColor(192, 192, 192));
    Label7 = place(new QLabel(QStringLiteral("Font:"), this), "Label7", 248, 189, 26, 13, fontT8());
    Co = place(new QComboBox(this), "Co", 280, 187, 73, 21, fontT8());
    for (const char *entry : TextStyle::kSizeEntries)
        Co->addItem(QString::fromLatin1(entry));
    Co->setProperty("Tag", QStringLiteral("0"));
    Check2 =
        place(new QCheckBox(QStringLiteral("Bold"), this), "Check2", 248, 210, 41, 17, fontT8());
    Check2->setChecked(true);
    Check3 =
        place(new QCheckBox(QStringLiteral("Italic"), this), "Check3", 304, 210, 49, 17, fontT8());
    Label9 =
        place(new QLabel(QStringLiteral("Align:"), this), "Label9", 248, 232, 26, 13, fontS8());
    Combo2 = place(new QComboBox(this), "Combo2", 280, 228, 73, 21, fontS8());
    for (const char *entry : TextStyle::kAlignEntries)
        Combo2->addItem(QString::fromLatin1(entry));
    Label8 =
        place(new QLabel(QStringLiteral("Phone:"), this), "Label8", 248, 250, 34, 13, fontT8());
    Combo1 = place(new QComboBox(this), "Combo1", 248, 265, 105, 21, fontT8());
    Command4 = place(new QPushButton(QStringLiteral("\u00A9"), this), "Command4", 248, 296, 25, 25,
                     fontR10());
    Command1 = place(new QPushButton(QStringLiteral("Generate"), this), "Command1", 272, 296, 81,
                     25, fontT8());
    Command4->setToolTip(QStringLiteral("Credits"));
    // Names a screen reader says where the caption alone would not do.
    const std::pair<QWidget *, const char *> spoken[] = {
        {Lxx, "X position"},    {Lyy, "Y position"},   {Lw, "Width"},
        {Lh, "Height"},         {Co, "Font"},          {Combo2, "Align"},
        {Combo1, "Phone"},      {Command4, "Credits"}, {Command2, "Text Color (preview)"},
        {Label6, "Text colour"}};
    for (const auto &[widget, name] : spoken)
        widget->setAccessibleName(QString::fromLatin1(name));
    Command1->setToolTip(QStringLiteral("Write the patch for the selected phone"));

    connect(Check1, &QCheckBox::toggled, this, &MainWindow::Check1_Click);
    connect(Check2, &QCheckBox::toggled, this, &MainWindow::Check2_Click);
    connect(Check3, &QCheckBox::toggled, this, &MainWindow::Check3_Click);
    connect(Co, &QComboBox::currentIndexChanged, this, &MainWindow::Co_Change);
    connect(Combo2, &QComboBox::currentIndexChanged, this, &MainWindow::Combo2_Change);
    connect(Command1, &QPushButton::clicked, this, &MainWindow::GenerateRun);
    connect(Command2, &QPushButton::clicked, this, &MainWindow::Command2_Click);
    connect(Com, &QPushButton::clicked, this, &MainWindow::Com_Click);
    connect(Command3, &QPushButton::clicked, this, &MainWindow::Command3_Click);
    connect(Command4, &QPushButton::clicked, this, &MainWindow::Command4_Click);
    connect(Picture1, &PreviewView::elementPressed, this, &MainWindow::elementPressed);
    connect(&Picture1->tool(), &DragTool::targetPlaced, this, &MainWindow::targetPlaced);
}

void MainWindow::setTabOrder()
{
    const QList<QWidget *> order = {Picture1, Check1, Command3, Com,      Command2, Co,
                                    Check2,   Check3, Combo1,   Command4, Command1, Combo2};
    for (qsizetype i = 0; i + 1 < order.size(); ++i)
        QWidget::setTabOrder(order.at(i), order.at(i + 1));
}

} // namespace jukora
