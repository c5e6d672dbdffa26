#include "aside.h"
#include "coversize.h"
#include "picture.h"
#include "previewitems.h"
#include "stylepanel.h"
#include "windowfixture.h"

#include <QBuffer>
#include <QGraphicsPixmapItem>
#include <QImageWriter>
#include <QPainter>
#include <QtTest>

#include <sys/stat.h>

using namespace jukora;

namespace {
/// A PNG's signature and header chunk (with its CRC), and no data.
QByteArray pngHeader(quint32 width, quint32 height, char depth, char interlace)
{
    QByteArray chunk("IHDR");
    for (const quint32 v : {width, height})
        for (const int shift : {24, 16, 8, 0})
            chunk += char(v >> shift);
    chunk += depth + QByteArray("\x06\0\0", 3) + interlace; // RGBA
    quint32 crc = 0xFFFFFFFF;
    for (const char c : chunk) {
        crc ^= quint8(c);
        for (int k = 0; k < 8; ++k)
            crc = (crc >> 1) ^ (0xEDB88320 & (0 - (crc & 1)));
    }
    QByteArray png("\x89PNG\r\n\x1A\n\0\0\0\x0D", 12);
    png += chunk;
    for (const int shift : {24, 16, 8, 0})
        png += char(~crc >> shift);
    return png + QByteArray("\0\0\0\0IDAT", 8); // where a reader stops for the header
}
} // namespace

