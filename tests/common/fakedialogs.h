#pragma once

#include "dialogs.h"

#include <QColor>
#include <QList>
#include <QStringList>

#include <functional>

namespace jukora::test {

/// Answers every dialog from a script and records what was asked.
class FakeDialogs : public Dialogs
{
public:
    struct Call
    {
        QString kind; ///< "save", "open", "color", "text", "message", "question"
        QString title = {};
        QString text = {};   ///< prompt, message or filter
        QString detail = {}; ///< the file name or colour handed in, or a box's details
        Icon icon = Icon::Information;
    };

    // Scripted answers, taken front first; an empty queue means "cancel".
    QStringList saveAnswers, openAnswers, textAnswers;
    QList<QColor> colorAnswers;
    QList<bool> questionAnswers;
    /// Runs when a message box is shown, for checks at that moment.
    std::function<void(const Call &)> onMessage;
    QList<Call> calls;

    QString saveFileName(QWidget *, const QString &filter, const QString &name) override
    {
        return answer(saveAnswers, {QStringLiteral("save"), {}, filter, name});
    }
    QString openFileName(QWidget *, const QString &filter, const QString &name) override
    {
        return answer(openAnswers, {QStringLiteral("open"), {}, filter, name});
    }
    QColor color(QWidget *, const QColor &initial) override
    {
        calls.append({QStringLiteral("color"), {}, {}, initial.name()});
        return colorAnswers.isEmpty() ? QColor() : colorAnswers.takeFirst();
    }
    QString text(QWidget *, const QString &title, const QString &prompt,
                 const QString &defaultText) override
    {
        return answer(textAnswers, {QStringLiteral("text"), title, prompt, defaultText});
    }
    void message(QWidget *, Icon icon, const QString &title, const QString &text,
                 const QString &details) override
    {
        calls.append({QStringLiteral("message"), title, text, details, icon});
        if (onMessage)
            onMessage(calls.last());
    }
    bool question(QWidget *, const QString &title, const QString &text) override
    {
        calls.append({QStringLiteral("question"), title, text});
        return !questionAnswers.isEmpty() && questionAnswers.takeFirst();
    }

    /// Progress reports so far; the one numbered `cancelAt` (from 1) cancels.
    int progressCalls = 0;
    int cancelAt = 0;
    bool progress(QWidget *, const QString &, qint64, qint64) override
    {
        return ++progressCalls != cancelAt;
    }

    QList<Call> callsOf(const QString &kind) const
    {
        QList<Call> result;
        for (const Call &call : calls) {
            if (call.kind == kind)
                result << call;
        }
        return result;
    }

private:
    QString answer(QStringList &answers, const Call &call)
    {
        calls.append(call);
        return answers.isEmpty() ? QString() : answers.takeFirst();
    }
};

} // namespace jukora::test
