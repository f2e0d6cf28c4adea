#pragma once

#include "ui/controls/comp_ctrl.h"
#include "ui/pages/readings/readings_rules.h"

namespace torva {

// The switch panel: a drawing of the dashboard switch with its mode lamp and the four fuel
// level lamps, stretched to the control. A click acts like pressing the switch.
class CConsole : public CCompCtrl {
    Q_OBJECT
public:
    explicit CConsole(QWidget* parent = nullptr);

    void setPicture(EConsolePicture picture);
    EConsolePicture picture() const { return m_picture; }
    bool isPressed() const { return m_pressed; }

    QSize sizeHint() const override { return {120, 60}; }
    QSize minimumSizeHint() const override { return {48, 24}; }

signals:
    void clicked();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    EConsolePicture m_picture = EConsolePicture::Diesel;
    bool m_pressed = false;
};

} // namespace torva
