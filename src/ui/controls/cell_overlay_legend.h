#pragma once

#include <QWidget>

namespace torva {

// The legend of an overlay's shades: the low label, a strip from the lightest to the darkest
// shade, the high label, then the mark of cells where nothing happened and its caption.
class CCellOverlayLegend : public QWidget {
    Q_OBJECT
public:
    explicit CCellOverlayLegend(QWidget* parent = nullptr);

    void setTexts(const QString& low, const QString& high, const QString& emptyCaption);
    QSize sizeHint() const override;
    QSize minimumSizeHint() const override { return sizeHint(); }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QString m_low;
    QString m_high;
    QString m_emptyCaption;
};

} // namespace torva
