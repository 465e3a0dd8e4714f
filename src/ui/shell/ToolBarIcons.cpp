#include "ui/shell/ToolBarIcons.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <functional>

namespace {

const int kSize = 48;

QIcon Draw(const std::function<void(QPainter&)>& paint) {
    QPixmap pixmap(kSize, kSize);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    paint(painter);
    return QIcon(pixmap);
}

// A round badge in the lower right corner with a plus or a minus.
void Badge(QPainter& p, bool plus) {
    const QColor fill = plus ? QColor(30, 150, 60) : QColor(200, 40, 40);
    p.setPen(QPen(Qt::white, 2));
    p.setBrush(fill);
    p.drawEllipse(QRectF(28, 28, 19, 19));
    p.setPen(QPen(Qt::white, 3, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(32.5, 37.5), QPointF(42.5, 37.5));
    if (plus) p.drawLine(QPointF(37.5, 32.5), QPointF(37.5, 42.5));
}

// Two floor slabs seen from above at an angle, one over the other.
void FloorSlabs(QPainter& p) {
    const QColor edge(60, 60, 70);
    const QColor colours[] = {QColor(170, 185, 200), QColor(215, 225, 235)};
    for (int i = 0; i < 2; ++i) {
        const double y = 26 - i * 13;
        QPolygonF slab;
        slab << QPointF(4, y + 8) << QPointF(22, y) << QPointF(42, y + 6) << QPointF(24, y + 14);
        p.setPen(QPen(edge, 1.5));
        p.setBrush(colours[i]);
        p.drawPolygon(slab);
    }
}

} // namespace

QIcon MakeNewProjectIcon() {
    return Draw([](QPainter& p) {
        QPolygonF page;
        page << QPointF(9, 3) << QPointF(30, 3) << QPointF(39, 12) << QPointF(39, 44) << QPointF(9, 44);
        p.setPen(QPen(QColor(70, 70, 80), 2));
        p.setBrush(Qt::white);
        p.drawPolygon(page);
        p.setBrush(QColor(220, 220, 225));
        p.drawPolygon(QPolygonF() << QPointF(30, 3) << QPointF(30, 12) << QPointF(39, 12));
        p.setPen(QPen(QColor(150, 150, 160), 2));
        for (int y = 18; y <= 30; y += 6)
            p.drawLine(14, y, 32, y);
        Badge(p, true);
    });
}

QIcon MakeOpenProjectIcon() {
    return Draw([](QPainter& p) {
        p.setPen(QPen(QColor(150, 100, 20), 2));
        p.setBrush(QColor(235, 180, 60));
        QPolygonF back;
        back << QPointF(4, 10) << QPointF(17, 10) << QPointF(21, 15) << QPointF(40, 15) << QPointF(40, 40)
             << QPointF(4, 40);
        p.drawPolygon(back);
        p.setBrush(QColor(250, 210, 100));
        QPolygonF front;
        front << QPointF(4, 40) << QPointF(12, 22) << QPointF(46, 22) << QPointF(40, 40);
        p.drawPolygon(front);
    });
}

QIcon MakeSaveProjectIcon() {
    return Draw([](QPainter& p) {
        QPainterPath body;
        body.moveTo(6, 6);
        body.lineTo(36, 6);
        body.lineTo(42, 12);
        body.lineTo(42, 42);
        body.lineTo(6, 42);
        body.closeSubpath();
        p.setPen(QPen(QColor(20, 50, 110), 2));
        p.setBrush(QColor(50, 100, 190));
        p.drawPath(body);
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(210, 215, 225));
        p.drawRect(QRectF(13, 6, 20, 13));
        p.setBrush(QColor(50, 100, 190));
        p.drawRect(QRectF(26, 8, 5, 9));
        p.setBrush(Qt::white);
        p.drawRect(QRectF(11, 26, 26, 14));
        p.setPen(QPen(QColor(160, 170, 190), 1.5));
        p.drawLine(14, 31, 34, 31);
        p.drawLine(14, 35, 34, 35);
    });
}

QIcon MakeAddFloorIcon() {
    return Draw([](QPainter& p) {
        FloorSlabs(p);
        Badge(p, true);
    });
}

QIcon MakeRemoveFloorIcon() {
    return Draw([](QPainter& p) {
        FloorSlabs(p);
        Badge(p, false);
    });
}

QIcon MakeAddRoomIcon() {
    return Draw([](QPainter& p) {
        // The room outline in the room pen's green, an L-shaped plan.
        QPolygonF room;
        room << QPointF(5, 5) << QPointF(40, 5) << QPointF(40, 24) << QPointF(24, 24) << QPointF(24, 42)
             << QPointF(5, 42);
        p.setPen(QPen(QColor(0, 100, 55), 4, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
        p.setBrush(QColor(225, 240, 230));
        p.drawPolygon(room);
        Badge(p, true);
    });
}

QIcon MakeAddZoneIcon() {
    return Draw([](QPainter& p) {
        p.setPen(QPen(QColor(0, 100, 55), 3));
        p.setBrush(QColor(240, 245, 240));
        p.drawRect(QRectF(4, 4, 38, 38));
        // The zone in the zone pen's dark red, dashed inside the room.
        QPen zone(QColor(127, 0, 0), 2.5, Qt::DashLine);
        p.setPen(zone);
        p.setBrush(QColor(245, 215, 215));
        p.drawRect(QRectF(10, 10, 22, 18));
        Badge(p, true);
    });
}
