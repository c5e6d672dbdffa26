#pragma once

#include "dragtool.h"
#include "fakedialogs.h"
#include "mainwindow.h"
#include "previewitems.h"
#include "previewmodel.h"
#include "previewview.h"
#include "templatelist.h"
#include "testutil.h"

#include <QCheckBox>
#include <QComboBox>
#include <QPushButton>
#include <QRandomGenerator>

#include <memory>

namespace jukora::test {

/// A fresh window over a template folder (the sample DB unless told),
/// with scripted dialogs.
struct WindowFixture
{
    FakeDialogs dialogs;
    std::unique_ptr<MainWindow> window;

    explicit WindowFixture(const QString &folder = sourceDir() + QStringLiteral("/DB"))
    {
        QString error;
        window = std::make_unique<MainWindow>(
            listTemplates({folder}, &error).value_or(QList<TemplateEntry>()), dialogs);
    }

    PreviewModel &model() { return window->model(); }
    PreviewView *view() { return window->preview(); }
    DragTool &tool() { return window->preview()->tool(); }

    template <typename T> T *child(const char *name)
    {
        return window->findChild<T *>(QString::fromLatin1(name));
    }
    QString text(const char *label) { return child<QWidget>(label)->property("text").toString(); }
    QCheckBox *check(const char *name) { return child<QCheckBox>(name); }
    QComboBox *combo(const char *name) { return child<QComboBox>(name); }
    int styleTarget() { return window->styleTarget(); }

    void show()
    {
        window->showCentered();
        QVERIFY(QTest::qWaitForWindowExposed(window.get()));
    }

    void selectModel(const QString &name)
    {
        combo("phoneCombo")->setCurrentIndex(combo("phoneCombo")->findText(name));
        QCOMPARE(combo("phoneCombo")->currentText(), name);
    }

    /// Generate through the scripted Save dialog, answering `yes` to any
    /// question; returns what the file holds afterwards.
    QByteArray generate(const QString &path, bool yes = true)
    {
        dialogs.saveAnswers << path;
        dialogs.questionAnswers << yes;
        window->onGenerateClicked();
        return readFile(path);
    }

    /// Message boxes shown so far.
    QList<FakeDialogs::Call> messages() const { return dialogs.callsOf(QStringLiteral("message")); }

    /// A random layout that stays on screen: every value the patch carries
    /// fits a byte, the labels' right edges too.
    void randomLayout(int seed)
    {
        QRandomGenerator random(static_cast<quint32>(seed));
        for (int i : {0, 1, 2, 3, 4, 5, 6, 7, 9, 10, 11, 12, 13}) {
            const int maxLeft = (i == 9 || i == 10) ? 175 : 255;
            model().setPosition(i, float(random.bounded(maxLeft + 1)),
                                float(24 + random.bounded(256)));
            if (i > 8) {
                LabelStyle style = model().element(i).style;
                style.alignment = random.bounded(3);
                model().setLabelStyle(i, style);
            }
        }
        model().setCoverSize(float(random.bounded(256)));
    }

    /// The centre of an element on the preview.
    QPointF centreOf(int index)
    {
        const Element &e = model().element(index);
        return {e.left + e.width / 2, e.top + e.height / 2};
    }
};

} // namespace jukora::test
