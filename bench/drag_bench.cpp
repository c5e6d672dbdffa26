// Sends moves through the real preview on the offscreen platform, repaint
// included, and compares the cost of one move with a full repaint of the
// 240 x 320 preview measured in the same run.
// Usage: QT_QPA_PLATFORM=offscreen drag_bench [moves]
#include "dialogs.h"
#include "mainwindow.h"
#include "previewmodel.h"
#include "previewview.h"
#include "templatelist.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QMouseEvent>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
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

struct Stats
{
    double median;
    double p99;
};

Stats stats(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return {v[v.size() / 2], v[v.size() * 99 / 100]};
}

Stats dragCost(jukora::PreviewView *view, QPointF grab, int moves)
{
    QWidget *viewport = view->viewport();
    send(viewport, QEvent::MouseButtonPress, grab, Qt::LeftButton, Qt::LeftButton);
    std::vector<double> times;
    times.reserve(static_cast<std::size_t>(moves));
    QElapsedTimer timer;
    for (int i = 0; i < moves; ++i) {
        // A wandering path over the working area, one or two pixels a step.
        const double t = i * 0.01;
        const QPointF pos(grab.x() + 40 + 35 * std::sin(t * 1.3), grab.y() + 40 + 35 * std::cos(t));
        timer.start();
        send(viewport, QEvent::MouseMove, pos, Qt::NoButton, Qt::LeftButton);
        QApplication::processEvents(); // scene update, then the paint
        times.push_back(static_cast<double>(timer.nsecsElapsed()) / 1000.0);
    }
    send(viewport, QEvent::MouseButtonRelease, grab, Qt::LeftButton, Qt::NoButton);
    QApplication::processEvents();
    return stats(times);
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

    std::vector<double> full;
    QElapsedTimer timer;
    for (int i = 0; i < 2000; ++i) {
        // Through the same event loop as a move, so both carry the same
        // dispatch and flush costs.
        timer.start();
        view->viewport()->update();
        QApplication::processEvents();
        full.push_back(static_cast<double>(timer.nsecsElapsed()) / 1000.0);
    }
    const Stats repaint = stats(full);
    const Stats icon = dragCost(view, QPointF(20, 199), moves); // artist icon, 24 x 24
    const Stats cover = dragCost(view, QPointF(60, 60), moves); // album cover, 150 x 150

    std::printf("full repaint of the preview: median %7.1f us, p99 %7.1f us\n", repaint.median,
                repaint.p99);
    std::printf(
        "move dragging an icon:       median %7.1f us, p99 %7.1f us (%.0f%% of a full repaint)\n",
        icon.median, icon.p99, 100 * icon.median / repaint.median);
    std::printf(
        "move dragging the cover:     median %7.1f us, p99 %7.1f us (%.0f%% of a full repaint)\n",
        cover.median, cover.p99, 100 * cover.median / repaint.median);
    std::printf("target: a move costs at most half a full repaint\n");
    return 0;
}
