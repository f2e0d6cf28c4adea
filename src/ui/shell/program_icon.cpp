#include "ui/shell/program_icon.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

namespace torva {

void paintProgramEmblem(QPainter& painter, const QRectF& box) {
    // Drawn on a 64 × 64 grid, as the SVG is.
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.translate(box.topLeft());
    painter.scale(box.width() / 64.0, box.height() / 64.0);

    QLinearGradient face(0, 0, 0, 64);
    face.setColorAt(0.0, QColor(196, 24, 24));
    face.setColorAt(1.0, QColor(120, 0, 0));
    painter.setPen(Qt::NoPen);
    painter.setBrush(face);
    painter.drawRoundedRect(QRectF(2, 2, 60, 60), 12, 12);

    // The dial: an open arc of 240 degrees with three marks.
    QPen arc(Qt::white, 5, Qt::SolidLine, Qt::RoundCap);
    painter.setPen(arc);
    painter.setBrush(Qt::NoBrush);
    const QRectF dial(12, 14, 40, 40);
    painter.drawArc(dial, -30 * 16, 240 * 16);
    painter.setPen(QPen(QColor(255, 210, 200), 3, Qt::SolidLine, Qt::RoundCap));
    painter.drawLine(QPointF(32, 19), QPointF(32, 23));
    painter.drawLine(QPointF(17, 34), QPointF(21, 34));
    painter.drawLine(QPointF(47, 34), QPointF(43, 34));

    // The needle, towards the upper right, and its hub.
    painter.setPen(QPen(Qt::white, 4, Qt::SolidLine, Qt::RoundCap));
    painter.drawLine(QPointF(32, 34), QPointF(42, 23));
    painter.setPen(Qt::NoPen);
    painter.setBrush(Qt::white);
    painter.drawEllipse(QPointF(32, 34), 4.5, 4.5);

    // A fuel drop under the dial.
    QPainterPath drop;
    drop.moveTo(32, 44);
    drop.cubicTo(28, 50, 27, 53, 32, 55);
    drop.cubicTo(37, 53, 36, 50, 32, 44);
    painter.drawPath(drop);
    painter.restore();
}

QIcon programIcon() {
    QIcon icon;
    for (const int side : {16, 24, 32, 48, 64, 128, 256}) {
        QPixmap pixmap(side, side);
        pixmap.fill(Qt::transparent);
        QPainter painter(&pixmap);
        paintProgramEmblem(painter, QRectF(0, 0, side, side));
        painter.end();
        icon.addPixmap(pixmap);
    }
    return icon;
}

} // namespace torva
