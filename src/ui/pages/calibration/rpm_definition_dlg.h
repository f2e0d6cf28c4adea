#pragma once

#include "config/device_config.h"
#include "ui/controls/gradient_dialog.h"

class QLabel;
class QLineEdit;
class QPushButton;

namespace torva {

// "Zakres RPM": the shared RPM axis regenerated from its end points. OK is taken only when the
// range passes the RPM rules; the caller writes rpmAxis() (updateLiveAxes) and refreshes.
class CRpmDefinitionDlg : public CGradientDialog {
    Q_OBJECT
public:
    // The end points shown when the dialog opens (the caller passes the axis' first and last).
    explicit CRpmDefinitionDlg(double minRpm = 500, double maxRpm = 3000,
                               QWidget* parent = nullptr);

    // After OK: the new axis.
    const RpmAxis& rpmAxis() const { return m_rpmAxis; }

    QLineEdit* minRpmEdit() const { return m_minRpm; }
    QLineEdit* maxRpmEdit() const { return m_maxRpm; }
    QPushButton* okButton() const { return m_ok; }
    QLabel* problemLabel() const { return m_problem; }

private:
    void OnOK();

    RpmAxis m_rpmAxis{};
    QLineEdit* m_minRpm;
    QLineEdit* m_maxRpm;
    QLabel* m_problem;
    QPushButton* m_ok;
    QPushButton* m_cancel;
};

} // namespace torva
