#pragma once

#include "ui/controls/gradient_dialog.h"

namespace torva {

class CLPGDevice;
class CTPSCorelationChart;

// "Korelacja TPS2": whether the second TPS follows the first, plotted live while it is open.
class CTPS2CorelationDlg : public CGradientDialog {
    Q_OBJECT
public:
    explicit CTPS2CorelationDlg(CLPGDevice& device, QWidget* parent = nullptr);

    CTPSCorelationChart& chart() const { return *m_chart; }

protected:
    void done(int result) override;

private:
    CTPSCorelationChart* m_chart;
};

} // namespace torva
