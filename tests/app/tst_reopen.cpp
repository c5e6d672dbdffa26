#include "windowfixture.h"

#include <QMimeData>
#include <QStatusBar>
#include <QtTest>

using namespace jukora;
using test::WindowFixture;

class TestReopen : public QObject
{
    Q_OBJECT

private slots:
    void roundTrip_data()
    {
        QTest::addColumn<QString>("model");
        QTest::addColumn<int>("seed");
        for (const char *model : {"Novo N3", "Novo N5", "orla X1"}) {
            for (int seed : {1, 2, 3})
                QTest::newRow(QByteArray(model).append(" #").append(QByteArray::number(seed)))
                    << QString::fromLatin1(model) << seed;
        }
        // One address patched by two rules: both elements come back.
        QTest::newRow("two rules on one address") << "m" << 4;
    }
    void roundTrip()
    {
        QFETCH(QString, model);
        QFETCH(int, seed);
        const QString db = model == "m" ? m_folder.db() : test::sourceDir() + "/DB";
        WindowFixture a(db), b(db);
        a.selectModel(model);
        a.randomLayout(seed);
        const QByteArray written = a.generate(m_folder.file("first.vkp"));
        QVERIFY(written.size() >= 30);
        b.selectModel(model);
        QVERIFY(b.window->openPatch(m_folder.file("first.vkp")));
        QVERIFY(b.messages().isEmpty());
        if (model == "m") { // bass and shuffle X share the address
            QCOMPARE(b.model().layout().left[patch::BassIndicator],
                     a.model().layout().left[patch::BassIndicator]);
            QCOMPARE(b.model().layout().left[patch::ShuffleIndicator],
                     a.model().layout().left[patch::ShuffleIndicator]);
        }
        QCOMPARE(b.generate(m_folder.file("second.vkp")), written);
        QCOMPARE(b.tool().dragTarget(), a.tool().dragTarget());
    }
    void ctrlOAndDrops()
    {
        WindowFixture a, b;
        a.model().setPosition(patch::PlayerLogo, 10, 40);
        a.generate(m_folder.file("a.vkp"));
        QImage(64, 48, QImage::Format_RGB32).save(m_folder.file("wall.png"));
        test::writeFile(m_folder.file("broken.png"), "not a picture");
        b.show();
        QApplication::setActiveWindow(b.window.get());
        QVERIFY(QTest::qWaitForWindowActive(b.window.get()));
        QTest::keyClick(b.window.get(), Qt::Key_O, Qt::ControlModifier); // cancelled
        b.dialogs.openAnswers << m_folder.file("a.vkp");
        QTest::keyClick(b.window.get(), Qt::Key_O, Qt::ControlModifier);
        QCOMPARE(b.dialogs.callsOf("open").first().text,
                 QStringLiteral("Vkp patch (*.vkp);;All files (*)"));
        QCOMPARE(b.model().element(patch::PlayerLogo).left, 10.f);

        const auto drop = [&](QPoint at, const char *file) {
            QMimeData data;
            data.setUrls({QUrl::fromEncoded(
                QUrl::fromLocalFile(m_folder.dir.path() + "/").toEncoded() + file)});
            QDragEnterEvent enter(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
            QApplication::sendEvent(b.window.get(), &enter);
            QDropEvent drop(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
            QApplication::sendEvent(b.window.get(), &drop);
        };
        b.model().setPosition(patch::PlayerLogo, 0, 100);
        drop({300, 150}, "wall.png"); // on the controls: not a background
        QVERIFY(b.model().background().isNull());
        drop({100, 150}, "wall.png"); // on the preview
        QCOMPARE(b.model().background().size(), QSize(64, 48));
        drop({300, 150}, "a.vkp"); // a patch anywhere
        QCOMPARE(b.model().element(patch::PlayerLogo).left, 10.f);
        drop({100, 150}, "broken.png");
        drop({100, 150}, "caf%E9.png"); // a name that is not UTF-8
        // The same name given on the command line or by the file manager.
        QVERIFY(!b.window->openPatch(QString::fromUtf8("caf\xE9.vkp")));
        test::writeFile(m_folder.file("README.md"), "# Read me\n");
        drop({100, 150}, "README.md");
        QCOMPARE(b.messages().size(), 4);
        QVERIFY(b.messages().first().text.contains("broken.png"));
        QVERIFY(b.messages().at(1).text.contains("not valid UTF-8"));
        QVERIFY(b.messages().at(2).text.contains("not valid UTF-8"));
        QVERIFY(b.messages().at(3).text.contains("README.md is neither a patch nor a picture"));
        QCOMPARE(b.model().background().size(), QSize(64, 48));

        // A second picture dropped while the first is read is the one shown.
        QImage(32, 24, QImage::Format_RGB32).save(m_folder.file("later.png"));
        const int steps = b.model().undoStack()->count();
        QMetaObject::invokeMethod(
            b.window.get(),
            [&] {
                drop({100, 150}, "later.png");
            },
            Qt::QueuedConnection);
        drop({100, 150}, "wall.png");
        QCOMPARE(b.model().background().size(), QSize(32, 24));
        QCOMPARE(b.model().undoStack()->count(), steps + 1);
    }

    void patchOfAnotherModel_data()
    {
        // Model "a" is selected; "b" and "c" share an address, "d" has its own.
        QTest::addColumn<QByteArray>("patch");
        QTest::addColumn<bool>("yes");      // the answer to "switch?"
        QTest::addColumn<QString>("model"); // selected afterwards
        QTest::addColumn<float>("top");     // the cover's
        QTest::addColumn<QString>("says");  // a part of the one message, if any
        QTest::addColumn<bool>("named");    // on the command line: no question
        QTest::newRow("one fits, switched")
            << QByteArray("0D 00 1422;y\r\n") << true << "d" << 44.f << "" << false;
        QTest::newRow("named at start, one fits")
            << QByteArray("0D 00 1422;y\r\n") << false << "d" << 44.f << "" << true;
        QTest::newRow("one fits, declined")
            << QByteArray("0D 00 1422;y\r\n") << false << "a" << 30.f
            << "none of the patch's addresses is one that the template's placeholders patch.\n\n"
               "It fits the template of d"
            << false;
        QTest::newRow("several fit") << QByteArray("0B 00 2A21;x\r\n") << true << "a" << 30.f
                                     << "It fits the templates of b, c" << true;
        QTest::newRow("none fits") << QByteArray("0E 00 2A21;x\r\n") << true << "a" << 30.f
                                   << "Pick the phone model the patch was made for" << false;
    }
    void patchOfAnotherModel()
    {
        QFETCH(QByteArray, patch);
        QFETCH(bool, yes);
        QFETCH(QString, model);
        QFETCH(float, top);
        QFETCH(QString, says);
        QFETCH(bool, named);
        test::ProgramFolder folder{{"a", "*cx*0A 00 00;x\r\n"},
                                   {"b", "*cx*0B 00 00;x\r\n"},
                                   {"c", "*cx*0B 00 00;x\r\n"},
                                   {"d", "*cy*0D 00 00;y\r\n"}};
        WindowFixture f(folder.db());
        test::writeFile(folder.file("p.vkp"), patch);
        f.dialogs.questionAnswers << yes;
        f.window->openPatch(folder.file("p.vkp"), named ? Reopening::Named : Reopening::Chosen);
        QCOMPARE(f.combo("phoneCombo")->currentText(), model);
        QCOMPARE(f.model().element(patch::AlbumCover).top, top);
        QCOMPARE(f.messages().size(), says.isEmpty() ? 0 : 1);
        if (!says.isEmpty())
            QVERIFY_CONTAINS(f.messages().first().text, says);
        const auto asked = f.dialogs.callsOf("question");
        QCOMPARE(asked.size(), patch.startsWith("0D") && !named ? 1 : 0);
        for (const auto &question : asked) {
            QCOMPARE(question.text, "This patch was written for d. Switch to d and open it?");
            QCOMPARE(question.detail, "Yes"); // Enter switches
        }
    }
    void searchAnswersAndStops()
    {
        // While many templates are read, the window answers and Escape stops.
        QByteArray lines;
        for (int i = 0; i < 2000; ++i)
            lines += "*cx*0A 00 00;x\r\n";
        test::ProgramFolder folder;
        for (int i = 0; i < 100; ++i)
            test::writeFile(folder.templ(QString::number(i)), lines);
        test::writeFile(folder.file("p.vkp"), "0E 00 2A21;x\r\n");
        WindowFixture f(folder.db());
        QElapsedTimer clock;
        qint64 answered = -1;
        QMetaObject::invokeMethod(
            f.window.get(),
            [&] {
                if (f.window->statusBar()->currentMessage().startsWith("Opening"))
                    answered = clock.elapsed();
                QTest::keyClick(f.window.get(), Qt::Key_Escape);
            },
            Qt::QueuedConnection);
        clock.start();
        QVERIFY(!f.window->openPatch(folder.file("p.vkp")));
        QVERIFY(answered >= 0 && answered < 500);
        QVERIFY(f.messages().isEmpty());
        QVERIFY(f.window->statusBar()->currentMessage().startsWith("Search stopped"));
        // Closing the window stops the search too, and then closes it.
        f.show();
        QMetaObject::invokeMethod(f.window.get(), &QWidget::close, Qt::QueuedConnection);
        f.window->openPatch(folder.file("p.vkp"));
        QTRY_VERIFY(!f.window->isVisible());
    }

private:
    test::ProgramFolder m_folder{{{"m", "*ex*0A: 00 00 ;a\r\n*sx*0A: 00 00 ;b\r\n"}}};
};

QTEST_MAIN(TestReopen)
#include "tst_reopen.moc"
