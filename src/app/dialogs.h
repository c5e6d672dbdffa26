#pragma once

#include <QColor>
#include <QString>
#include <QStringList>

#include <memory>

class QProgressDialog;

class QWidget;

namespace jukora {

/// The application title that message boxes carry.
QString applicationTitle();

/// Every dialog and message box of the program goes through this, so that
/// tests can answer them without a person.
class Dialogs
{
public:
    enum class Icon { Information, Warning, Critical };

    virtual ~Dialogs() = default;

    /// Filters are in Qt's own syntax: "Description (*.a *.b)", several
    /// joined by ";;". Both return the chosen path, or empty when cancelled.
    virtual QString saveFileName(QWidget *parent, const QString &filter,
                                 const QString &fileName) = 0;
    virtual QString openFileName(QWidget *parent, const QString &filter,
                                 const QString &fileName) = 0;
    /// The chosen colour, or an invalid colour when cancelled.
    virtual QColor color(QWidget *parent, const QColor &initial) = 0;
    /// The confirmed text, or empty when cancelled.
    virtual QString text(QWidget *parent, const QString &title, const QString &prompt,
                         const QString &defaultText) = 0;
    /// `details`, when given, go in a part the user can expand, scroll and
    /// copy, so that a long list never makes the box taller than the screen.
    virtual void message(QWidget *parent, Icon icon, const QString &title, const QString &text,
                         const QString &details = {}) = 0;
    /// A Yes/No question; true for Yes. Enter gives No unless `yesByDefault`.
    virtual bool question(QWidget *parent, const QString &title, const QString &text,
                          bool yesByDefault = false) = 0;
    /// A question with its own answers, the last of them the one that
    /// cancels (Escape gives it too): the index of the one chosen.
    virtual int choice(QWidget *parent, const QString &title, const QString &text,
                       const QStringList &answers) = 0;
    /// Progress of a long job, `done` of `total`, with a Cancel button; it
    /// shows only once the job has run for about half a second. False once
    /// the user has cancelled. A call with `done` equal to `total` ends it.
    virtual bool progress(QWidget *parent, const QString &label, qint64 done, qint64 total) = 0;
};

/// A message box's text and details.
struct BoxText
{
    QString text;
    QString details;
};
/// A box never grows taller than the screen: a text longer than
/// kMaxBoxLines keeps its start, and the whole of it goes to the details,
/// which scroll.
inline constexpr int kMaxBoxLines = 24;
BoxText fitOnScreen(const QString &text, const QString &details);

/// The real dialogs, Qt's own widgets.
class QtDialogs : public Dialogs
{
public:
    QString saveFileName(QWidget *parent, const QString &filter, const QString &fileName) override;
    QString openFileName(QWidget *parent, const QString &filter, const QString &fileName) override;
    QColor color(QWidget *parent, const QColor &initial) override;
    QString text(QWidget *parent, const QString &title, const QString &prompt,
                 const QString &defaultText) override;
    void message(QWidget *parent, Icon icon, const QString &title, const QString &text,
                 const QString &details = {}) override;
    bool question(QWidget *parent, const QString &title, const QString &text,
                  bool yesByDefault = false) override;
    int choice(QWidget *parent, const QString &title, const QString &text,
               const QStringList &answers) override;
    bool progress(QWidget *parent, const QString &label, qint64 done, qint64 total) override;
    QtDialogs();
    ~QtDialogs() override;

private:
    std::unique_ptr<QProgressDialog> m_progress;
};

} // namespace jukora
