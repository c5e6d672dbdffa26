#include "windowfixture.h"

#include <QMimeData>
#include <QtTest>

using namespace jukora;
using test::ProgramFolder;
using test::WindowFixture;

namespace {

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
    void init() { m_dir = std::make_unique<QTemporaryDir>(); }
    void roundTrip_data();
    void roundTrip();
    void twoRulesOnOneAddressRoundTrip();
    void otherTemplateRefusedLayoutUnchanged();
    void reopenLeavesNothingHeld();
    void ctrlOAndDrops();

private:
    QString path(const char *name) const { return m_dir->filePath(QString::fromLatin1(name)); }
    std::unique_ptr<QTemporaryDir> m_dir;
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
    const QByteArray written = a.generate(path("first.vkp"));
    QVERIFY(written.size() > 100);

    WindowFixture b;
    b.selectModel(model);
    QVERIFY(b.window->openPatch(path("first.vkp")));
    QVERIFY(b.messages().isEmpty());
    QCOMPARE(b.generate(path("second.vkp")), written);
    QCOMPARE(b.tool().selIndex(), a.tool().selIndex());
}

void TestReopen::twoRulesOnOneAddressRoundTrip()
{
    ProgramFolder folder({{QStringLiteral("m"), "*ex*0A: 00 00 ;a\r\n*sx*0A: 00 00 ;b\r\n"}});
    WindowFixture a(folder.db());
    a.model().setPosition(patch::BassIndicator, 30, 100);
    a.model().setPosition(patch::ShuffleIndicator, 40, 100);
    const QByteArray written = a.generate(folder.file(QStringLiteral("a.vkp")));
    QCOMPARE(written, QByteArray("0A: 00 1E20;a\r\n0A: 00 2820;b\r\n"));
    WindowFixture b(folder.db());
    QVERIFY(b.window->openPatch(folder.file(QStringLiteral("a.vkp"))));
    QCOMPARE(b.model().element(patch::BassIndicator).left, 30.f);
    QCOMPARE(b.model().element(patch::ShuffleIndicator).left, 40.f);
    QCOMPARE(b.generate(folder.file(QStringLiteral("b.vkp"))), written);
}

void TestReopen::otherTemplateRefusedLayoutUnchanged()
{
    WindowFixture a;
    a.selectModel(QStringLiteral("Novo N3"));
    a.generate(path("n3.vkp"));
    WindowFixture b;
    b.selectModel(QStringLiteral("orla X1"));
    b.model().setPosition(3, 100, 100);
    const patch::Layout before = b.model().layout();
    QVERIFY(!b.window->openPatch(path("n3.vkp")));
    QCOMPARE(b.messages().size(), 1);
    const QString text = b.messages().first().text;
    for (const char *part : {"orla X1", "none of the patch's addresses", "Pick the phone model",
                             "The layout is unchanged"})
        QVERIFY2(text.contains(QLatin1String(part)), qPrintable(text));
    QCOMPARE(b.model().layout().left, before.left);
    QCOMPARE(b.model().layout().top, before.top);
}

void TestReopen::reopenLeavesNothingHeld()
{
    ProgramFolder folder(
        {{QStringLiteral("m"), "*cx*A: 00 00;x\r\n*cy*B: 00 00;y\r\n*ta*C: 00 00;a"}});
    WindowFixture f(folder.db());
    test::tap(f.view(), f.centreOf(12)); // Title becomes the style target
    test::drag(f.view(), {17, 35}, {30, 60});
    QCOMPARE(f.text("Lxx"), QStringLiteral("20"));
    test::writeFile(folder.file(QStringLiteral("p.vkp")), "A: 00 2A21;x\r\nC: 00 01;a\r\n");
    QVERIFY(f.window->openPatch(folder.file(QStringLiteral("p.vkp"))));
    QCOMPARE(f.model().element(7).left, 42.f);
    QCOMPARE(f.model().element(7).top, 55.f);       // no Y in the patch: as it was
    QCOMPARE(f.combo("Combo2")->currentIndex(), 1); // the style target's controls follow
    QCOMPARE(f.tool().selIndex(), std::int16_t(8));
    QVERIFY(f.text("Lxx").isEmpty() && f.text("Lw").isEmpty());
    QCOMPARE(f.view()->guideL1()->x(), 0.0);
}

void TestReopen::ctrlOAndDrops()
{
    WindowFixture a;
    a.model().setPosition(4, 10, 40);
    a.generate(path("a.vkp"));
    const QString picture = path("wall.png");
    QImage image(64, 48, QImage::Format_RGB32);
    image.fill(Qt::darkCyan);
    QVERIFY(image.save(picture));
    test::writeFile(path("broken.png"), "not a picture");

    WindowFixture b;
    b.show();
    QApplication::setActiveWindow(b.window.get());
    QVERIFY(QTest::qWaitForWindowActive(b.window.get()));
    QTest::keyClick(b.window.get(), Qt::Key_O, Qt::ControlModifier); // cancelled
    b.dialogs.openAnswers << path("a.vkp");
    QTest::keyClick(b.window.get(), Qt::Key_O, Qt::ControlModifier);
    QCOMPARE(b.dialogs.callsOf(QStringLiteral("open")).first().text,
             QStringLiteral("Vkp patch|*.vkp"));
    QCOMPARE(b.model().element(4).left, 10.f);

    b.model().setPosition(4, 0, 100);
    drop(b.window.get(), {300, 150}, picture); // on the controls: not a background
    QVERIFY(b.model().background().isNull());
    drop(b.window.get(), {100, 150}, picture); // on the preview
    QCOMPARE(b.model().background().size(), QSize(64, 48));
    drop(b.window.get(), {300, 150}, path("a.vkp")); // a patch anywhere
    QCOMPARE(b.model().element(4).left, 10.f);
    drop(b.window.get(), {100, 150}, path("broken.png"));
    QCOMPARE(b.messages().size(), 1);
    QVERIFY(b.messages().first().text.contains(QStringLiteral("broken.png")));
    QCOMPARE(b.model().background().size(), QSize(64, 48));
}

QTEST_MAIN(TestReopen)
#include "tst_reopen.moc"
