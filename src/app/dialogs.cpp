#include "dialogs.h"

#include "identity.h"

#include <QColorDialog>
#include <QFileDialog>
#include <QInputDialog>
#include <QMessageBox>
#include <QProgressDialog>
#include <QPushButton>

namespace jukora {

QString applicationTitle()
{
    return QString::fromLatin1(kApplicationTitle);
}

namespace {

QString runFileDialog(QWidget *parent, QFileDialog::AcceptMode mode, const QString &title,
                      const QString &filter, const QString &fileName)
{
    QFileDialog dialog(parent, title);
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setOption(QFileDialog::HideNameFilterDetails);
    dialog.setAcceptMode(mode);
    dialog.setFileMode(mode == QFileDialog::AcceptSave ? QFileDialog::AnyFile
                                                       : QFileDialog::ExistingFile);
    dialog.setNameFilter(filter);
    if (!fileName.isEmpty())
        dialog.selectFile(fileName);
    if (dialog.exec() != QDialog::Accepted)
        return {};
    return dialog.selectedFiles().value(0);
}

} // namespace

QString QtDialogs::saveFileName(QWidget *parent, const QString &filter, const QString &fileName)
{
    return runFileDialog(parent, QFileDialog::AcceptSave, QStringLiteral("Save As"), filter,
                         fileName);
}

QString QtDialogs::openFileName(QWidget *parent, const QString &filter, const QString &fileName)
{
    return runFileDialog(parent, QFileDialog::AcceptOpen, QStringLiteral("Open"), filter, fileName);
}

QColor QtDialogs::color(QWidget *parent, const QColor &initial)
{
    return QColorDialog::getColor(initial, parent, QStringLiteral("Color"),
                                  QColorDialog::DontUseNativeDialog);
}

QString QtDialogs::text(QWidget *parent, const QString &title, const QString &prompt,
                        const QString &defaultText)
{
    bool ok = false;
    const QString text =
        QInputDialog::getText(parent, title, prompt, QLineEdit::Normal, defaultText, &ok);
    return ok ? text : QString();
}

BoxText fitOnScreen(const QString &text, const QString &details)
{
    const QStringList lines = text.split(QLatin1Char('\n'));
    if (lines.size() <= kMaxBoxLines)
        return {text, details};
    // The start stays in the box; the whole text goes first in the details.
    QStringList kept = lines.mid(0, kMaxBoxLines - 2);
    kept << QString()
         << QStringLiteral("(%1 more lines: see the details)").arg(lines.size() - kept.size() + 1);
    return {kept.join(QLatin1Char('\n')),
            details.isEmpty() ? text : text + QStringLiteral("\n\n") + details};
}

void QtDialogs::message(QWidget *parent, Icon icon, const QString &title, const QString &text,
                        const QString &details)
{
    const auto boxIcon = icon == Icon::Information ? QMessageBox::Information
                         : icon == Icon::Warning   ? QMessageBox::Warning
                                                   : QMessageBox::Critical;
    const BoxText shown = fitOnScreen(text, details);
    QMessageBox box(boxIcon, title, shown.text, QMessageBox::Ok, parent);
    box.setDetailedText(shown.details);
    box.exec();
}

QtDialogs::QtDialogs() = default;
QtDialogs::~QtDialogs() = default;

bool QtDialogs::progress(QWidget *parent, const QString &label, qint64 done, qint64 total)
{
    if (done >= total || total <= 0) {
        m_progress.reset();
        return true;
    }
    if (!m_progress) {
        m_progress =
            std::make_unique<QProgressDialog>(label, QStringLiteral("Cancel"), 0, 1000, parent);
        m_progress->setWindowTitle(applicationTitle());
        m_progress->setWindowModality(Qt::WindowModal);
        m_progress->setMinimumDuration(500);
        m_progress->setAutoReset(false);
        m_progress->setValue(0);
    }
    // Setting the value of a modal progress dialog lets the window repaint
    // and the Cancel button take its click.
    m_progress->setValue(static_cast<int>(done * 1000 / total));
    return !m_progress->wasCanceled();
}

int QtDialogs::choice(QWidget *parent, const QString &title, const QString &text,
                      const QStringList &answers)
{
    QMessageBox box(QMessageBox::Question, title, text, QMessageBox::NoButton, parent);
    QList<QAbstractButton *> buttons;
    for (qsizetype i = 0; i < answers.size(); ++i) {
        const bool last = i + 1 == answers.size();
        buttons << box.addButton(answers[i], last     ? QMessageBox::RejectRole
                                             : i == 0 ? QMessageBox::AcceptRole
                                                      : QMessageBox::DestructiveRole);
    }
    box.setDefaultButton(qobject_cast<QPushButton *>(buttons.first()));
    box.setEscapeButton(buttons.last());
    box.exec();
    const auto chosen = buttons.indexOf(box.clickedButton());
    return chosen < 0 ? int(answers.size()) - 1 : int(chosen);
}

bool QtDialogs::question(QWidget *parent, const QString &title, const QString &text,
                         bool yesByDefault)
{
    QMessageBox box(QMessageBox::Question, title, text, QMessageBox::Yes | QMessageBox::No, parent);
    box.setDefaultButton(yesByDefault ? QMessageBox::Yes : QMessageBox::No);
    return box.exec() == QMessageBox::Yes;
}

} // namespace jukora
