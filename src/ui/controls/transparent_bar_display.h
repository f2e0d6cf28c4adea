#pragma once

#include <QColor>
#include <QString>
#include <QWidget>

namespace torva {

// A horizontal bar gauge drawn over whatever lies behind it: the caption and the value text on
// one line, the bar below, the scale marks under the bar. The bar covers the value's place in
// the scale, limited to the scale's ends; the text shows the value itself, through a
// printf-style format ("%i RPM", "%.2f ms").
class CTransparentBarDisplay : public QWidget {
    Q_OBJECT
public:
    explicit CTransparentBarDisplay(QWidget* parent = nullptr);
    CTransparentBarDisplay(const QString& caption, const QString& format, double maximum,
                           int divisions, QWidget* parent = nullptr);

    void setCaption(const QString& caption);
    QString caption() const { return m_caption; }
    void setFormat(const QString& format);
    QString format() const { return m_format; }
    // The scale runs from minimum (0 unless set) to maximum.
    void setMaximum(double maximum);
    void setRange(double minimum, double maximum);
    double minimum() const { return m_minimum; }
    double maximum() const { return m_maximum; }
    // Number of scale divisions; the scale has one mark more than divisions.
    void setDivisions(int divisions);
    int divisions() const { return m_divisions; }

    void setPos(double value);
    double value() const { return m_value; }
    // No value to show (the controller is gone): an empty bar and no value text, until the next
    // setPos.
    void clearValue();
    bool hasValue() const { return m_hasValue; }
    // The part of the bar that is filled, 0…1.
    double fraction() const;
    QString valueText() const;

    // An invalid colour means the visual manager's accent colour (bar) or text colour (text).
    void setBarColor(const QColor& colour);
    QColor barColor() const;
    void setTextColor(const QColor& colour);
    QColor textColor() const;

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QString m_caption;
    QString m_format = QStringLiteral("%.2f");
    double m_minimum = 0.0;
    double m_maximum = 100.0;
    int m_divisions = 10;
    double m_value = 0.0;
    bool m_hasValue = true;
    QColor m_barColour;
    QColor m_textColour;
};

} // namespace torva
