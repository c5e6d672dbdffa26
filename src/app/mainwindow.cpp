#include "mainwindow.h"

#include "coversize.h"
#include "credits.h"
#include "layoutfile.h"
#include "patchfile.h"
#include "picture.h"
#include "previewmodel.h"
#include "previewview.h"
#include "textstyle.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QDragEnterEvent>
#include <QFileInfo>
#include <QGuiApplication>
#include <QLabel>
#include <QMimeData>
#include <QPushButton>
#include <QScreen>
#include <QShortcut>

namespace jukora {

QString applicationTitle()
{
    return QStringLiteral("Jukora Patch Editor");
}

namespace {

// The named faces of the layout are Windows fonts; these stand in for them
// at the same pixel heights, so the layout does not depend on the DPI.
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

void setFill(QWidget *widget, const QColor &fill)
{
    QPalette palette = widget->palette();
    palette.setColor(QPalette::Window, fill);
    palette.setColor(QPalette::WindowText, Qt::black);
    widget->setPalette(palette);
    widget->setAutoFillBackground(true);
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

QFont defaultFont()
{
    return fontS8();
}

MainWindow::MainWindow(const QList<TemplateEntry> &templates, Dialogs &dialogs, QWidget *parent)
    : QWidget(parent), m_dialogs(dialogs), m_model(new PreviewModel(this)), Comm(dialogs, this)
{
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(QStringLiteral("Jukora v2 patch editor"));
    setWindowIcon(QIcon(QStringLiteral(":/artwork/jukora.png")));
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                   Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint);
    setFixedSize(kInnerWidth, kInnerHeight);
    setFont(fontS8());

    createControls();
    setTabOrder();
    load(templates);

    // Beyond the classic layout: reopen a patch, by keyboard or by dropping it.
    auto *open = new QShortcut(QKeySequence::Open, this);
    connect(open, &QShortcut::activated, this, &MainWindow::openPatchDialog);
    setAcceptDrops(true);
    Picture1->setAcceptDrops(false);
    Picture1->viewport()->setAcceptDrops(false);
}

MainWindow::~MainWindow() = default;

void MainWindow::createControls()
{
    Picture1 = new PreviewView(*m_model, this);
    Picture1->setGeometry(0, 0, 244, 324);

    // The white panel first, so that it lies behind everything else.
    Label3 = panel(this, "Label3", 248, 4, 105, 77, Qt::white);
    Label1 =
        place(new QLabel(QStringLiteral("X Pos:"), this), "Label1", 256, 12, 41, 16, fontT10B());
    Lxx = place(new QLabel(this), "Lxx", 304, 12, 33, 17, fontT10B());
    Label2 =
        place(new QLabel(QStringLiteral("Y Pos:"), this), "Label2", 256, 28, 41, 16, fontT10B());
    Lyy = place(new QLabel(this), "Lyy", 304, 28, 33, 17, fontT10B());
    Label4 =
        place(new QLabel(QStringLiteral("Width:"), this), "Label4", 256, 44, 43, 16, fontT10B());
    Lw = place(new QLabel(this), "Lw", 304, 44, 31, 16, fontT10B());
    Label5 =
        place(new QLabel(QStringLiteral("Height:"), this), "Label5", 256, 60, 47, 16, fontT10B());
    Lh = place(new QLabel(this), "Lh", 304, 60, 36, 16, fontT10B());
    // The read-outs change on every move of a drag: drawn opaque in the
    // panel's white, they repaint without anything behind them.
    for (QLabel *readout : {Label1, Label2, Label4, Label5, Lxx, Lyy, Lw, Lh}) {
        readout->setAlignment(Qt::AlignLeft | Qt::AlignTop);
        setFill(readout, Qt::white);
    }

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
    connect(m_model, &PreviewModel::targetPlaced, this, &MainWindow::targetPlaced);
}

void MainWindow::setTabOrder()
{
    const QList<QWidget *> order = {Picture1, Check1, Command3, Com,      Command2, Co,
                                    Check2,   Check3, Combo1,   Command4, Command1, Combo2};
    for (qsizetype i = 0; i + 1 < order.size(); ++i)
        QWidget::setTabOrder(order.at(i), order.at(i + 1));
}

void MainWindow::load(const QList<TemplateEntry> &templates)
{
    Co->setCurrentIndex(0);
    Co_Change(); // the tag names no label yet, so this changes nothing
    for (const TemplateEntry &entry : templates)
        Combo1->addItem(entry.model, entry.path);
    Combo1->setCurrentIndex(0);
    Combo2->setCurrentIndex(0);
    Combo2_Change();
}

void MainWindow::showCentered()
{
    if (const QScreen *screen = QGuiApplication::primaryScreen()) {
        const QRect available = screen->availableGeometry();
        move(available.center() - QPoint(kInnerWidth / 2, kInnerHeight / 2));
    }
    show();
}

QString MainWindow::selectedTemplate() const
{
    return Combo1->currentData().toString();
}

std::optional<int> MainWindow::styleTarget() const
{
    return TextStyle::styleTarget(Co->property("Tag").toString());
}

void MainWindow::showMessage(Dialogs::Icon icon, const QString &text)
{
    m_dialogs.message(this, icon, applicationTitle(), text);
}

void MainWindow::elementPressed(int index)
{
    const Element &e = m_model->element(index);
    if (patch::isImageIndex(index)) {
        Lw->setText(readoutText(e.width));
        Lh->setText(readoutText(e.height));
        return;
    }
    // The tag moves first: loading the controls below runs their change
    // handlers, which then write the label's own values back into it.
    Co->setProperty("Tag", QString::number(index));
    Check3->setChecked(e.italic);
    Check2->setChecked(e.bold);
    if (const auto entry = TextStyle::entryForPixelSize(e.pixelSize))
        Co->setCurrentIndex(*entry);
    Combo2->setCurrentIndex(e.alignment);
}

void MainWindow::targetPlaced(int index)
{
    const Element &e = m_model->element(index);
    const QString x = readoutText(e.left);
    const QString y = readoutText(e.top - patch::kTopBand);
    if (Lxx->text() != x)
        Lxx->setText(x);
    if (Lyy->text() != y)
        Lyy->setText(y);
}

void MainWindow::Check1_Click()
{
    m_model->setGuidesVisible(Check1->isChecked());
}

void MainWindow::Co_Change()
{
    const auto target = styleTarget();
    if (!target)
        return;
    if (const auto pixels = TextStyle::pixelSizeForEntry(Co->currentText()))
        m_model->setLabelPixelSize(*target, *pixels);
}

void MainWindow::Check2_Click()
{
    if (const auto target = styleTarget())
        m_model->setLabelBold(*target, Check2->isChecked());
}

void MainWindow::Check3_Click()
{
    if (const auto target = styleTarget())
        m_model->setLabelItalic(*target, Check3->isChecked());
}

void MainWindow::Combo2_Change()
{
    const auto target = styleTarget();
    const int code = Combo2->currentIndex();
    if (target && code >= 0 && code <= 2)
        m_model->setLabelAlignment(*target, code);
}

void MainWindow::Command2_Click()
{
    const QRgb old = Comm.Color.rgb();
    Comm.ShowColor();
    const QColor chosen = Comm.Color;
    if (chosen.rgb() == old)
        return;
    setFill(Label6, chosen);
    m_model->setTextColor(chosen);
}

void MainWindow::Com_Click()
{
    Comm.Filter = pictureFilter();
    if (!Comm.ShowOpen() || Comm.FileName.isEmpty())
        return;
    loadBackground(Comm.FileName);
}

bool MainWindow::loadBackground(const QString &path)
{
    QString error;
    const QImage picture = loadPicture(path, &error);
    if (picture.isNull()) {
        showMessage(Dialogs::Icon::Critical,
                    QStringLiteral("The picture %1 could not be loaded.\n\n%2\n\n"
                                   "The background stays as it was.")
                        .arg(QDir::toNativeSeparators(path), error));
        return false;
    }
    m_model->setBackground(picture);
    Comm.FileName.clear();
    return true;
}

void MainWindow::openPatchDialog()
{
    Comm.FileName.clear();
    Comm.Filter = QStringLiteral("Vkp patch|*.vkp");
    if (!Comm.ShowOpen() || Comm.FileName.isEmpty())
        return;
    openPatch(Comm.FileName);
}

bool MainWindow::openPatch(const QString &path)
{
    const QString model = Combo1->currentText();
    const auto fail = [&](const QString &why) {
        showMessage(Dialogs::Icon::Critical,
                    QStringLiteral("The patch %1 could not be opened with the template of %2.\n\n"
                                   "%3\n\nThe layout is unchanged.")
                        .arg(QDir::toNativeSeparators(path), model, why));
        return false;
    };
    patch::LayoutFileReader reader;
    const auto layout = reader.read(path, selectedTemplate());
    if (!layout) {
        QString why = reader.errorString();
        if (reader.error() == patch::LayoutFileReader::Error::Mismatch)
            why +=
                QStringLiteral(" Pick the phone model the patch was made for and open it again.");
        return fail(why);
    }
    patch::Layout merged = m_model->layout();
    patch::applyPatchLayout(*layout, merged);
    m_model->setLayout(merged);

    // A new layout: nothing is held, the read-outs and guide lines describe
    // no element, and the style controls show the style target as it is now.
    m_model->SelIndex = patch::NoElement;
    m_model->surfaceRelease();
    m_model->resetGuides();
    for (QLabel *readout : {Lxx, Lyy, Lw, Lh})
        readout->clear();
    if (const auto target = styleTarget())
        Combo2->setCurrentIndex(m_model->element(*target).alignment);
    return true;
}

QString MainWindow::dropTarget(const QMimeData *data, QPoint pos, QString *file) const
{
    if (!data->hasUrls() || data->urls().size() != 1 || !data->urls().first().isLocalFile())
        return {};
    *file = data->urls().first().toLocalFile();
    if (QFileInfo(*file).suffix().compare(QLatin1String("vkp"), Qt::CaseInsensitive) == 0)
        return QStringLiteral("patch");
    if (Picture1->geometry().contains(pos))
        return QStringLiteral("picture");
    return {};
}

void MainWindow::dragEnterEvent(QDragEnterEvent *event)
{
    QString file;
    if (!dropTarget(event->mimeData(), event->position().toPoint(), &file).isEmpty())
        event->acceptProposedAction();
}

void MainWindow::dragMoveEvent(QDragMoveEvent *event)
{
    QString file;
    if (dropTarget(event->mimeData(), event->position().toPoint(), &file).isEmpty())
        event->ignore();
    else
        event->acceptProposedAction();
}

void MainWindow::dropEvent(QDropEvent *event)
{
    QString file;
    const QString target = dropTarget(event->mimeData(), event->position().toPoint(), &file);
    if (target.isEmpty()) {
        event->ignore();
        return;
    }
    event->acceptProposedAction();
    if (target == QLatin1String("patch"))
        openPatch(file);
    else
        loadBackground(file);
}

void MainWindow::Command3_Click()
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
    // The read-outs follow only when they show the cover's width.
    const auto shown = readoutValue(Lw->text(), locale);
    if (shown && *shown == m_model->coverWidth()) {
        Lw->setText(text);
        Lh->setText(text);
    }
    m_model->setCoverSize(*size);
}

void MainWindow::Command4_Click()
{
    showMessage(Dialogs::Icon::Information, creditsText());
}

void MainWindow::GenerateRun()
{
    Comm.FileName.clear();
    Comm.Filter = QStringLiteral("Vkp patch|*.vkp");
    if (!Comm.ShowSave() || Comm.FileName.isEmpty())
        return;
    const QString patchPath = Comm.FileName;
    const QString templatePath = selectedTemplate();
    const QString shownTemplate = QDir::toNativeSeparators(templatePath);

    // One pass over the template checks every line while the patch goes to
    // a temporary file; the target is replaced only when all is well.
    patch::PatchFileWriter writer(patchPath, *m_model, m_model->SelIndex);
    if (!writer.run(templatePath)) {
        showMessage(Dialogs::Icon::Critical,
                    QStringLiteral("The template of %1 could not be read:\n%2\n\n%3.\n\n"
                                   "No patch was written.")
                        .arg(Combo1->currentText(), shownTemplate, writer.templateError()));
        return;
    }
    const patch::TemplateCheck &check = writer.check();
    if (check.malformedCount() > 0) {
        QStringList lines;
        for (const patch::MalformedLine &bad : check.malformed()) {
            lines << QStringLiteral("line %1 (%2): %3")
                         .arg(bad.lineNumber)
                         .arg(QString::fromStdString(bad.placeholder),
                              QString::fromStdString(bad.what));
        }
        if (check.malformedCount() > check.malformed().size())
            lines << QStringLiteral("and %1 more")
                         .arg(check.malformedCount() - check.malformed().size());
        showMessage(Dialogs::Icon::Critical,
                    QStringLiteral("The template %1 has lines that cannot be turned into patch "
                                   "lines. A placeholder line needs the placeholder and address, "
                                   "a space, the old value and a \";\" before its comment.\n\n%2"
                                   "\n\nCorrect the template and generate again. No patch was "
                                   "written.")
                        .arg(shownTemplate, lines.join(QLatin1Char('\n'))));
        return;
    }
    if (const auto width = check.badCoverWidth()) {
        showMessage(Dialogs::Icon::Critical,
                    QStringLiteral("The album cover is %1 pixels wide, but the patch can carry a "
                                   "cover width only from 0 to 255 pixels.\n\nUse \"Cover Size\" "
                                   "to set a width in that range and generate again. No patch was "
                                   "written.")
                        .arg(*width));
        return;
    }
    const auto writeFailed = [&] {
        showMessage(Dialogs::Icon::Critical,
                    QStringLiteral("The patch could not be written to\n%1\n\n%2.\n\n"
                                   "Any file that was there is unchanged.")
                        .arg(QDir::toNativeSeparators(patchPath), writer.writeError()));
    };
    if (!writer.writeError().isEmpty()) {
        writeFailed();
        return;
    }
    if (!check.outOfRange().empty()) {
        QStringList lines;
        for (const patch::OutOfRangeValue &value : check.outOfRange())
            lines << QString::fromStdString(patch::describe(value));
        const bool write = m_dialogs.question(
            this, applicationTitle(),
            QStringLiteral("These positions do not fit in the byte the patch has for them. "
                           "The patch would carry only their low 8 bits, which puts the "
                           "elements somewhere else on the phone:\n\n%1\n\nWrite the patch "
                           "anyway?")
                .arg(lines.join(QLatin1Char('\n'))));
        if (!write)
            return;
    }
    if (!writer.commit()) {
        writeFailed();
        return;
    }
    m_model->SelIndex = writer.selIndex();
    showMessage(Dialogs::Icon::Information, QStringLiteral("Done"));
}

} // namespace jukora
