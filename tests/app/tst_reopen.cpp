#include "layoutreader.h"
#include "windowfixture.h"

#include <QMimeData>
#include <QTemporaryDir>
#include <QtTest>

using namespace jukora;
using test::WindowFixture;

namespace {

constexpr int kElements[] = {0, 1, 2, 3, 4, 5, 6, 7, 9, 10, 11, 12, 13};

struct Snapshot
{
    QList<float> values;
    bool operator==(const Snapshot &) const = default;
};

Snapshot snapshot(PreviewModel &model)
{
    Snapshot s;
    for (int i : kElements) {
        const Element &e = model.element(i);
        s.values << e.left << e.top << e.width << e.height << float(e.alignment);
    }
    return s;
}

void drop(QWidget *window, QPoint at, const QString &file)
{
    QMimeData data;
    data.setUrls({QUrl::fromLocalFile(file)});
    QDragEnterEvent enter(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(window, &enter);
    QDropEvent dropEvent(QPointF(at), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(window, &dropEvent);
}

} // namespace

class TestReopen : public QObject
{
    Q_OBJECT

private slots:
    void roundTrip_data();
    void roundTrip();
    void otherTemplateRefused();
    void brokenValuesRefused_data();
    void brokenValuesRefused();
    void partialPatchMovesOnlyWhatItCarries();
    void hugeFileRefused();
    void rightEdgeWithoutX();
    void ctrlOOpensThroughTheDialog();
    void droppedPatchAndPicture();

private:
    QTemporaryDir m_dir;
};

void TestReopen::roundTrip_data()
{
    QTest::addColumn<QString>("model");
    QTest::addColumn<int>("seed");
    for (const char *model : {"Novo N3", "Novo N5", "orla X1"}) {
        for (int seed : {1, 2, 3})
            QTest::addRow("%s #%d", model, seed) << QString::fromLatin1(model) << seed;
    }
}

void TestReopen::roundTrip()
{
    QFETCH(QString, model);
    QFETCH(int, seed);
    WindowFixture a;
    a.selectModel(model);
    a.randomLayout(seed);
    const QString first = m_dir.filePath(QStringLiteral("first.vkp"));
    const QByteArray written = a.generate(first);
    QVERIFY(written.size() > 100);

    WindowFixture b;
    b.selectModel(model);
    QVERIFY(b.window->openPatch(first));
    QVERIFY(b.dialogs.callsOf(QStringLiteral("message")).isEmpty());
    QCOMPARE(b.generate(m_dir.filePath(QStringLiteral("second.vkp"))), written);
    QCOMPARE(b.model().SelIndex, a.model().SelIndex);
}

void TestReopen::otherTemplateRefused()
{
    WindowFixture a;
    a.selectModel(QStringLiteral("Novo N3"));
    a.model().setPosition(7, 40, 60);
    const QString path = m_dir.filePath(QStringLiteral("n3.vkp"));
    a.generate(path);

    WindowFixture b;
    b.selectModel(QStringLiteral("orla X1"));
    b.model().setPosition(3, 100, 100);
    const Snapshot before = snapshot(b.model());
    QVERIFY(!b.window->openPatch(path));
    const auto messages = b.dialogs.callsOf(QStringLiteral("message"));
    QCOMPARE(messages.size(), 1);
    QCOMPARE(messages.first().icon, Dialogs::Icon::Critical);
    QVERIFY2(messages.first().text.contains(QStringLiteral("orla X1")),
             qPrintable(messages.first().text));
    QVERIFY(messages.first().text.contains(QStringLiteral("none of the patch's addresses")));
    QVERIFY(messages.first().text.contains(QStringLiteral("The layout is unchanged")));
    QVERIFY(snapshot(b.model()) == before);
}

void TestReopen::brokenValuesRefused_data()
{
    QTest::addColumn<QByteArray>("patch");
    QTest::addColumn<QString>("says");
    QTest::newRow("not hex") << QByteArray("A: 00 2A21;x\r\nB: 00 G122;y\r\n")
                             << "not a byte in hex";
    QTest::newRow("other suffix") << QByteArray("A: 00 2A21;x\r\nB: 00 1020;y\r\n")
                                  << "should end in \"22\"";
    QTest::newRow("alignment 07") << QByteArray("C: 00 07;a\r\n") << "no alignment";
    QTest::newRow("two values for one")
        << QByteArray("A: 00 2A21;x\r\nD: 00 2B21;x\r\n") << "another line";
    QTest::newRow("nothing matches") << QByteArray("Z: 00 2A21;x\r\n") << "none of the patch";
}

void TestReopen::brokenValuesRefused()
{
    QFETCH(QByteArray, patch);
    QFETCH(QString, says);
    QTemporaryDir dir;
    QDir(dir.path()).mkdir(QStringLiteral("DB"));
    test::writeFile(dir.filePath(QStringLiteral("DB/m.txt")),
                    "*cx*A: 00 00;x\r\n*cy*B: 00 00;y\r\n*ta*C: 00 00;a\r\n*cx*D: 00 00;x\r\n");
    WindowFixture f(dir.filePath(QStringLiteral("DB")));
    const Snapshot before = snapshot(f.model());
    const QString path = dir.filePath(QStringLiteral("p.vkp"));
    test::writeFile(path, patch);
    QVERIFY(!f.window->openPatch(path));
    const auto messages = f.dialogs.callsOf(QStringLiteral("message"));
    QCOMPARE(messages.size(), 1);
    QVERIFY2(messages.first().text.contains(says), qPrintable(messages.first().text));
    QVERIFY(snapshot(f.model()) == before);
}

void TestReopen::hugeFileRefused()
{
    WindowFixture f;
    const QString path = m_dir.filePath(QStringLiteral("huge.vkp"));
    QFile huge(path);
    QVERIFY(huge.open(QIODevice::WriteOnly));
    QVERIFY(huge.resize(qint64(65) * 1024 * 1024)); // sparse: costs no disk
    huge.close();
    const Snapshot before = snapshot(f.model());
    QVERIFY(!f.window->openPatch(path));
    const auto messages = f.dialogs.callsOf(QStringLiteral("message"));
    QCOMPARE(messages.size(), 1);
    QVERIFY(messages.first().text.contains(QStringLiteral("at most 64 MB")));
    QVERIFY(snapshot(f.model()) == before);
    QFile::remove(path);
}

void TestReopen::partialPatchMovesOnlyWhatItCarries()
{
    QTemporaryDir dir;
    QDir(dir.path()).mkdir(QStringLiteral("DB"));
    test::writeFile(
        dir.filePath(QStringLiteral("DB/m.txt")),
        "; head\r\n*cx*A: 00 00;x\r\n*cy*B: 00 00;y\r\n*ta*C: 00 00;a\r\n*cw*E: 00 00;w\r\n");
    WindowFixture f(dir.filePath(QStringLiteral("DB")));
    test::tap(f.view(), f.centreOf(12)); // Title becomes the style target
    QCOMPARE(f.label("Lxx")->text(), QString());
    test::press(f.view(), {17, 35});
    test::move(f.view(), {30, 60}, Qt::LeftButton);
    test::release(f.view(), {30, 60});
    const QString path = dir.filePath(QStringLiteral("p.vkp"));
    test::writeFile(path,
                    "; another header\r\nA: 00 2A21;x\r\nC: 00 01;a\r\nQ: 12 34;elsewhere\r\n");
    QVERIFY(f.window->openPatch(path));
    QCOMPARE(f.model().element(7).left, 42.f);
    QCOMPARE(f.model().element(7).top, 55.f);    // no Y in the patch: as it was
    QCOMPARE(f.model().element(7).width, 150.f); // no width either
    QCOMPARE(f.model().element(12).alignment, 1);
    QCOMPARE(f.combo("Combo2")->currentIndex(), 1); // the style target's controls follow
    QCOMPARE(f.model().SelIndex, std::int16_t(8));
    QVERIFY(f.label("Lxx")->text().isEmpty());
    QVERIFY(f.label("Lw")->text().isEmpty());
    QCOMPARE(f.model().guideX(), 0.f);
    for (int i : kElements)
        QVERIFY(f.model().element(i).enabled);
}

void TestReopen::rightEdgeWithoutX()
{
    std::string error;
    const auto layout =
        patch::readLayout("*tpw*A: F0 F0;r\r\n*ctw*B: F0 F0;r\r\n*ctx*C: A022 A022;x\r\n",
                          "A: F0 C8;r\r\nB: F0 F0;r\r\nC: A022 1022;x\r\n", &error);
    QVERIFY2(layout, error.c_str());
    QCOMPARE(*layout->left[10], 120.f); // 200 - 80
    QCOMPARE(*layout->left[9], 16.f);   // its X wins over its right edge
    QCOMPARE(layout->matchedLines, std::size_t(3));
}

void TestReopen::ctrlOOpensThroughTheDialog()
{
    WindowFixture a;
    a.model().setPosition(0, 100, 100);
    const QString path = m_dir.filePath(QStringLiteral("ctrl-o.vkp"));
    a.generate(path);

    WindowFixture b;
    b.window->showCentered();
    QApplication::setActiveWindow(b.window.get());
    QVERIFY(QTest::qWaitForWindowActive(b.window.get()));
    b.dialogs.openAnswers << path;
    QTest::keyClick(b.window.get(), Qt::Key_O, Qt::ControlModifier);
    const auto opens = b.dialogs.callsOf(QStringLiteral("open"));
    QCOMPARE(opens.size(), 1);
    QCOMPARE(opens.first().text, QStringLiteral("Vkp patch|*.vkp"));
    QCOMPARE(b.model().element(0).left, 100.f);
    QCOMPARE(b.model().element(0).top, 100.f);
    // Cancelled: nothing happens.
    QTest::keyClick(b.window.get(), Qt::Key_O, Qt::ControlModifier);
    QVERIFY(b.dialogs.callsOf(QStringLiteral("message")).isEmpty());
}

void TestReopen::droppedPatchAndPicture()
{
    WindowFixture a;
    a.model().setPosition(4, 10, 40);
    const QString patchPath = m_dir.filePath(QStringLiteral("dropped.vkp"));
    a.generate(patchPath);
    const QString picture = m_dir.filePath(QStringLiteral("wall.png"));
    QImage image(64, 48, QImage::Format_RGB32);
    image.fill(Qt::darkCyan);
    QVERIFY(image.save(picture));

    WindowFixture b;
    b.window->showCentered();
    QVERIFY(QTest::qWaitForWindowExposed(b.window.get()));
    drop(b.window.get(), {300, 150}, picture); // on the controls: not a background
    QVERIFY(b.model().background().isNull());
    drop(b.window.get(), {100, 150}, picture); // on the preview
    QCOMPARE(b.model().background().size(), QSize(64, 48));
    drop(b.window.get(), {300, 150}, patchPath); // a patch anywhere
    QCOMPARE(b.model().element(4).left, 10.f);
    QCOMPARE(b.model().element(4).top, 40.f);

    const QString broken = m_dir.filePath(QStringLiteral("broken.png"));
    test::writeFile(broken, "not a picture");
    drop(b.window.get(), {100, 150}, broken);
    const auto messages = b.dialogs.callsOf(QStringLiteral("message"));
    QCOMPARE(messages.size(), 1);
    QVERIFY(messages.first().text.contains(QStringLiteral("broken.png")));
    QCOMPARE(b.model().background().size(), QSize(64, 48));
}

QTEST_MAIN(TestReopen)
#include "tst_reopen.moc"
