// The settings page's handlers: each reads its control, runs its action (CSettingsActions) and
// shows the record again; errors name the handler.
#include "ui/pages/settings/settings_dlg.h"

#include "document/axis_update.h"
#include "link/lpg_device.h"
#include "platform/user_interface.h"
#include "ui/pages/calibration/rpm_definition_dlg.h"
#include "ui/pages/common/page_messages.h"
#include "ui/pages/common/value_combo.h"
#include "ui/pages/sensors/fuel_sensor_dlg.h"
#include "ui/pages/settings/tps_calibration.h"
#include "ui/pages/tps/seq_calibration_dlg.h"
#include "ui/pages/tps/tps2_corelation_dlg.h"

namespace torva {

namespace {

// The handler names the error context lines carry.
const char* spinContext(ESettingsSpin spin) {
    switch (spin) {
    case ESettingsSpin::SwitchRpm:
        return "CSettingsDlg::OnDeltaposSpinRpmSwitch()";
    case ESettingsSpin::TorvaDivider:
        return "CSettingsDlg::OnDeltaposSpinTorvaDivider()";
    case ESettingsSpin::SwitchTempr:
        return "CSettingsDlg::OnDeltaposSpinTemprSwitch()";
    case ESettingsSpin::PressureRef:
        return "CSettingsDlg::OnDeltaposSpinPressureRef()";
    case ESettingsSpin::SwitchPressure:
        return "CSettingsDlg::OnDeltaposSpinPressureSwitch()";
    case ESettingsSpin::MinVcc:
        return "CSettingsDlg::OnDeltaposSpinMinVcc()";
    case ESettingsSpin::Pwm:
        return "CSettingsDlg::OnDeltaposSpinPwm()";
    case ESettingsSpin::PwmOffset:
        return "CSettingsDlg::OnDeltaposSpinPwmOffset()";
    case ESettingsSpin::RpmTh:
        return "CSettingsDlg::OnDeltaposSpinRpmTh()";
    case ESettingsSpin::MaxRpm:
        return "CSettingsDlg::OnDeltaposSpinMaxRpm()";
    case ESettingsSpin::CrInjCutOffTime:
        return "CSettingsDlg::OnDeltaposSpinCrInjCutOffTime()";
    case ESettingsSpin::TpsCutOff:
        return "CSettingsDlg::OnDeltaposSpinTpsCutOff()";
    case ESettingsSpin::TpsDetect:
        return "CSettingsDlg::OnDeltaposSpinTpsDetect()";
    case ESettingsSpin::TurboDetect:
        return "CSettingsDlg::OnDeltaposSpinTurboDetect()";
    case ESettingsSpin::RpmDetect:
        return "CSettingsDlg::OnDeltaposSpinRpmDetect()";
    case ESettingsSpin::DetectTime:
        return "CSettingsDlg::OnDeltaposSpinDetectTime()";
    case ESettingsSpin::CamshaftTh:
        return "CSettingsDlg::OnDeltaposSpinCamshaftTh()";
    case ESettingsSpin::InjDelayAngle:
        return "CSettingsDlg::OnDeltaposSpinInjDelayAngle()";
    case ESettingsSpin::MinGasTempr:
        return "CSettingsDlg::OnDeltaposSpinMinGasTempr()";
    }
    return "CSettingsDlg::OnDeltaposSpin()";
}

const char* comboContext(ESettingsCombo combo) {
    switch (combo) {
    case ESettingsCombo::FuelType:
        return "CSettingsDlg::OnSelendokCmbFuelType()";
    case ESettingsCombo::RpmSignalType:
        return "CSettingsDlg::OnSelendokCmbRpmType()";
    case ESettingsCombo::TpsType:
        return "CSettingsDlg::OnSelendokCmbTpsType()";
    case ESettingsCombo::PressureSensor:
        return "CSettingsDlg::OnSelendokCmbPressureType()";
    case ESettingsCombo::ReducerSensor:
        return "CSettingsDlg::OnSelendokCmbReducerSensor()";
    case ESettingsCombo::GasSensor:
        return "CSettingsDlg::OnSelendokCmbGasSensor()";
    case ESettingsCombo::MapSensorEmulator:
        return "CSettingsDlg::OnSelendokCmbEmu1()";
    case ESettingsCombo::MafEmulator:
        return "CSettingsDlg::OnSelendokCmbEmu2()";
    case ESettingsCombo::Tps1Emulator:
        return "CSettingsDlg::OnSelendokCmbEmu3()";
    case ESettingsCombo::Tps2Emulator:
        return "CSettingsDlg::OnSelendokCmbEmu4()";
    case ESettingsCombo::DigitalTpsEmulator:
        return "CSettingsDlg::OnSelendokCmbEmuTpsDigit()";
    case ESettingsCombo::InjectionControl:
        return "CSettingsDlg::OnSelendokCmbSeqType()";
    case ESettingsCombo::IgnitionOrder:
        return "CSettingsDlg::OnSelendokCmbIgnitionOrder()";
    case ESettingsCombo::InjectorType:
        return "CSettingsDlg::OnSelendokCmbInjectorType()";
    case ESettingsCombo::MountedInjectors:
        return "CSettingsDlg::OnSelendokCmbInjMounted()";
    }
    return "CSettingsDlg::OnSelendokCmb()";
}

const char* checkContext(ESettingsCheck check) {
    switch (check) {
    case ESettingsCheck::WorkMachines:
        return "CSettingsDlg::OnClickedChkWorkMachines()";
    case ESettingsCheck::TpsDouble:
        return "CSettingsDlg::OnClickedChkTpsDouble()";
    case ESettingsCheck::Tempomat:
        return "CSettingsDlg::OnClickedChkTempomat()";
    case ESettingsCheck::MapAveraging:
        return "CSettingsDlg::OnClickedChkMapAveraging()";
    case ESettingsCheck::PercentScale:
        return "CSettingsDlg::OnClickedChkPercentScale()";
    case ESettingsCheck::GasMapWithoutEmulation:
        return "CSettingsDlg::OnClickedChkGasMapWithoutEmulation()";
    case ESettingsCheck::MinGasTemprCheck:
        return "CSettingsDlg::OnClickedChkMinGasTempr()";
    }
    return "CSettingsDlg::OnClickedChk()";
}

} // namespace

void CSettingsDlg::OnDeltaposSpin(ESettingsSpin spin, int clicks) {
    handle(spinContext(spin), [&] {
        m_actions.stepSpin(spin, clicks > 0 ? +1 : -1);
        showSpin(spin);
    });
}

void CSettingsDlg::OnSelendokCmb(ESettingsCombo combo) {
    handle(comboContext(combo), [&] {
        const std::optional<int> chosen = m_combos.at(combo)->selectedValue();
        if (chosen) {
            const int value = *chosen;
            switch (combo) {
            case ESettingsCombo::FuelType:
                m_actions.selectFuelType(value);
                break;
            case ESettingsCombo::RpmSignalType:
                m_actions.selectRpmSignalType(value);
                break;
            case ESettingsCombo::TpsType:
                m_actions.selectTpsType(value);
                break;
            case ESettingsCombo::PressureSensor:
                m_actions.selectPressureType(value);
                break;
            case ESettingsCombo::ReducerSensor:
                m_actions.selectReducerTemperatureSensor(value);
                break;
            case ESettingsCombo::GasSensor:
                m_actions.selectGasTemperatureSensor(value);
                break;
            case ESettingsCombo::MapSensorEmulator:
                m_actions.selectEmulator(0, value);
                break;
            case ESettingsCombo::MafEmulator:
                m_actions.selectEmulator(1, value);
                break;
            case ESettingsCombo::Tps1Emulator:
                m_actions.selectEmulator(2, value);
                break;
            case ESettingsCombo::Tps2Emulator:
                m_actions.selectEmulator(3, value);
                break;
            case ESettingsCombo::DigitalTpsEmulator:
                m_actions.selectDigitalTpsEmulator(value);
                break;
            case ESettingsCombo::InjectionControl:
                m_actions.selectInjectionControl(value);
                break;
            case ESettingsCombo::IgnitionOrder:
                m_actions.selectIgnitionOrder(value);
                break;
            case ESettingsCombo::InjectorType:
                m_actions.selectInjectorType(value);
                break;
            case ESettingsCombo::MountedInjectors:
                m_actions.selectMountedInjectors(value);
                break;
            }
        }
        // The controls show the record, whichever way the handler ended.
        fillFromConfig();
    });
}

void CSettingsDlg::OnSelendokCmbFuelSensorType() {
    handle("CSettingsDlg::OnSelendokCmbFuelSensorType()", [&] {
        if (const std::optional<int> chosen = m_fuelSensor->selectedValue())
            m_actions.selectFuelSensorType(*chosen);
        fillFromConfig();
    });
}

void CSettingsDlg::OnClickedChk(ESettingsCheck check, bool on) {
    handle(checkContext(check), [&] {
        switch (check) {
        case ESettingsCheck::WorkMachines:
            m_actions.setWorkMachines(on);
            break;
        case ESettingsCheck::TpsDouble:
            m_actions.setTpsDouble(on);
            break;
        case ESettingsCheck::Tempomat:
            m_actions.setTempomat(on);
            break;
        case ESettingsCheck::MapAveraging:
            m_actions.setMapAveraging(on);
            break;
        case ESettingsCheck::PercentScale:
            m_actions.setPercentScale(on);
            break;
        case ESettingsCheck::GasMapWithoutEmulation:
            m_actions.setGasMapWithoutEmulation(on);
            break;
        case ESettingsCheck::MinGasTemprCheck:
            m_actions.setMinGasTemprCheck(on);
            break;
        }
        fillFromConfig();
    });
}

void CSettingsDlg::OnClickedBtnTpsCalibration() {
    handle("CSettingsDlg::OnClickedBtnTpsCalibration()", [&] {
        CTpsCalibration(device(), appUi()).run();
        fillFromConfig();
    });
}

void CSettingsDlg::OnClickedBtnRpmDefinition() {
    handle("CSettingsDlg::OnClickedBtnRpmDefinition()", [&] {
        if (!device().isConnected())
            return;
        const RpmAxis& axis = device().config().m_mapRpmCoordinatesEmu1;
        CRpmDefinitionDlg dialog(axis.front(), axis.back(), this);
        if (dialog.exec() != QDialog::Accepted)
            return;
        SNewAxes axes;
        axes.rpm = dialog.rpmAxis();
        if (updateLiveAxes(device(), EEmuChannel::Emu1, axes) == EAxisWrite::WriteFailed)
            appUi().message(page_message::kWriteFailed, "TORVA", EIcon::Error);
        requestRefresh();
    });
}

void CSettingsDlg::OnBnClickedBtnTps2Correlation() {
    handle("CSettingsDlg::OnBnClickedBtnTps2Correlation()", [&] {
        CTPS2CorelationDlg dialog(device(), this);
        dialog.exec();
    });
}

void CSettingsDlg::OnBnClickedBtnSeqCalibration() {
    handle("CSettingsDlg::OnBnClickedBtnSeqCalibration()", [&] {
        CSeqCalibrationDlg dialog(device(), this);
        dialog.exec();
    });
}

void CSettingsDlg::OnBnClickedBtnFuelSensor() {
    handle("CSettingsDlg::OnBnClickedBtnFuelSensor()", [&] {
        CFuelSensorDlg dialog(device(), this);
        dialog.exec();
        fillFromConfig();
    });
}

} // namespace torva
