#include "ui/pages/calibration/calibration_pages.h"

#include "diag/diag_sample_values.h"
#include "link/lpg_device.h"
#include "ui/controls/transparent_static.h"
#include "ui/pages/common/up_down_field.h"

#include <QLineEdit>

namespace torva {

using namespace calibration;

namespace {

const SUpDownRule kMapCutOffShown{.step = 0.01, .min = 0, .max = 12, .format = "%.2f"};

} // namespace

// ---- Channel 1 ----------------------------------------------------------------------------------
CCalibration1::CCalibration1(CLPGDevice& device, QWidget* parent)
    : CCalibrationPage(device, EEmuChannel::Emu1, "CCalibration1", parent) {
    m_mapCutOff = new CUpDownField(kMapCutOffShown);
    connect(m_mapCutOff, &CUpDownField::stepped, this, &CCalibration1::OnDeltaposSpinMapCutOff);
    m_mapCutOffLabel = addField(PL("Próg odcięcia gazu"), m_mapCutOff, "V");
    applySettingsShape();
}

void CCalibration1::applySettingsShape() {
    const bool shown = showsMapCutOff(device().config());
    m_mapCutOff->setVisible(shown);
    m_mapCutOffLabel->setVisible(shown);
}

void CCalibration1::refreshExtras(const CDeviceConfig& config) {
    m_mapCutOff->showValue(config.m_serviceSetup.m_mapCutOff);
}

void CCalibration1::OnDeltaposSpinMapCutOff(int clicks) {
    handle("OnDeltaposSpinMapCutOff", [&] {
        const double shown = device().withConfig([&](CDeviceConfig& config) {
            double& cutOff = config.m_serviceSetup.m_mapCutOff;
            cutOff = stepMapCutOff(cutOff, clicks > 0 ? 1 : -1);
            return cutOff;
        });
        m_mapCutOff->showValue(shown);
        writeSettings();
    });
}

// ---- Channel 2 ----------------------------------------------------------------------------------
CCalibration2::CCalibration2(CLPGDevice& device, QWidget* parent)
    : CCalibrationPage(device, EEmuChannel::Emu2, "CCalibration2", parent) {
    applySettingsShape();
}

void CCalibration2::applySettingsShape() {
    setOffsetShown(!isTempomatCase(device().config()));
}

// ---- Channel 4 ----------------------------------------------------------------------------------
CCalibration4::CCalibration4(CLPGDevice& device, QWidget* parent)
    : CCalibrationPage(device, EEmuChannel::Emu4, "CCalibration4", parent) {}

// ---- Digital TPS --------------------------------------------------------------------------------
CCalibrationTPSDigital::CCalibrationTPSDigital(CLPGDevice& device, QWidget* parent)
    : CCalibrationPage(device, EEmuChannel::TpsDigital, "CCalibrationTPSDigital", parent) {
    static constexpr const char* kCaptions[] = {
        PL("Impuls1"),      PL("Impuls2"),      PL("Period1"),      PL("Period2"),
        PL("PWM wejście1"), PL("PWM wejście2"), PL("PWM wyjście1"), PL("PWM wyjście2")};
    for (int i = 0; i < 8; ++i) {
        m_fields[i] = newLiveField();
        addField(kCaptions[i], m_fields[i], i < 4 ? "ms" : "%");
    }
}

void CCalibrationTPSDigital::refreshLiveExtras(const SLiveValues& live) {
    const STpsDigitalLive values = tpsDigitalLive(live);
    const double shown[] = {values.pulse1, values.pulse2, values.period1, values.period2,
                            values.pwmIn1, values.pwmIn2, values.pwmOut1, values.pwmOut2};
    for (int i = 0; i < 8; ++i)
        m_fields[i]->setText(QString::number(shown[i], 'f', 2));
}

} // namespace torva
