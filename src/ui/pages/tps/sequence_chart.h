#pragma once

#include "ui/pages/tps/sequence_capture.h"

#include <QWidget>

namespace torva {

// The captured RPM (blue) and camshaft (green) edges as pulse trains on one time axis, the
// whole capture across the width.
class CSequenceChart : public QWidget {
    Q_OBJECT
public:
    explicit CSequenceChart(QWidget* parent = nullptr);

    void setPulses(SSequencePulses pulses);
    const SSequencePulses& pulses() const { return m_pulses; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    SSequencePulses m_pulses;
};

} // namespace torva
