#include "ui/pages/readings/console.h"

#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>

namespace torva {

namespace {

// The drawing's own grid; the picture is stretched to the control.
constexpr qreal kWidth = 120;
constexpr qreal kHeight = 60;

int litLevels(EConsolePicture picture) {
    switch (picture) {
    case EConsolePicture::Gas1:
        return 1;
    case EConsolePicture::Gas2:
        return 2;
    case EConsolePicture::Gas3:
        return 3;
    case EConsolePicture::Gas4:
        return 4;
    default:
        return 0;
    }
}

bool isGas(EConsolePicture picture) {
    return picture != EConsolePicture::Diesel && picture != EConsolePicture::Lit;
}

void drawLamp(QPainter& painter, const QRectF& box, const QColor& lit, bool on) {
    const QColor off(70, 70, 74);
    QRadialGradient glow(box.center(), box.width() / 2);
    glow.setColorAt(0.0, on ? lit.lighter(150) : off.lighter(120));
    glow.setColorAt(1.0, on ? lit : off);
    painter.setPen(QPen(QColor(20, 20, 20), 0.8));
    painter.setBrush(glow);
    painter.drawRoundedRect(box, 2, 2);
}

} // namespace

CConsole::CConsole(QWidget* parent) : CCompCtrl(parent) {
    setCursor(Qt::PointingHandCursor);
}

void CConsole::setPicture(EConsolePicture picture) {
    if (picture != m_picture) {
        m_picture = picture;
        update();
    }
}

void CConsole::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.scale(width() / kWidth, height() / kHeight);

    // The switch body.
    QLinearGradient body(0, 0, 0, kHeight);
    body.setColorAt(0.0, QColor(78, 78, 84));
    body.setColorAt(1.0, QColor(32, 32, 36));
    painter.setPen(QPen(QColor(15, 15, 15), 1.2));
    painter.setBrush(body);
    painter.drawRoundedRect(QRectF(2, 2, kWidth - 4, kHeight - 4), 9, 9);

    // The push button with the mode ring.
    const QPointF centre(30, kHeight / 2);
    const bool modeLit = m_picture != EConsolePicture::Diesel;
    const QColor modeColour = isGas(m_picture) ? QColor(40, 200, 70) : QColor(255, 170, 0);
    painter.setPen(Qt::NoPen);
    if (modeLit) {
        QRadialGradient halo(centre, 24);
        halo.setColorAt(0.6, QColor(modeColour.red(), modeColour.green(), modeColour.blue(), 140));
        halo.setColorAt(1.0, Qt::transparent);
        painter.setBrush(halo);
        painter.drawEllipse(centre, 24, 24);
    }
    painter.setBrush(modeLit ? modeColour : QColor(60, 60, 64));
    painter.drawEllipse(centre, 17, 17);
    QLinearGradient cap(0, centre.y() - 13, 0, centre.y() + 13);
    cap.setColorAt(0.0, m_pressed ? QColor(40, 40, 44) : QColor(120, 120, 128));
    cap.setColorAt(1.0, m_pressed ? QColor(90, 90, 96) : QColor(45, 45, 50));
    painter.setBrush(cap);
    painter.drawEllipse(centre, 13, 13);

    // A fuel pump on the button.
    painter.setPen(QPen(QColor(225, 225, 225), 1.6));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(QRectF(centre.x() - 6, centre.y() - 6, 8, 12));
    painter.drawLine(QPointF(centre.x() - 4, centre.y() - 3), QPointF(centre.x(), centre.y() - 3));
    QPainterPath hose;
    hose.moveTo(centre.x() + 2, centre.y() - 4);
    hose.lineTo(centre.x() + 6, centre.y() - 1);
    hose.lineTo(centre.x() + 6, centre.y() + 4);
    painter.drawPath(hose);

    // Four fuel level lamps, lowest on the left; level 0 in gas mode lights the reserve lamp.
    const int levels = litLevels(m_picture);
    const bool reserve = m_picture == EConsolePicture::Gas0;
    for (int i = 0; i < 4; ++i) {
        const qreal lampHeight = 14 + i * 7;
        const QRectF lamp(60 + i * 13, kHeight / 2 + 19 - lampHeight, 9, lampHeight);
        if (i == 0 && reserve) {
            drawLamp(painter, lamp, QColor(230, 40, 30), true);
        } else {
            drawLamp(painter, lamp, QColor(40, 200, 70), i < levels);
        }
    }
}

void CConsole::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) {
        m_pressed = true;
        update();
    }
    CCompCtrl::mousePressEvent(event);
}

void CConsole::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton && m_pressed) {
        m_pressed = false;
        update();
        if (rect().contains(event->position().toPoint())) {
            emit clicked();
        }
    }
    CCompCtrl::mouseReleaseEvent(event);
}

} // namespace torva
