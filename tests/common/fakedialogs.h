#pragma once

#include "dialogs.h"

#include <QColor>
#include <QList>
#include <QStringList>

#include <algorithm>
#include <functional>
#include <iterator>

namespace jukora::test {

/// Answers every dialog from a script and records what was asked.
class FakeDialogs : public Dialogs
{
public:
    struct Call
    {
        QString kind; ///< "save", "open", "color", "text", "message", "question", "choice"
        QString title = {};
        QString text = {}; ///< prompt, message or filter
        /// The file name or colour handed in, a box's details, or the
        /// question's default answer ("Yes", "No").
        QString detail = {};
        Icon icon = Icon::Information;
    };

    // Scripted answers, taken front first; an empty queue means "cancel".
    QStringList saveAnswers, openAnswers, textAnswers;
    QList<QColor> colorAnswers;
    QList<bool> questionAnswers;
    QList<int> choiceAnswers;
    std::function<void(const Call &)> onMessage; ///< runs as a box is shown
    QList<Call> calls;
    int progressCalls = 0;
    int cancelAt = 0; ///< the progress report, counted from 1, that cancels

    QString saveFileName(QWidget *, const QString &filter, const QString &name) override
    {
        return take(saveAnswers, {QStringLiteral("save"), {}, filter, name});
    }
    QString openFileName(QWidget *, const QString &filter, const QString &name) override
    {
        return take(openAnswers, {QStringLiteral("open"), {}, filter, name});
    }
    QColor color(QWidget *, const QColor &initial) override
    {
        return take(colorAnswers, {QStringLiteral("color"), {}, {}, initial.name()});
    }
    QString text(QWidget *, const QString &title, const QString &prompt,
                 const QString &defaultText) override
    {
        return take(textAnswers, {QStringLiteral("text"), title, prompt, defaultText});
    }
    void message(QWidget *, Icon icon, const QString &title, const QString &text,
                 const QString &details) override
    {
        calls.append({QStringLiteral("message"), title, text, details, icon});
        if (onMessage)
            onMessage(calls.last());
    }
    bool question(QWidget *, const QString &title, const QString &text, bool yes) override
    {
        return take(questionAnswers, {QStringLiteral("question"), title, text,
                                      yes ? QStringLiteral("Yes") : QStringLiteral("No")});
    }
    int choice(QWidget *, const QString &title, const QString &text, const QStringList &) override
    {
        return take(choiceAnswers, {QStringLiteral("choice"), title, text});
    }
    bool progress(QWidget *, const QString &, qint64, qint64) override
    {
        return ++progressCalls != cancelAt;
    }

    QList<Call> callsOf(const QString &kind) const
    {
        QList<Call> result;
        std::copy_if(calls.begin(), calls.end(), std::back_inserter(result),
                     [&](const Call &call) { return call.kind == kind; });
        return result;
    }

private:
    template <typename T> T take(QList<T> &answers, const Call &call)
    {
        calls.append(call);
        return answers.isEmpty() ? T() : answers.takeFirst();
    }
};

} // namespace jukora::test
