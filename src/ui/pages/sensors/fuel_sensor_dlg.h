#pragma once

#include "ui/controls/gradient_dialog.h"
#include "ui/pages/sensors/fuel_sensor_actions.h"

#include <QTimer>

#include <array>

class QLabel;
class QLineEdit;
class QPushButton;
class QWidget;

namespace torva {

class CLPGDevice;
class CTransparentBarDisplay;
class CTransparentCheckBox;
class CTransparentGroupBox;
class CUpDownField;
class CValueCombo;

// "Czujnik poziomu gazu", opened from the settings page: the gas tank level sensor's type,
// thresholds, calibration from a live reading, the virtual sensor's litres and four switches.
// Every change is written to the controller at once.
class CFuelSensorDlg : public CGradientDialog {
    Q_OBJECT
public:
    explicit CFuelSensorDlg(CLPGDevice& device, QWidget* parent = nullptr);

    // Shows the live record again.
    void fillFromConfig();
    // One tick of the level display (every fifth of the 500 ms timer's).
    void showLiveLevel();

    void OnSelendokCmbType();
    void OnClickedSwitch(EFuelSensorSwitch which, bool on);
    void OnDeltaposSpinThreshold(EFuelThreshold threshold, int clicks);
    void OnBnClickedBtnSetMin();
    void OnBnClickedBtnSetMax();
    void OnDeltaposSpinLiters(int clicks);

    CValueCombo* typeCombo() const { return m_type; }
    CUpDownField* thresholdField(EFuelThreshold threshold) const {
        return m_thresholds[static_cast<std::size_t>(threshold)];
    }
    CTransparentCheckBox* switchBox(EFuelSensorSwitch which) const {
        return m_switches[static_cast<std::size_t>(which)];
    }
    QPushButton* setMinButton() const { return m_setMin; }
    QPushButton* setMaxButton() const { return m_setMax; }
    QLineEdit* levelEdit() const { return m_level; }
    CTransparentBarDisplay* levelBar() const { return m_levelBar; }
    CTransparentGroupBox* virtualGroup() const { return m_virtualGroup; }
    CTransparentGroupBox* calibrationGroup() const { return m_calibrationGroup; }

private:
    QWidget* buildTypeGroup();
    QWidget* buildCalibrationGroup();
    QWidget* buildVirtualGroup();
    void showThresholds();
    void showType(int type);
    void showLevel(std::uint8_t raw);
    void onTimer();

    CLPGDevice& m_device;
    CFuelSensorActions m_actions;
    QTimer m_timer;
    int m_ticks = 0;
    int m_shownType = 0;

    CValueCombo* m_type = nullptr;
    std::array<CTransparentCheckBox*, 4> m_switches{};
    std::array<CUpDownField*, 4> m_thresholds{};
    QLabel* m_barUnit = nullptr;
    QLineEdit* m_level = nullptr;
    CTransparentBarDisplay* m_levelBar = nullptr;
    QPushButton* m_setMin = nullptr;
    QPushButton* m_setMax = nullptr;
    CUpDownField* m_liters = nullptr;
    CTransparentGroupBox* m_calibrationGroup = nullptr;
    CTransparentGroupBox* m_virtualGroup = nullptr;
};

} // namespace torva
