// Sends moves through the real preview on the offscreen platform, repaint
// included, and compares the processor time of one move with that of a full
// repaint of the 240 x 320 preview measured in the same run. Moves come at
// a mouse's report rate (the preview places an element at most once a
// frame, so the cost of a move depends on how many come per frame): 1000 a
// second for a gaming mouse, 125 for an ordinary one, and as fast as they
// can be sent.
// Usage: QT_QPA_PLATFORM=offscreen drag_bench [moves] [rate]   (rate: only that
// pace, for profiling one of them)
#include "dialogs.h"
#include "dragtool.h"
#include "mainwindow.h"
#include "previewmodel.h"
#include "previewview.h"
#include "templatelist.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QMouseEvent>
#include <QTemporaryDir>
#include <QThread>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <ctime>
#include <vector>

namespace {

struct NoDialogs : jukora::Dialogs
{
    QString saveFileName(QWidget *, const QString &, const QString &) override { return {}; }
    QString openFileName(QWidget *, const QString &, const QString &) override { return {}; }
    QColor color(QWidget *, const QColor &) override { return {}; }
    QString text(QWidget *, const QString &, const QString &, const QString &) override
    {
        return {};
    }
    void message(QWidget *, Icon, const QString &, const QString &, const QString &) override {}
    bool progress(QWidget *, const QString &, qint64, qint64) override { return true; }
    bool question(QWidget *, const QString &, const QString &) override { return false; }
};

void send(QWidget *viewport, QEvent::Type type, QPointF pos, Qt::MouseButton button,
          Qt::MouseButtons buttons)
{
    QMouseEvent event(type, pos, viewport->mapToGlobal(pos), button, buttons, Qt::NoModifier);
    QApplication::sendEvent(viewport, &event);
}

/// Processor time of the whole process (painting threads included), in us.
double cpuMicros()
{
    timespec now;
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) * 1e6 + static_cast<double>(now.tv_nsec) / 1e3;
}

/// Processor time per tick of `work(i)` and the event loop after it, at
/// `rate` ticks a second (0: back to back). Sleeping between ticks costs no
/// processor time, but waking does, and a processor woken from sleep runs
/// slower for a while: every figure is measured at the same pace.
template <typename Work> double paced(int rate, int ticks, Work &&work)
{
    QElapsedTimer pace;
    pace.start();
    const double start = cpuMicros();
    for (int i = 0; i < ticks; ++i) {
        if (rate > 0) {
            const qint64 due = qint64(i) * 1000000 / rate;
            const qint64 now = pace.nsecsElapsed() / 1000;
            if (due > now)
                QThread::usleep(static_cast<unsigned long>(due - now));
        }
        work(i);
        QApplication::processEvents(); // scene update, then the paint
    }
    return (cpuMicros() - start) / ticks;
}

/// A drag of the element at `grab` along a wandering path over the working
/// area, one or two pixels a step; processor time per move, the release
/// and its last placement included. With `direct`, each step is handed to
/// the drag tool itself, which places the element every time: the cost of
/// one placement, without the mouse event and the frame pacing.
double dragCost(jukora::PreviewView *view, QPointF grab, int moves, int rate, bool direct = false)
{
    QWidget *viewport = view->viewport();
    send(viewport, QEvent::MouseButtonPress, grab, Qt::LeftButton, Qt::LeftButton);
    QApplication::processEvents();
    const double start = cpuMicros();
    const double perMove = paced(rate, moves, [&](int i) {
        const double t = i * 0.01;
        const QPointF pos(grab.x() + 40 + 35 * std::sin(t * 1.3), grab.y() + 40 + 35 * std::cos(t));
        if (direct)
            view->tool().move(Qt::LeftButton, pos);
        else
            send(viewport, QEvent::MouseMove, pos, Qt::NoButton, Qt::LeftButton);
    });
    const double loop = cpuMicros() - start;
    send(viewport, QEvent::MouseButtonRelease, grab, Qt::LeftButton, Qt::NoButton);
    QApplication::processEvents();
    return perMove + (cpuMicros() - start - loop) / moves;
}

} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    const int moves = argc > 1 ? std::atoi(argv[1]) : 10000;
    QTemporaryDir dir;
    QFile(dir.filePath(QStringLiteral("m.txt"))).open(QIODevice::WriteOnly);
    NoDialogs dialogs;
    QString error;
    jukora::MainWindow window(*jukora::listTemplates({dir.path()}, &error), dialogs);
    window.showCentered();
    for (int i = 0; i < 20; ++i)
        QApplication::processEvents();
    jukora::PreviewView *view = window.preview();

    std::vector<int> rates = {1000, 125, 0};
    if (argc > 2)
        rates = {std::atoi(argv[2])};
    // Each figure in nine batches, interleaved with the others, so that the
    // machine's moods fall on all of them alike; the medians are compared.
    constexpr int kRounds = 9;
    const int batch = std::max(1, moves / kRounds);
    const auto median = [](std::vector<double> v) {
        std::sort(v.begin(), v.end());
        return v[v.size() / 2];
    };
    for (const int rate : rates) {
        std::vector<double> idles, fulls, icons, covers, placements;
        for (int round = 0; round < kRounds; ++round) {
            const double idle = paced(rate, batch, [](int) {});
            idles.push_back(idle);
            fulls.push_back(paced(rate, batch, [&](int) { view->viewport()->update(); }) - idle);
            icons.push_back(dragCost(view, QPointF(20, 199), batch, rate) - idle); // artist icon
            covers.push_back(dragCost(view, QPointF(60, 60), batch, rate) - idle); // album cover
            placements.push_back(dragCost(view, QPointF(20, 199), batch, rate, true) - idle);
        }
        const double full = median(fulls), icon = median(icons), cover = median(covers),
                     placement = median(placements);
        std::printf(
            "%-18s full repaint %6.1f us; a move: icon %6.1f us (%.2fx), cover %6.1f us "
            "(%.2fx); one placement of the icon %6.1f us (%.2fx); the loop alone %.1f "
            "us\n",
            rate ? qPrintable(QStringLiteral("%1 a second:").arg(rate)) : "back to back:", full,
            icon, icon / full, cover, cover / full, placement, placement / full, median(idles));
    }
    std::printf("target: a move costs at most half a full repaint (0.50x)\n");
    return 0;
}
