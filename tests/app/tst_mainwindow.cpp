#include "startup.h"
#include "windowfixture.h"

#include <QAccessible>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPointer>
#include <QScreen>
#include <QStatusBar>
#include <QTextBrowser>
#include <QtTest>

#include <fcntl.h>
#include <unistd.h>

using namespace jukora;
using test::WindowFixture;

struct LayoutRequestCounter : QObject
{
    int count = 0;
    bool eventFilter(QObject *, QEvent *event) override
    {
        count += event->type() == QEvent::LayoutRequest;
        return false;
    }
};

class TestMainWindow : public QObject
{
    Q_OBJECT

private slots:
    void init()
    {
        f = std::make_unique<WindowFixture>();
        f->show();
    }
    void cleanup() { f.reset(); }
    void startUp_data()
    {
        QTest::addColumn<bool>("folder");
        QTest::addColumn<QByteArray>("templ"); // a file name in the folder, if any
        QTest::addColumn<QString>("says");     // a part of the one box shown; empty: none
        QTest::addColumn<bool>("opens");
        QTest::newRow("missing folder") << false << QByteArray() << "No phone template" << false;
        QTest::newRow("no template") << true << QByteArray() << "No phone template" << false;
        QTest::newRow("a template") << true << QByteArray("m.txt") << "" << true;
        QTest::newRow("only a name not in UTF-8")
            << true << QByteArray("Caf\xe9.txt") << "1 template file(s)" << false;
        QTest::newRow("and a good one")
            << true << QByteArray("Caf\xe9.txt|m.txt") << "not valid UTF-8" << true;
    }
    void startUp()
    {
        QFETCH(bool, folder);
        QFETCH(QByteArray, templ);
        QFETCH(QString, says);
        QFETCH(bool, opens);
        f.reset();
        QTemporaryDir dir;
        const QString db = dir.filePath(QStringLiteral("DB"));
        if (folder)
            QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("DB")));
        for (const QByteArray &name : templ.split('|')) // made byte for byte: Qt cannot name some
            if (!name.isEmpty())
                ::close(::creat(QFile::encodeName(db).append('/').append(name).constData(), 0600));
        test::FakeDialogs dialogs;
        const auto window = startEditor(dialogs, {db});
        QCOMPARE(bool(window), opens);
        QCOMPARE(dialogs.calls.size(), says.isEmpty() ? 0 : 1);
        if (!says.isEmpty())
            QVERIFY_CONTAINS(dialogs.calls.first().text, says);
        if (window) {
            // Shown centred on the screen, at its fixed size.
            window->showCentered();
            QVERIFY(QTest::qWaitForWindowExposed(window.get()));
            QCOMPARE(window->clientArea()->size(), QSize(358, 324));
            QCOMPARE(window->frameGeometry().center(),
                     window->screen()->availableGeometry().center());
            return;
        }
        const auto &call = dialogs.calls.first();
        QCOMPARE(call.icon, Dialogs::Icon::Critical);
        QVERIFY_CONTAINS(call.text, QDir::toNativeSeparators(db));
        QVERIFY(QApplication::topLevelWidgets().isEmpty());
    }
    void startState_data()
    {
        // What the controls show right after start: text, [x] checked, [ ]
        // not, a list's selection and then its entries.
        QTest::addColumn<QString>("controls");
        QTest::addColumn<QString>("shown");
        QTest::newRow("read-outs") << "xReadout yReadout widthReadout heightReadout"
                                   << "|||";
        QTest::newRow("captions") << "xCaption yCaption widthCaption heightCaption fontCaption "
                                     "alignCaption phoneCaption"
                                  << "X Pos:|Y Pos:|Width:|Height:|Font:|Align:|Phone:";
        QTest::newRow("buttons")
            << "coverSizeButton backgroundButton textColorButton creditsButton generateButton"
            << "Cover Size|Background Image|Text Color\n(preview)|\u00A9|Generate";
        QTest::newRow("checks") << "guidesCheck boldCheck italicCheck"
                                << "Coordinates [x]|Bold [x]|Italic [ ]";
        QTest::newRow("lists") << "fontSizeCombo alignCombo phoneCombo"
                               << "Standard: Standard Medium Small Big|Left: Left Right Center|"
                                  "Novo N3: Novo N3 Novo N5 orla X1";
    }
    void startState()
    {
        QFETCH(QString, controls);
        QFETCH(QString, shown);
        QStringList shows;
        for (const QString &name : controls.split(' ')) {
            QWidget *widget = f->child<QWidget>(qPrintable(name));
            QString text = widget->property("text").toString();
            if (auto *box = qobject_cast<QAbstractButton *>(widget); box && box->isCheckable())
                text += box->isChecked() ? " [x]" : " [ ]";
            if (auto *list = qobject_cast<QComboBox *>(widget)) {
                text = list->currentText() + ':';
                for (int i = 0; i < list->count(); ++i)
                    text += ' ' + list->itemText(i);
            }
            shows << text;
        }
        QCOMPARE(shows.join(u'|'), shown);
        // The window keeps its size.
        const QSize size = f->window->size();
        f->window->resize(size * 2);
        QCOMPARE(f->window->size(), size);
    }
    void everyElementByKeyboard()
    {
        QApplication::setActiveWindow(f->window.get());
        f->selectModel("Novo N3");
        PreviewView *view = f->view();
        // Until an element is held, the status bar says how to begin.
        // Until an element is held, the status bar says how to begin.
        auto *status = f->child<QWidget>("heldStatus");
        QCOMPARE(f->text("heldStatus"),
                 "Press or Tab to an element, then drag it or use the arrows.");
        QVERIFY(status->fontMetrics().horizontalAdvance(f->text("heldStatus")) <= status->width());
        test::tap(view, {5, 300}); // bare surface: the focus, nothing held
        QCOMPARE(QApplication::focusWidget(), view);
        const auto key = [&](int k, Qt::KeyboardModifiers m = {}) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key(k), m);
            return f->tool().lastPressed();
        };
        // Front to back, round again, and back with Shift+Tab.
        QList<int> forward, backward;
        for (int i = 0; i < 14; ++i)
            forward << key(Qt::Key_Tab);
        for (int i = 0; i < 14; ++i)
            backward.prepend(key(Qt::Key_Backtab, Qt::ShiftModifier));
        const QList<int> front = {4, 3, 5, 6, 10, 9, 13, 12, 11, 0, 2, 1, 7};
        QCOMPARE(forward, front + QList<int>{4});
        QCOMPARE(backward, QList<int>{7} + front.mid(0, 13));
        QCOMPARE(QApplication::focusWidget(), view);
        // A label held by keyboard is the style target; the held one is framed.
        while (key(Qt::Key_Tab) != patch::TitleLabel) {
        }
        QCOMPARE(f->styleTarget(), int(patch::TitleLabel));
        QVERIFY(view->focusFrame()->isVisible());
        QVERIFY(view->accessibleDescription().endsWith("Held: title at X 35, Y 181."));
        key(Qt::Key_Right);
        key(Qt::Key_Down, Qt::ShiftModifier);
        QCOMPARE(f->text("xReadout") + ',' + f->text("yReadout"), QStringLiteral("36,191"));
        QCOMPARE(view->verticalGuide()->x(), 36.0);
        QTemporaryDir dir;
        QVERIFY(f->generate(dir.filePath("p.vkp")).contains("1A316A: 5A32 2432;title x"));
        // Ctrl+Tab leaves at once, and Tab visits the controls in order.
        QApplication::setActiveWindow(f->window.get());
        view->setFocus(Qt::TabFocusReason);
        key(Qt::Key_Tab, Qt::ControlModifier);
        QStringList visited;
        for (int i = 0; i < 12; ++i, key(Qt::Key_Tab))
            visited << QApplication::focusWidget()->objectName();
        QCOMPARE(visited.join(' '), "guidesCheck coverSizeButton backgroundButton "
                                    "textColorButton fontSizeCombo boldCheck italicCheck "
                                    "phoneCombo creditsButton generateButton alignCombo preview");
        // Escape lets go, and the next Tab leaves.
        QCOMPARE(key(Qt::Key_Escape), int(patch::NoElement));
        QVERIFY(!view->focusFrame()->isVisible());
        key(Qt::Key_Tab);
        QVERIFY(QApplication::focusWidget() != view);
    }
    void accessibleNames()
    {
        for (QWidget *widget : f->window->findChildren<QWidget *>()) {
            if (widget->isVisible() && (widget->focusPolicy() & Qt::TabFocus) &&
                !widget->focusProxy()) {
                const QString name =
                    QAccessible::queryAccessibleInterface(widget)->text(QAccessible::Name);
                QVERIFY2(!name.isEmpty() && !name.contains(u'\n'),
                         widget->metaObject()->className());
            }
        }
    }

    void everyStepUndoneAndRedone()
    {
        test::WindowFixture w, other;
        QTemporaryDir dir;
        w.show();
        QApplication::setActiveWindow(w.window.get());
        QVERIFY(QTest::qWaitForWindowActive(w.window.get()));
        QUndoStack *stack = w.model().undoStack();
        const auto key = [&](int k, Qt::KeyboardModifiers m = Qt::ControlModifier) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key(k), m);
        };
        const QByteArray start = w.generate(dir.filePath("start.vkp"));
        other.model().setPosition(patch::PlayerLogo, 10, 40);
        other.generate(dir.filePath("other.vkp"));

        test::tap(w.view(), w.centreOf(patch::AlbumCover)); // a press without a move is no step
        QCOMPARE(stack->count(), 0);
        test::drag(w.view(), {17, 35}, {60, 80});
        for (int i = 0; i < 5; ++i)
            QTest::keyClick(w.view(), Qt::Key_Right);
        QCOMPARE(stack->count(), 2); // the drag, and the five nudges as one step
        test::tap(w.view(), w.centreOf(patch::TitleLabel));
        w.combo("alignCombo")->setCurrentIndex(2);
        w.dialogs.textAnswers << "120";
        w.window->onCoverSizeClicked();
        w.dialogs.colorAnswers << QColor(Qt::red);
        w.window->onTextColorClicked();
        const patch::Layout beforeReopen = w.model().layout();
        QVERIFY(w.window->openPatch(dir.filePath("other.vkp")));
        QCOMPARE(stack->count(), 6);
        const QByteArray end = w.generate(dir.filePath("end.vkp")); // Generate is no step
        QVERIFY(end != start);

        key(Qt::Key_Z); // the reopen
        QCOMPARE(w.model().layout().left, beforeReopen.left);
        QCOMPARE(w.tool().dragTarget(), int(patch::NoElement));
        key(Qt::Key_Z); // the colour
        key(Qt::Key_Z); // the cover size
        QCOMPARE(w.model().textColor(), QColor(192, 192, 192));
        QCOMPARE(w.child<QLabel>("textColorSwatch")->palette().color(QPalette::Window),
                 QColor(192, 192, 192));
        key(Qt::Key_Z); // the alignment: the controls show the title's own again
        QCOMPARE(w.combo("alignCombo")->currentText(), QStringLiteral("Left"));
        QCOMPARE(stack->count(), 6); // restoring the controls made no step of its own
        key(Qt::Key_Z);
        QCOMPARE(w.model().element(patch::AlbumCover).left, 50.f); // the nudges, at once
        key(Qt::Key_Z);
        QVERIFY(!stack->canUndo());
        QCOMPARE(w.generate(dir.filePath("a.vkp")), start);

        key(Qt::Key_Y);
        for (int i = 0; i < 5; ++i) {
            key(Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
            if (i == 1) // the alignment is back, and the controls show it
                QCOMPARE(w.combo("alignCombo")->currentText(), QStringLiteral("Center"));
        }
        QVERIFY(!stack->canRedo());
        QCOMPARE(w.generate(dir.filePath("b.vkp")), end);
    }

    void undoLeavesWhatItDidNotTouch()
    {
        QUndoStack *stack = f->model().undoStack();
        const auto shown = [&] {
            return QStringList{f->text("xReadout"),
                               f->text("yReadout"),
                               f->text("widthReadout"),
                               f->text("heightReadout"),
                               QString::number(f->tool().guideX()),
                               QString::number(f->tool().guideY())};
        };
        test::drag(f->view(), {17, 35}, {60, 80});
        const QStringList dragged{"50", "51", "150", "150", "50", "75"};
        QCOMPARE(shown(), dragged);
        test::tap(f->view(), f->centreOf(patch::TrackNumber)); // a label: no size of its own
        QCOMPARE(shown(), dragged);
        f->dialogs.colorAnswers << QColor(Qt::red);
        f->window->onTextColorClicked();
        stack->undo(); // the colour: the read-outs and guide lines stay
        QCOMPARE(shown(), dragged);
        stack->redo();
        QCOMPARE(shown(), dragged);
        stack->undo();
        stack->undo(); // the drag: they follow the cover back
        QCOMPARE(shown(), QStringList({"7", "6", "150", "150", "7", "30"}));
    }

    void phoneListFollowsTheFolders()
    {
        QTemporaryDir dir;
        const QString user = dir.filePath("user/DB"), system = dir.filePath("DB");
        QVERIFY(QDir(dir.path()).mkdir("DB"));
        test::writeFile(system + "/b.txt", "");
        test::FakeDialogs dialogs;
        const auto window = startEditor(dialogs, {user, system});
        auto *phones = window->findChild<QComboBox *>("phoneCombo");
        const auto listed = [&] {
            QStringList names;
            for (int i = 0; i < phones->count(); ++i)
                names << phones->itemText(i);
            return names.join(' ') + " / " + phones->currentText();
        };
        const Element &playTime = window->model().element(patch::PlayTime);
        test::tap(window->preview(), {playTime.left + 5, playTime.top + 5}); // its style stays
        QVERIFY(QDir().mkpath(user)); // the user's folder made while it runs
        test::writeFile(user + "/a.txt", "");
        QTRY_COMPARE(listed(), "a b / b");
        QCOMPARE(window->statusBar()->currentMessage(), "Added to the phone list: a.");
        QVERIFY(QFile::remove(system + "/b.txt")); // the selected one stays
        test::writeFile(system + "/c.txt", "");
        QTRY_COMPARE(listed(), "a b c / b");
        QCOMPARE(window->statusBar()->currentMessage(),
                 "Added to the phone list: c. The template of b is gone.");
        phones->setCurrentIndex(0);
        QVERIFY(QFile::remove(system + "/c.txt")); // now b goes too
        QTRY_COMPARE(listed(), "a / a");
        QVERIFY(dialogs.calls.isEmpty() && window->model().undoStack()->count() == 0);
    }
    void closeAsksOnlyForWhatAPatchKeeps()
    {
        // Closing asks, and the title marks a change, only for what a patch keeps.
        const std::pair<std::function<void(PreviewModel &)>, bool> changes[] = {
            {[](PreviewModel &m) { m.setTextColor(Qt::red); }, false},
            {[](PreviewModel &m) { m.setBackground(QImage(8, 8, QImage::Format_RGB32)); }, false},
            {[](PreviewModel &m) {
                 m.setLabelStyle(12, {16, false, false, 0});
             },
             false},
            {[](PreviewModel &m) {
                 m.setLabelStyle(12, {13, true, false, 1});
             },
             true},
            {[](PreviewModel &m) { m.setCoverSize(99); }, true},
            {[](PreviewModel &m) { m.setPosition(7, 8, 30); }, true}};
        for (const auto &[change, asks] : changes) {
            WindowFixture w;
            const PreviewModel::State before = w.model().state();
            change(w.model());
            w.model().commit(QStringLiteral("change"), before);
            QCOMPARE(w.window->isWindowModified(), asks);
            w.dialogs.choiceAnswers << 2; // Cancel
            QCOMPARE(w.window->close(), !asks);
            w.model().undoStack()->undo(); // and back: nothing to ask
            QVERIFY(w.window->close());
        }
    }
    void helpPagesAreWindows_data()
    {
        QTest::addColumn<QString>("page");
        QTest::addColumn<int>("key"); // that closes it
        QTest::newRow("keyboard, Escape") << "keyboardHelp" << int(Qt::Key_Escape);
        QTest::newRow("guide, Ctrl+W") << "templateGuide" << (Qt::CTRL | Qt::Key_W).toCombined();
    }
    void helpPagesAreWindows()
    {
        QFETCH(QString, page);
        QFETCH(int, key);
        const auto open = [&] {
            QApplication::setActiveWindow(f->window.get());
            if (page == "keyboardHelp")
                QTest::keyClick(f->window.get(), Qt::Key_F1);
            else
                f->window->showTemplateGuide();
            return f->window->findChild<QTextBrowser *>(page);
        };
        QPointer<QTextBrowser> help = open();
        QVERIFY(help && help->isVisible() && help->isWindow());
        QCOMPARE(help->windowModality(), Qt::NonModal);
        QVERIFY(f->window->screen()->availableGeometry().size().boundedTo(help->size()) ==
                help->size());
        QCOMPARE(open(), help.data()); // asked again: the same window
        QApplication::setActiveWindow(help);
        QVERIFY(QTest::qWaitForWindowActive(help));
        QTest::keySequence(help, QKeySequence(QKeyCombination::fromCombined(key)));
        QTRY_VERIFY(!help); // closed, and deleted
        help = open();
        QVERIFY(f->window->close()); // nothing changed: no question
        QVERIFY(!help->isVisible()); // so nothing keeps the program running
    }
    void about()
    {
        f->window->showAbout();
        const QString text = f->messages().value(0).text;
        for (const char *part : {"Jukora Patch Editor " JUKORA_VERSION, "GPL-3.0-or-later"})
            QVERIFY_CONTAINS(text, part);
        QVERIFY_CONTAINS(text, test::sourceDir() + "/docs");
    }
    void menusAndClosing()
    {
        QMainWindow *window = f->window.get();
        QStringList shortcuts;
        for (QAction *action : window->findChildren<QAction *>())
            shortcuts << action->shortcut().toString();
        for (const char *key : {"Ctrl+O", "Ctrl+G", "Ctrl+Q", "Ctrl+Z", "F1"})
            QVERIFY2(shortcuts.contains(QString::fromLatin1(key)), key);
        QMenu *edit = nullptr; // the menu the user sees as Edit
        for (QAction *menu : window->menuBar()->actions())
            edit = menu->text() == QStringLiteral("&Edit") ? menu->menu() : edit;
        QVERIFY(edit);
        // The status line follows every move without laying the window out anew.
        LayoutRequestCounter layouts;
        window->statusBar()->installEventFilter(&layouts);
        test::drag(f->view(), {17, 35}, {60, 80});
        QCoreApplication::sendPostedEvents();
        QCOMPARE(layouts.count, 0);
        QCOMPARE(edit->actions().first()->text(), QStringLiteral("&Undo Move"));
        QVERIFY(window->isWindowModified());
        QVERIFY(
            f->text("heldStatus").contains(QStringLiteral("Album cover at X 50, Y 51, 150 x 150")));
        // Closing a changed layout asks: Cancel or a cancelled Generate keeps
        // the window; a Generate that writes, or Close without a patch, closes.
        f->dialogs.choiceAnswers << 2 << 0 << 0 << 1;
        QVERIFY(!window->close());
        QVERIFY(!window->close()); // the Save dialog cancelled
        QTemporaryDir dir;
        f->dialogs.saveAnswers << dir.filePath("p.vkp");
        QVERIFY(window->close());
        QVERIFY(!window->isWindowModified());
        QVERIFY(window->statusBar()->currentMessage().contains(dir.filePath("p.vkp")));
        window->show();
        test::drag(f->view(), {60, 80}, {70, 90});
        QVERIFY(window->close());
        QCOMPARE(f->dialogs.callsOf("choice").size(), 4);
    }

private:
    std::unique_ptr<WindowFixture> f;
};

QTEST_MAIN(TestMainWindow)
#include "tst_mainwindow.moc"