class TestStyle : public QObject
{
    Q_OBJECT

private slots:
    void init()
    {
        // A window for every test but the parser's rows, which need none.
        if (QTest::currentTestFunction() != QByteArrayLiteral("coverSizeText")) {
            f = std::make_unique<test::WindowFixture>();
            f->show();
        }
    }
    void coverSizeText_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("locale");
        QTest::addColumn<float>("size");    // -1: refused
        QTest::addColumn<QString>("shown"); // as the read-outs then show it
        const char *rows[][4] = {
            {"4096", "C", "4096", "4096"},
            {"4096.5", "C", "-1", ""},
            {"0", "C", "0", "0"},
            {"-5", "C", "-1", ""},
            {"big", "C", "-1", ""},
            {"inf", "C", "-1", ""},
            {"nan", "C", "-1", ""},
            {"1e300", "C", "-1", ""},
            {"140.0625", "C", "140.0625", "140.0625"}, // seven significant digits
            {"120,5", "de_DE", "120.5", "120,5"},
            {"1000,125", "de_DE", "1000.125", "1000,125"}, // no group separator
            {"100.125", "en_US", "100.125", "100.125"}};
        for (const auto &r : rows)
            QTest::newRow(qPrintable(QString::fromLatin1(r[0]) + u' ' + QLatin1String(r[1])))
                << r[0] << r[1] << QString::fromLatin1(r[2]).toFloat() << r[3];
    }
    void coverSizeText()
    {
        QFETCH(QString, text);
        QFETCH(QString, locale);
        QFETCH(float, size);
        QFETCH(QString, shown);
        QString error;
        const auto parsed = parseCoverSize(text, QLocale(locale), &error);
        QCOMPARE(parsed.value_or(-1.f), size);
        QCOMPARE(error.contains(QStringLiteral("from 0 to 4096")), size < 0);
        if (!parsed)
            return;
        // What the read-outs show reads back in the box, in the same locale.
        const QString readout = readoutText(*parsed, QLocale(locale));
        QCOMPARE(readout, shown);
        QCOMPARE(parseCoverSize(readout, QLocale(locale), &error), parsed);
    }
    void styleGoesToThePressedLabelOnly()
    {
        const auto styles = [&] {
            QList<QList<int>> s;
            for (int i = 9; i <= 13; ++i) {
                const Element &e = f->model().element(i);
                s << QList<int>{e.style.pixelSize, e.style.bold, e.style.italic, e.style.alignment};
            }
            return s;
        };
        auto expected = styles();
        f->combo("fontSizeCombo")->setCurrentIndex(3);        // nothing pressed: nothing changes
        test::tap(f->view(), f->centreOf(patch::AlbumCover)); // nor after an image
        f->combo("alignCombo")->setCurrentIndex(2);
        QCOMPARE(styles(), expected);
        test::tap(f->view(), f->centreOf(patch::TitleLabel)); // "Title"
        test::tap(f->view(), f->centreOf(patch::AlbumCover)); // an image keeps the style target
        f->combo("fontSizeCombo")->setCurrentIndex(2);
        f->check("boldCheck")->setChecked(false);
        f->combo("alignCombo")->setCurrentIndex(1);
        expected[12 - 9] = {16, false, false, 1};
        QCOMPARE(styles(), expected);
        QCOMPARE(f->view()->labelItem(patch::TitleLabel)->font().pixelSize(), 16);
        // Pressing "00:00" shows its own style in the controls, changing nothing.
        test::tap(f->view(), f->centreOf(patch::PlayTime));
        QCOMPARE(f->styleTarget(), int(patch::PlayTime));
        QCOMPARE(f->combo("fontSizeCombo")->currentText() + f->combo("alignCombo")->currentText(),
                 "MediumCenter");
        QVERIFY(f->check("boldCheck")->isChecked());
        QCOMPARE(styles(), expected);
        // A height no entry gives leaves the font entry as it was.
        {
            LabelStyle style = f->model().element(patch::ArtistLabel).style;
            style.pixelSize = 21;
            f->model().setLabelStyle(11, style);
        }
        test::tap(f->view(), f->centreOf(patch::ArtistLabel));
        QCOMPARE(f->combo("fontSizeCombo")->currentText(), QStringLiteral("Medium"));
        QCOMPARE(f->model().element(patch::ArtistLabel).style.pixelSize, 21);
        const QImage image = shot(); // drawn right-aligned: ink near the box's right end
        int last = 0;
        for (int x = 35; x < 225; ++x)
            for (int y = 205; y < 234; ++y)
                last = qGray(image.pixel(x, y)) > 120 ? x : last;
        QVERIFY2(last > 215, qPrintable(QString::number(last)));
    }
    void everyStyleControlIsAViewOfTheLabel()
    {
        // A user's edit of each control is one step on the pressed label; the
        // controls then show each label pressed as it is, and after an undo.
        const StylePanel &panel = f->window->stylePanel();
        QUndoStack *history = f->model().undoStack();
        test::tap(f->view(), f->centreOf(patch::ArtistLabel));
        const LabelStyle before = f->model().element(patch::ArtistLabel).style;
        for (QWidget *control : panel.controls()) {
            const int steps = history->count();
            if (auto *check = qobject_cast<QCheckBox *>(control))
                check->click();
            else if (auto *combo = qobject_cast<QComboBox *>(control))
                combo->setCurrentIndex((combo->currentIndex() + 1) % combo->count());
            QCOMPARE(history->count(), steps + 1);
        }
        const LabelStyle edited = f->model().element(patch::ArtistLabel).style;
        QVERIFY(panel.shown() == edited);
        test::tap(f->view(), f->centreOf(patch::TitleLabel));
        QVERIFY(panel.shown() == f->model().element(patch::TitleLabel).style);
        QVERIFY(!(panel.shown() == edited));
        test::tap(f->view(), f->centreOf(patch::ArtistLabel));
        history->undo();
        QVERIFY(panel.shown() == f->model().element(patch::ArtistLabel).style);
        QVERIFY(!(panel.shown() == edited));
        while (history->canUndo())
            history->undo();
        QVERIFY(panel.shown() == before);
    }
    void background_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QByteArray>("bytes"); // empty: a blue picture of 2000 x 1500; "|": a pipe
        QTest::addColumn<QString>("says");     // a part of the message; none when it loads
        QTest::newRow("larger than the preview") << "big.jpg" << QByteArray() << "";
        QTest::newRow("not a picture")
            << "text.bmp" << QByteArray("not a picture") << "not a picture";
        QTest::newRow("truncated GIF")
            << "cut.gif" << QByteArray("GIF89a\x10\x00\x10\x00", 10) << "damaged or cut short";
        QTest::newRow("declares 65535 x 65535")
            << "huge.gif"
            << QByteArray("GIF89a\xff\xff\xff\xff\0\0\0,\0\0\0\0\xff\xff\xff\xff\0\2\2D\1\0;", 29)
            << "65535 x 65535 pixels, too large";
        // Sound PNGs that could not be decoded: past the bytes decoded whole,
        // and past the width libpng takes.
        QTest::newRow("16-bit, interlaced")
            << "deep.png" << pngHeader(8000, 8000, 16, 1) << "8000 x 8000 pixels, too large";
        QTest::newRow("2000000 x 1")
            << "wide.png" << pngHeader(2000000, 1, 8, 0) << "2000000 x 1 pixels, too large";
        QTest::newRow("missing") << "missing.bmp" << QByteArray("-") << "does not exist";
        QTest::newRow("a pipe") << "pipe.png" << QByteArray("|") << "It is a named pipe (FIFO)";
    }
    void background()
    {
        QFETCH(QString, name);
        QFETCH(QByteArray, bytes);
        QFETCH(QString, says);
        const QString path = m_dir.filePath(name);
        QImage picture(2000, 1500, QImage::Format_RGB32);
        picture.fill(QColor(0, 0, 200));
        if (bytes.isEmpty())
            QVERIFY(picture.save(path, "JPEG", 100));
        else if (bytes == "|")
            QCOMPARE(::mkfifo(QFile::encodeName(path).constData(), 0600), 0);
        else if (bytes != "-")
            test::writeFile(path, bytes);
        picture = picture.copy(0, 0, 20, 10);
        picture.fill(QColor(0, 200, 0));
        f->model().setBackground(picture);
        f->dialogs.openAnswers << path;
        f->window->onBackgroundClicked();
        QVERIFY(f->dialogs.calls.first().text.startsWith(
            QStringLiteral("Image (*.bmp;*.jpg;*.gif) (*.bmp *.jpg *.gif);;All pictures (")));
        const QImage image = shot();
        QCOMPARE(f->messages().size(), says.isEmpty() ? 0 : 1);
        if (!says.isEmpty()) { // the old one stays, at its own size
            QVERIFY_CONTAINS(f->messages().first().text, says);
            QCOMPARE(image.pixelColor(5, 30), QColor(0, 200, 0));
            QCOMPARE(image.pixelColor(25, 30), QColor(Qt::black));
            return;
        }
        QCOMPARE(f->model().background().size(), QSize(240, 296));  // only what is ever visible
        QVERIFY(qAbs(image.pixelColor(100, 300).blue() - 200) < 8); // over the soft-key bar
        QVERIFY(image.pixelColor(100, 10).blue() < 150);            // not over the status bar
        QCOMPARE(image.pixelColor(82, 105), QColor(Qt::white));     // elements stay in front
    }
    void coverSizeAndReadouts()
    {
        // In a locale that writes "," for the fraction, both ways.
        const QLocale before;
        QLocale::setDefault(QLocale(QStringLiteral("de_DE")));
        f->dialogs.textAnswers << "100,125"
                               << "300"
                               << "0"
                               << ""
                               << "5000";
        f->window->onCoverSizeClicked(); // nothing pressed: the empty read-outs stay empty
        QCOMPARE(f->model().element(patch::AlbumCover).height, 100.125f);
        QVERIFY(f->text("widthReadout").isEmpty());
        test::tap(f->view(), f->centreOf(patch::AlbumCover)); // the cover pressed: they follow
        QCOMPARE(f->text("widthReadout"), QStringLiteral("100,125"));
        f->window->onCoverSizeClicked();
        QCOMPARE(f->text("heightReadout"), QStringLiteral("300"));
        QCOMPARE(f->view()->imageItem(patch::AlbumCover)->boundingRect().size(), QSizeF(300, 300));
        QCOMPARE(f->model().element(patch::AlbumCover).left, 7.f);
        test::tap(f->view(),
                  f->centreOf(patch::BassIndicator)); // a 30 x 22 icon pressed: they keep its size
        f->window->onCoverSizeClicked();
        QCOMPARE(f->text("widthReadout"), QStringLiteral("30"));
        f->window->onCoverSizeClicked(); // nothing typed
        f->window->onCoverSizeClicked(); // refused
        QCOMPARE(f->messages().size(), 1);
        QCOMPARE(f->model().element(patch::AlbumCover).width, 0.f);
        QLocale::setDefault(before);
    }

    void cutShortPictures_data()
    {
        QTest::addColumn<QByteArray>("format");
        QTest::addColumn<int>("chop"); // in thousandths of the file
        QTest::addColumn<QString>("says");
        // A JPEG without its end marker is shown, with a warning; a PNG is
        // never decoded below the rows shown, so data lost there is not missed.
        QTest::newRow("JPEG") << QByteArray("JPEG") << 0 << "ends early";
        QTest::newRow("PNG") << QByteArray("PNG") << 500 << "";
    }
    void cutShortPictures()
    {
        QFETCH(QByteArray, format);
        QFETCH(int, chop);
        QFETCH(QString, says);
        QImage picture(240, 2000, QImage::Format_RGB32);
        for (int y = 0; y < picture.height(); ++y)
            for (int x = 0; x < 240; ++x)
                picture.setPixel(x, y, qRgb((x * y) & 0xFF, (x ^ y) & 0xFF, y & 0xFF));
        const QString path = m_dir.filePath(QStringLiteral("cut.") + QString::fromLatin1(format));
        QVERIFY(picture.save(path, format));
        const QByteArray bytes = test::readFile(path);
        test::writeFile(path, bytes.chopped(std::max<qsizetype>(2, bytes.size() * chop / 1000)));
        f->dialogs.openAnswers << path;
        f->window->onBackgroundClicked();
        QCOMPARE(f->messages().size(), says.isEmpty() ? 0 : 1);
        if (!says.isEmpty())
            QVERIFY(f->messages().first().text.contains(says));
        else
            // Opaque, as the picture is: a PNG without alpha is no transparent one.
            QCOMPARE(f->model().background().convertToFormat(QImage::Format_ARGB32),
                     picture.copy(0, 0, 240, 296).convertToFormat(QImage::Format_ARGB32));
        QCOMPARE(f->model().background().size(), QSize(240, 296));
    }
    void photoStandsUpright_data()
    {
        // Stored 400 x 300 with the marked corner where its EXIF orientation
        // turns it to the top-left.
        QTest::addColumn<int>("orientation");
        QTest::addColumn<QPoint>("marked");
        QTest::newRow("1, as stored") << 1 << QPoint(0, 0);
        QTest::newRow("3, half a turn") << 3 << QPoint(360, 250);
        QTest::newRow("6, a quarter clockwise") << 6 << QPoint(0, 250);
        QTest::newRow("8, a quarter anticlockwise") << 8 << QPoint(360, 0);
    }
    void photoStandsUpright()
    {
        QFETCH(int, orientation);
        QFETCH(QPoint, marked);
        QImage stored(400, 300, QImage::Format_RGB32);
        stored.fill(Qt::blue);
        QPainter(&stored).fillRect(QRect(marked, QSize(40, 50)), Qt::red);
        QByteArray jpeg;
        QBuffer buffer(&jpeg);
        QVERIFY(buffer.open(QIODevice::WriteOnly) && stored.save(&buffer, "JPEG", 95));
        // An APP1 segment after the start marker: "Exif", a little-endian
        // TIFF header and one entry, the orientation (0x0112, a SHORT).
        const char exif[] = "\xFF\xE1\x00\x22"
                            "Exif\0\0II*\0\x08\0\0\0\x01\0"
                            "\x12\x01\x03\0\x01\0\0\0\0\0\0\0\0\0\0\0";
        QByteArray segment(exif, sizeof exif - 1);
        segment[28] = char(orientation);
        const QString path = m_dir.filePath(QStringLiteral("photo.jpg"));
        test::writeFile(path, jpeg.insert(2, segment));
        QString error;
        const QImage shown = loadPicture(path, &error).value_or(QImage());
        QCOMPARE(shown.size(), QSize(240, 296));
        QVERIFY(qRed(shown.pixel(15, 10)) > 200);    // the marked corner, top-left
        QVERIFY(qBlue(shown.pixel(100, 100)) > 200); // the rest
    }
    void busyCursorComesAndGoes()
    {
        bool busy = false;
        QTimer::singleShot(150, [&] { busy = QGuiApplication::overrideCursor(); });
        runAside([] { QThread::msleep(300); });
        QVERIFY(busy);
        QVERIFY(!QGuiApplication::overrideCursor());
    }
    void textColourAndCancelledDialogs()
    {
        // The colour reaches all five labels, as one step.
        f->dialogs.colorAnswers << QColor(255, 0, 0);
        f->window->onTextColorClicked();
        const QImage image = shot();
        for (const int label : patch::kLabels) {
            const Element &e = f->model().element(label);
            int red = 0;
            for (int x = int(e.left); x < int(e.left + e.width); ++x)
                for (int y = int(e.top); y < int(e.top + e.height); ++y)
                    red += image.pixelColor(x + 2, y + 2) == QColor(255, 0, 0);
            QVERIFY2(red > 5, qPrintable(QString::number(label)));
        }
        // Cancelled colour and picture dialogs change nothing and add no step.
        const PreviewModel::State before = f->model().state();
        f->window->onTextColorClicked();
        f->window->onBackgroundClicked();
        QCOMPARE(f->model().undoStack()->count(), 1);
        QVERIFY(f->model().state() == before);
    }
    void credits()
    {
        f->window->onCreditsClicked();
        const auto box = f->messages().value(0);
        QCOMPARE(box.icon, Dialogs::Icon::Information);
        const QStringList lines = box.text.split("\r\n");
        QCOMPARE(lines.size(), 4); // and no line end after the last
        QCOMPARE(lines.at(1), QString(26, u'-'));
    }

private:
    QImage shot()
    {
        f->view()->viewport()->repaint();
        return f->view()->viewport()->grab().toImage();
    }
    std::unique_ptr<test::WindowFixture> f;
    QTemporaryDir m_dir;
};

QTEST_MAIN(TestStyle)
#include "tst_style.moc"
