#include "ui/pages/charts/chart_tool_icons.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

namespace torva {

namespace {

constexpr int kSize = 32;

void drawClear(QPainter& painter) {
    // A strip chart's trace, struck out.
    painter.setPen(QPen(QColor(90, 90, 90), 2));
    const QPointF trace[] = {{4, 22}, {10, 14}, {15, 19}, {21, 8}, {28, 15}};
    painter.drawPolyline(trace, 5);
    painter.setPen(QPen(QColor(200, 30, 30), 3, Qt::SolidLine, Qt::RoundCap));
    painter.drawLine(QPointF(7, 7), QPointF(25, 25));
    painter.drawLine(QPointF(25, 7), QPointF(7, 25));
}

void drawStopRecording(QPainter& painter) {
    // The record button's dot held in a stop square.
    painter.setPen(QPen(QColor(60, 60, 60), 1.5));
    painter.setBrush(QColor(70, 70, 70));
    painter.drawRoundedRect(QRectF(8, 8, 16, 16), 2, 2);
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(215, 30, 30));
    painter.drawEllipse(QPointF(16, 16), 4, 4);
}

void drawRecord(QPainter& painter) {
    painter.setPen(QPen(QColor(120, 0, 0), 1.5));
    painter.setBrush(QColor(215, 30, 30));
    painter.drawEllipse(QPointF(16, 16), 10, 10);
}

void drawOpen(QPainter& painter) {
    QPainterPath folder;
    folder.moveTo(4, 9);
    folder.lineTo(12, 9);
    folder.lineTo(14, 12);
    folder.lineTo(28, 12);
    folder.lineTo(28, 26);
    folder.lineTo(4, 26);
    folder.closeSubpath();
    painter.setPen(QPen(QColor(140, 100, 20), 1.5));
    painter.setBrush(QColor(240, 195, 80));
    painter.drawPath(folder);
    painter.setBrush(QColor(250, 220, 130));
    const QPointF flap[] = {{4, 26}, {8, 16}, {31, 16}, {28, 26}};
    painter.drawPolygon(flap, 4);
}

} // namespace

QIcon chartToolIcon(EChartTool tool) {
    QPixmap pixmap(kSize, kSize);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    switch (tool) {
    case EChartTool::Clear:
        drawClear(painter);
        break;
    case EChartTool::StopRecording:
        drawStopRecording(painter);
        break;
    case EChartTool::Record:
        drawRecord(painter);
        break;
    case EChartTool::Open:
        drawOpen(painter);
        break;
    }
    painter.end();
    return QIcon(pixmap);
}

QIcon seriesSwatch(const std::vector<SChartRgb>& colours) {
    constexpr int kWidth = 16;
    constexpr int kHeight = 10;
    QPixmap pixmap(kWidth, kHeight);
    pixmap.fill(Qt::transparent);
    if (!colours.empty()) {
        QPainter painter(&pixmap);
        const int stripe = kWidth / static_cast<int>(colours.size());
        for (std::size_t i = 0; i < colours.size(); ++i) {
            const SChartRgb& rgb = colours[i];
            painter.fillRect(static_cast<int>(i) * stripe, 0, stripe, kHeight,
                             QColor(rgb.r, rgb.g, rgb.b));
        }
        painter.setPen(QColor(80, 80, 80));
        painter.drawRect(0, 0, kWidth - 1, kHeight - 1);
    }
    return QIcon(pixmap);
}

} // namespace torva
