#pragma once

#include "ui/controls/gradient_dialog.h"

namespace torva {

class CLPGDevice;
class CSequenceChart;

// "Kalibracja sygnałów dla sekwencji gazowej": fetches the controller's captured RPM and
// camshaft edges and draws them. "Zapisz sygnał" and "Wczytaj sygnał" do nothing yet; the four
// threshold and divider fields are neither filled nor read.
class CSeqCalibrationDlg : public CGradientDialog {
    Q_OBJECT
public:
    explicit CSeqCalibrationDlg(CLPGDevice& device, QWidget* parent = nullptr);

    void OnBnClickedBtnCalibrate();
    CSequenceChart& chart() const { return *m_chart; }

private:
    CLPGDevice& m_device;
    CSequenceChart* m_chart;
};

} // namespace torva
