#pragma once

#include <QColor>
#include <QString>

namespace torva {

// One body cell of a CCellArray: text, background, selected and current marks, and how
// strongly the live trail tints it (0 none, 1 just left).
class CCell {
public:
    void setTxt(const QString& text) { m_text = text; }
    const QString& getTxt() const { return m_text; }
    void setBkColor(const QColor& color) { m_background = color; }
    const QColor& bkColor() const { return m_background; }
    void setSelected(bool selected) { m_selected = selected; }
    bool isSelected() const { return m_selected; }
    void setCurrent(bool current) { m_current = current; }
    bool isCurrent() const { return m_current; }
    void setTrail(double strength) { m_trail = strength; }
    double trail() const { return m_trail; }

private:
    QString m_text;
    QColor m_background = Qt::white;
    bool m_selected = false;
    bool m_current = false;
    double m_trail = 0;
};

} // namespace torva
