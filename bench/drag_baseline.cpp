// The drag latency benchmark's baseline: a plain Qt window of the editor's
// size whose 150 x 150 item, where the editor's album cover stands, follows
// every mouse move the way Qt's graphics view moves a movable item.
#include <QApplication>
#include <QGraphicsRectItem>
#include <QGraphicsScene>
#include <QGraphicsView>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QGraphicsScene scene(0, 0, 358, 324);
    auto *item = scene.addRect(0, 0, 150, 150, Qt::NoPen, Qt::darkCyan);
    item->setPos(9, 32);
    item->setFlag(QGraphicsItem::ItemIsMovable);
    QGraphicsView view(&scene);
    view.setFrameStyle(QFrame::NoFrame);
    view.setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    view.setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    view.setAlignment(Qt::AlignLeft | Qt::AlignTop);
    view.setWindowTitle(QStringLiteral("drag baseline"));
    view.setFixedSize(358, 324);
    view.move(0, 0);
    view.show();
    return app.exec();
}
