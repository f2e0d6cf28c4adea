#include "ui/controls/msm_caption_bar.h"

#include "ui/controls/msm_visual_manager.h"

#include <QAbstractButton>
#include <QMouseEvent>
#include <QPainter>
#include <QWindow>

namespace torva {

namespace {

enum class EWindowButton { Minimise, Maximise, Close };

// A flat window button that draws its own glyph, so no font needs the symbols.
class CWindowButton : public QAbstractButton {
public:
    CWindowButton(EWindowButton kind, QWidget* parent) : QAbstractButton(parent), m_kind(kind) {
        setFocusPolicy(Qt::NoFocus);
        setAttribute(Qt::WA_Hover);
    }

protected:
    void paintEvent(QPaintEvent*) override {
        const auto& colours = CMSMVisualManager::get().colours();
        QPainter painter(this);
        painter.setRenderHint(QPainter::Antialiasing);
        const bool hovered = testAttribute(Qt::WA_UnderMouse);
        QColor glyph = colours.text;
        if (hovered || isDown()) {
            const QColor face =
                m_kind == EWindowButton::Close ? colours.accent : colours.caption.darker(112);
            painter.fillRect(rect(), isDown() ? face.darker(115) : face);
            if (m_kind == EWindowButton::Close) {
                glyph = colours.accentText;
            }
        }
        const qreal side = std::max(6.0, height() * 0.28);
        const QRectF box(width() / 2.0 - side / 2, height() / 2.0 - side / 2, side, side);
        painter.setPen(QPen(glyph, 1.2));
        switch (m_kind) {
        case EWindowButton::Minimise:
            painter.drawLine(QPointF(box.left(), box.center().y()),
                             QPointF(box.right(), box.center().y()));
            break;
        case EWindowButton::Maximise:
            painter.drawRect(box);
            break;
        case EWindowButton::Close:
            painter.drawLine(box.topLeft(), box.bottomRight());
            painter.drawLine(box.bottomLeft(), box.topRight());
            break;
        }
    }

private:
    EWindowButton m_kind;
};

} // namespace

CMSMCaptionBar::CMSMCaptionBar(QWidget* parent)
    : QWidget(parent), m_font(font()), m_minimise(new CWindowButton(EWindowButton::Minimise, this)),
      m_maximise(new CWindowButton(EWindowButton::Maximise, this)),
      m_close(new CWindowButton(EWindowButton::Close, this)) {
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    connect(m_minimise, &QAbstractButton::clicked, this, [this] { window()->showMinimized(); });
    connect(m_maximise, &QAbstractButton::clicked, this, [this] { toggleMaximised(); });
    connect(m_close, &QAbstractButton::clicked, this, [this] { window()->close(); });
}

void CMSMCaptionBar::setCaptionText(const QString& text) {
    if (text != m_text) {
        m_text = text;
        update();
    }
}

void CMSMCaptionBar::setIcon(const QIcon& icon) {
    m_icon = icon;
    update();
}

void CMSMCaptionBar::setCaptionFont(const QFont& font) {
    m_font = font;
    updateGeometry();
    placeButtons();
    update();
}

void CMSMCaptionBar::setSystemButtonsVisible(bool visible) {
    for (QAbstractButton* button : {m_minimise, m_maximise, m_close}) {
        button->setVisible(visible);
    }
    update();
}

int CMSMCaptionBar::barHeight() const {
    return QFontMetrics(m_font).height() + 14;
}

QSize CMSMCaptionBar::sizeHint() const {
    return {400, barHeight()};
}

QSize CMSMCaptionBar::minimumSizeHint() const {
    return {100, barHeight()};
}

void CMSMCaptionBar::placeButtons() {
    const int side = height();
    const int width = side * 4 / 3;
    int right = this->width();
    for (QAbstractButton* button : {m_close, m_maximise, m_minimise}) {
        right -= width;
        button->setGeometry(right, 0, width, side);
    }
}

void CMSMCaptionBar::resizeEvent(QResizeEvent* event) {
    placeButtons();
    QWidget::resizeEvent(event);
}

void CMSMCaptionBar::paintEvent(QPaintEvent*) {
    const auto& colours = CMSMVisualManager::get().colours();
    QPainter painter(this);
    QLinearGradient gradient(0, 0, 0, height());
    gradient.setColorAt(0.0, colours.caption.lighter(110));
    gradient.setColorAt(1.0, colours.caption.darker(104));
    painter.fillRect(rect(), gradient);
    painter.fillRect(QRect(0, height() - 1, width(), 1), colours.caption.darker(125));

    int left = 8;
    if (!m_icon.isNull()) {
        const int side = height() - 10;
        m_icon.paint(&painter, QRect(left, 5, side, side));
        left += side + 8;
    }
    const int right = m_close->isVisibleTo(this) ? m_minimise->geometry().left() - 8 : width() - 8;
    const QRect textRect(left, 0, std::max(0, right - left), height());
    painter.setFont(m_font);
    painter.setPen(colours.text);
    painter.drawText(textRect, Qt::AlignLeft | Qt::AlignVCenter,
                     QFontMetrics(m_font).elidedText(m_text, Qt::ElideRight, textRect.width()));
}

void CMSMCaptionBar::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton && window()->windowHandle()) {
        window()->windowHandle()->startSystemMove();
        event->accept();
        return;
    }
    QWidget::mousePressEvent(event);
}

void CMSMCaptionBar::mouseDoubleClickEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) {
        toggleMaximised();
        event->accept();
        return;
    }
    QWidget::mouseDoubleClickEvent(event);
}

void CMSMCaptionBar::toggleMaximised() {
    QWidget* frame = window();
    if (frame->isMaximized()) {
        frame->showNormal();
    } else {
        frame->showMaximized();
    }
}

} // namespace torva
