#pragma once

#include "dialogs.h"

#include <QColor>
#include <QList>
#include <QString>
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
        QString title;
        QString text;   ///< prompt, message or filter
        QString detail; ///< the file name or colour handed in
        Icon icon = Icon::Information;
    };

    // Scripted answers, taken front first; an empty queue means "cancel".
    QStringList saveAnswers;
    QStringList openAnswers;
    QList<QColor> colorAnswers;
    QStringList textAnswers;
    QList<bool> questionAnswers;
    /// Runs when a message box is shown, for checks at that moment.
    std::function<void(const Call &)> onMessage;

    QList<Call> calls;

    QString saveFileName(QWidget *, const QString &filter, const QString &fileName) override
    {
        calls.append({QStringLiteral("save"), {}, filter, fileName, Icon::Information});
        return saveAnswers.isEmpty() ? QString() : saveAnswers.takeFirst();
    }
    QString openFileName(QWidget *, const QString &filter, const QString &fileName) override
    {
        calls.append({QStringLiteral("open"), {}, filter, fileName, Icon::Information});
        return openAnswers.isEmpty() ? QString() : openAnswers.takeFirst();
    }
    QColor color(QWidget *, const QColor &initial) override
    {
        calls.append({QStringLiteral("color"), {}, {}, initial.name(), Icon::Information});
        return colorAnswers.isEmpty() ? QColor() : colorAnswers.takeFirst();
    }
    QString text(QWidget *, const QString &title, const QString &prompt,
                 const QString &defaultText) override
    {
        calls.append({QStringLiteral("text"), title, prompt, defaultText, Icon::Information});
        return textAnswers.isEmpty() ? QString() : textAnswers.takeFirst();
    }
    void message(QWidget *, Icon icon, const QString &title, const QString &text) override
    {
        calls.append({QStringLiteral("message"), title, text, {}, icon});
        if (onMessage)
            onMessage(calls.last());
    }
    bool question(QWidget *, const QString &title, const QString &text) override
    {
        calls.append({QStringLiteral("question"), title, text, {}, Icon::Information});
        return !questionAnswers.isEmpty() && questionAnswers.takeFirst();
    }

    QList<Call> callsOf(const QString &kind) const
    {
        QList<Call> result;
        for (const Call &call : calls) {
            if (call.kind == kind)
                result.append(call);
        }
        return result;
    }
};

} // namespace jukora::test
