// Loading a large background picture: the editor's loader, which keeps (and
// for JPEG decodes) only the part the preview shows, against decoding the
// whole picture as a plain QImageReader does. Time (median of 5) and the
// growth of the peak resident size, each in a fresh child process.
#include "picture.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QGuiApplication>
#include <QImageReader>
#include <QImageWriter>
#include <QProcess>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

/// The peak resident size of this process image in kB (VmHWM: unlike
/// getrusage, it does not carry over the parent's peak across exec).
long peakKb()
{
    QFile status(QStringLiteral("/proc/self/status"));
    status.open(QIODevice::ReadOnly);
    for (const QByteArray &line : status.readAll().split('\n')) {
        if (line.startsWith("VmHWM:"))
            return line.mid(6).trimmed().split(' ').first().toLong();
    }
    return 0;
}

/// One load in this process: prints milliseconds and the peak growth in MB.
int loadOnce(const QString &how, const QString &path)
{
    const long before = peakKb();
    QElapsedTimer timer;
    timer.start();
    QImage image;
    if (how == QLatin1String("editor")) {
        QString error;
        image = jukora::loadPicture(path, &error).value_or(QImage());
    } else {
        QImageReader::setAllocationLimit(1024);
        image = QImageReader(path).read();
    }
    const double ms = static_cast<double>(timer.nsecsElapsed()) / 1e6;
    std::printf("%.2f %.1f %dx%d\n", ms, static_cast<double>(peakKb() - before) / 1024,
                image.width(), image.height());
    return image.isNull() ? 1 : 0;
}

} // namespace

int main(int argc, char *argv[])
{
    QGuiApplication app(argc, argv);
    const QStringList args = QCoreApplication::arguments();
    if (args.size() == 4 && args[1] == QLatin1String("--load"))
        return loadOnce(args[2], args[3]);

    QTemporaryDir dir;
    const struct
    {
        const char *name;
        int width, height;
        const char *format;
        bool progressive;
    } pictures[] = {{"photo.jpg", 4000, 3000, "JPEG", false},
                    {"progressive.jpg", 6000, 4000, "JPEG", true},
                    {"large.png", 8000, 8000, "PNG", false}};
    for (const auto &p : pictures) {
        const QString path = dir.filePath(QString::fromLatin1(p.name));
        QImage image(p.width, p.height, QImage::Format_RGB32);
        image.fill(Qt::darkCyan);
        QImageWriter writer(path, p.format);
        writer.setProgressiveScanWrite(p.progressive);
        writer.write(image);
        for (const char *how : {"whole", "editor"}) {
            std::vector<double> times, megabytes;
            QString size;
            for (int run = 0; run < 5; ++run) {
                QProcess child;
                child.start(QCoreApplication::applicationFilePath(),
                            {QStringLiteral("--load"), QString::fromLatin1(how), path});
                child.waitForFinished(-1);
                const QStringList out =
                    QString::fromLatin1(child.readAllStandardOutput()).split(u' ');
                if (out.size() != 3) {
                    std::fprintf(stderr, "unexpected: %s\n", qPrintable(out.join(u'|')));
                    return 1;
                }
                times.push_back(out[0].toDouble());
                megabytes.push_back(out[1].toDouble());
                size = out[2].trimmed();
            }
            std::sort(times.begin(), times.end());
            std::sort(megabytes.begin(), megabytes.end());
            std::printf("%-15s %dx%d %-6s: %7.1f ms, +%6.1f MB peak, kept %s\n", p.name, p.width,
                        p.height, how, times[2], megabytes[2], qPrintable(size));
        }
    }
    return 0;
}
