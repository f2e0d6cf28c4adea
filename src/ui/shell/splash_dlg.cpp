#include "ui/shell/splash_dlg.h"

#include "ui/shell/caption_text.h"
#include "ui/shell/program_icon.h"

#include <QApplication>
#include <QPainter>
#include <QScreen>

namespace torva {

namespace {
// 484 × 255 dialog units at the usual 1.5 pixels per unit.
constexpr QSize kSplashSize(726, 383);
} // namespace

CSplashDlg::CSplashDlg(QWidget* parent)
    : QWidget(parent, Qt::SplashScreen | Qt::FramelessWindowHint) {
    setFixedSize(kSplashSize);
}

void CSplashDlg::showCentred() {
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        const QRect area = screen->availableGeometry();
        move(area.center() - rect().center());
    }
    show();
    repaint();
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

void CSplashDlg::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF area = rect();

    QLinearGradient sky(0, 0, 0, area.height());
    sky.setColorAt(0.0, QColor(60, 60, 64));
    sky.setColorAt(1.0, QColor(20, 20, 22));
    painter.fillRect(area, sky);

    // A band of the accent colour across the lower third.
    QLinearGradient band(0, 0, area.width(), 0);
    band.setColorAt(0.0, QColor(160, 0, 0));
    band.setColorAt(1.0, QColor(90, 0, 0));
    const QRectF bandRect(0, area.height() * 0.66, area.width(), area.height() * 0.12);
    painter.fillRect(bandRect, band);

    const qreal side = area.height() * 0.42;
    paintProgramEmblem(painter, QRectF(area.width() * 0.08, area.height() * 0.16, side, side));

    QFont title(QStringLiteral("Tahoma"));
    title.setBold(true);
    title.setPixelSize(int(area.height() * 0.16));
    painter.setFont(title);
    painter.setPen(Qt::white);
    const QRectF text(area.width() * 0.08 + side + 24, area.height() * 0.16,
                      area.width() * 0.9 - side - 24, side);
    painter.drawText(text, Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("TORVA\nDIESEL"));

    QFont small(QStringLiteral("Tahoma"));
    small.setPixelSize(int(area.height() * 0.05));
    painter.setFont(small);
    painter.drawText(bandRect.adjusted(24, 0, -24, 0), Qt::AlignRight | Qt::AlignVCenter,
                     QString::fromLatin1(kProgramVersion));
    painter.setPen(QColor(255, 255, 255, 60));
    painter.drawRect(area.adjusted(0, 0, -1, -1));
}

} // namespace torva
