#include "windowfixture.h"

#include <QtTest>

using namespace jukora;

class TestUndo : public QObject
{
    Q_OBJECT

private slots:
    void everyStepUndoneAndRedone()
    {
        test::WindowFixture f, other;
        f.show();
        QApplication::setActiveWindow(f.window.get());
        QVERIFY(QTest::qWaitForWindowActive(f.window.get()));
        QUndoStack *stack = f.model().undoStack();
        const auto key = [&](int k, Qt::KeyboardModifiers m = Qt::ControlModifier) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key(k), m);
        };
        const QByteArray start = f.generate(m_dir.filePath("start.vkp"));
        other.model().setPosition(patch::PlayerLogo, 10, 40);
        other.generate(m_dir.filePath("other.vkp"));

        test::tap(f.view(), f.centreOf(patch::AlbumCover)); // a press without a move is no step
        QCOMPARE(stack->count(), 0);
        test::drag(f.view(), {17, 35}, {60, 80});
        for (int i = 0; i < 5; ++i)
            QTest::keyClick(f.view(), Qt::Key_Right);
        QCOMPARE(stack->count(), 2); // the drag, and the five nudges as one step
        test::tap(f.view(), f.centreOf(patch::TitleLabel));
        f.combo("Combo2")->setCurrentIndex(2);
        f.dialogs.textAnswers << "120";
        f.window->Command3_Click();
        f.dialogs.colorAnswers << QColor(Qt::red);
        f.window->Command2_Click();
        const patch::Layout beforeReopen = f.model().layout();
        QVERIFY(f.window->openPatch(m_dir.filePath("other.vkp")));
        QCOMPARE(stack->count(), 6);
        const QByteArray end = f.generate(m_dir.filePath("end.vkp")); // Generate is no step
        QVERIFY(end != start);

        key(Qt::Key_Z); // the reopen
        QCOMPARE(f.model().layout().left, beforeReopen.left);
        QCOMPARE(f.tool().selIndex(), std::int16_t(patch::NoElement));
        key(Qt::Key_Z); // the colour
        key(Qt::Key_Z); // the cover size
        QCOMPARE(f.model().textColor(), QColor(192, 192, 192));
        QCOMPARE(f.child<QLabel>("Label6")->palette().color(QPalette::Window),
                 QColor(192, 192, 192));
        key(Qt::Key_Z); // the alignment: the controls show the title's own again
        QCOMPARE(f.combo("Combo2")->currentText(), QStringLiteral("Left"));
        QCOMPARE(stack->count(), 6); // restoring the controls made no step of its own
        key(Qt::Key_Z);
        QCOMPARE(f.model().element(patch::AlbumCover).left, 50.f); // the nudges, at once
        key(Qt::Key_Z);
        QVERIFY(!stack->canUndo());
        QCOMPARE(f.generate(m_dir.filePath("a.vkp")), start);

        key(Qt::Key_Y);
        for (int i = 0; i < 5; ++i) {
            key(Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
            if (i == 1) // the alignment is back, and the controls show it
                QCOMPARE(f.combo("Combo2")->currentText(), QStringLiteral("Center"));
        }
        QVERIFY(!stack->canRedo());
        QCOMPARE(f.generate(m_dir.filePath("b.vkp")), end);

        // A new change after an undo drops what could have been redone.
        key(Qt::Key_Z);
        f.model().setTextColor(Qt::blue);
        f.combo("Combo2")->setCurrentIndex(1);
        QVERIFY(!stack->canRedo());
    }

private:
    QTemporaryDir m_dir;
};

QTEST_MAIN(TestUndo)
#include "tst_undo.moc"
