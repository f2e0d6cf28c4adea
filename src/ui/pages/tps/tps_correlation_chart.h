#pragma once

#include "ui/controls/comp_ctrl.h"
#include "ui/pages/tps/tps_correlation_points.h"

class QTimer;

namespace torva {

class CLPGDevice;

// Live TPS 1 / TPS 2 pairs on a 0-5 V square: inputs red, outputs blue. While running, a
// 200 ms timer of its own adds the newest live sample's pairs.
class CTPSCorelationChart : public CCompCtrl {
    Q_OBJECT
public:
    explicit CTPSCorelationChart(CLPGDevice& device, QWidget* parent = nullptr);

    void start();
    // Stops the timer and drops the points.
    void stop();
    // One timer tick: adds the newest sample's pairs while a controller is connected.
    void tick();
    void addSample(const DiagSample& sample);
    const CTpsCorrelationPoints& points() const { return m_points; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    CLPGDevice& m_device;
    CTpsCorrelationPoints m_points;
    QTimer* m_timer;
};

} // namespace torva
