#pragma once

#include "ui/pages/calibration/calibration_page.h"

#include <array>

class QCheckBox;

namespace torva {

// "Mapa Map Sensor": channel 1, with the gas cut-off threshold from firmware 265 on.
class CCalibration1 : public CCalibrationPage {
    Q_OBJECT
public:
    explicit CCalibration1(CLPGDevice& device, QWidget* parent = nullptr);
    CUpDownField* mapCutOffField() const { return m_mapCutOff; }
    void OnDeltaposSpinMapCutOff(int clicks);

protected:
    void applySettingsShape() override;
    void refreshExtras(const CDeviceConfig& config) override;

private:
    CUpDownField* m_mapCutOff = nullptr;
    CTransparentStatic* m_mapCutOffLabel = nullptr;
};

// "Mapa MAF", or "Mapa Tempomat" when channel 2 serves the tempomat (no switch, no offset).
class CCalibration2 : public CCalibrationPage {
    Q_OBJECT
public:
    explicit CCalibration2(CLPGDevice& device, QWidget* parent = nullptr);

protected:
    void applySettingsShape() override;
};

// "Mapa TPS 1": channel 3, with the TPS jump limiter and the correlation table.
class CCalibration3 : public CCalibrationPage {
    Q_OBJECT
public:
    explicit CCalibration3(CLPGDevice& device, QWidget* parent = nullptr);

    CUpDownField* tpsJumpField() const { return m_tpsJump; }
    CUpDownField* emLimitDelayField() const { return m_emLimitDelay; }
    // EMU1...EMU4, then "Mapa gazowa" (calibration::ETpsLimitBox order).
    QCheckBox* limitBox(calibration::ETpsLimitBox box) const {
        return m_boxes[static_cast<int>(box)];
    }
    QPushButton* correlationButton() const { return m_correlation; }

    void OnDeltaposSpinTpsJump(int clicks);
    void OnDeltaposSpinEmLimitDelay(int clicks);
    void OnClickedChkEmu1Flag();
    void OnClickedChkEmu2Flag();
    void OnClickedChkEmu3Flag();
    void OnClickedChkEmu4Flag();
    void OnClickedChkGasMapFlag();
    void OnClickedBtnTps2Out();

protected:
    void refreshExtras(const CDeviceConfig& config) override;

private:
    void clickLimitBox(const char* handler, calibration::ETpsLimitBox box);
    void showLimitBoxes(std::uint8_t flags);

    CUpDownField* m_tpsJump = nullptr;
    CUpDownField* m_emLimitDelay = nullptr;
    std::array<QCheckBox*, 5> m_boxes{};
    QPushButton* m_correlation = nullptr;
};

// "Mapa TPS 2": channel 4.
class CCalibration4 : public CCalibrationPage {
    Q_OBJECT
public:
    explicit CCalibration4(CLPGDevice& device, QWidget* parent = nullptr);
};

// "Mapa TPS cyfr.": the digital TPS channel, with its pulse, period and PWM readings.
class CCalibrationTPSDigital : public CCalibrationPage {
    Q_OBJECT
public:
    explicit CCalibrationTPSDigital(CLPGDevice& device, QWidget* parent = nullptr);
    // Impuls1, Impuls2, Period1, Period2, PWM wejście1, PWM wejście2, PWM wyjście1, PWM wyjście2.
    QLineEdit* pulseField(int index) const { return m_fields[index]; }

protected:
    void refreshLiveExtras(const SLiveValues& live) override;

private:
    std::array<QLineEdit*, 8> m_fields{};
};

} // namespace torva
