#pragma once

#include "fakedialogs.h"
#include "mainwindow.h"
#include "previewmodel.h"
#include "previewview.h"
#include "templatelist.h"
#include "testutil.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QPushButton>

#include <memory>

namespace jukora::test {

/// A fresh window over the sample templates, with scripted dialogs.
struct WindowFixture
{
    FakeDialogs dialogs;
    std::unique_ptr<MainWindow> window;

    explicit WindowFixture(const QString &folder = sourceDir() + QStringLiteral("/DB"))
    {
        const TemplateListing listing = listTemplates(folder);
        window = std::make_unique<MainWindow>(listing.entries, dialogs);
    }

    PreviewModel &model() { return window->model(); }
    PreviewView *view() { return window->preview(); }

    template <typename T> T *child(const char *name)
    {
        return window->findChild<T *>(QString::fromLatin1(name));
    }
    QLabel *label(const char *name) { return child<QLabel>(name); }
    QCheckBox *check(const char *name) { return child<QCheckBox>(name); }
    QComboBox *combo(const char *name) { return child<QComboBox>(name); }
    QPushButton *button(const char *name) { return child<QPushButton>(name); }
    QString tag() { return combo("Co")->property("Tag").toString(); }

    /// The centre of an element on the preview.
    QPointF centreOf(int index)
    {
        const Element &e = model().element(index);
        return {e.left + e.width / 2, e.top + e.height / 2};
    }
};

} // namespace jukora::test
