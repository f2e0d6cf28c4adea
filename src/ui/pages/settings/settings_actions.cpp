#include "ui/pages/settings/settings_actions.h"

#include "config/device_config.h"
#include "lang/source_text.h"
#include "link/diag_sample.h"
#include "link/lpg_device.h"
#include "platform/user_interface.h"
#include "ui/pages/common/page_messages.h"
#include "ui/pages/common/reported_write.h"
#include "ui/pages/common/responsive_call.h"
#include "ui/pages/sensors/fuel_sensor_actions.h"
#include "ui/pages/settings/settings_changes.h"

namespace torva {

namespace {

constexpr const char* kCaption = "TORVA";
constexpr const char* kWriteFailed = PL("Nie powiodło się wpisanie ustawień do urządzenia!");
constexpr const char* kSetupFailed = PL("Nie powiodło się ustawienie urządzenia!");
constexpr const char* kResetFailed = PL("Nie powiodło się zresetowanie urządzenia!");

constexpr int kAfterResetWaitMs = 1000;
constexpr std::int32_t kTempomatWithGasSensorVersion = 265;

} // namespace

CSettingsActions::CSettingsActions(CLPGDevice& device, IUserInterface& ui, RefreshRequest refresh)
    : m_device(device), m_ui(ui), m_refresh(std::move(refresh)) {}

bool CSettingsActions::connected() const {
    return m_device.isConnected();
}

void CSettingsActions::failed(const char* text) {
    m_ui.message(text, kCaption, EIcon::Error);
}

bool CSettingsActions::write(EBlock block, const char* failureText) {
    return writeExistingBlock(m_device, m_ui, block, failureText);
}

bool CSettingsActions::reset(const char* failureText) {
    bool done = false;
    runResponsively([&] { done = m_device.resetDevice(); });
    if (done)
        return true;
    failed(failureText);
    return false;
}

bool CSettingsActions::switchToDieselAndWait() {
    bool onDiesel = false;
    m_ui.runExchange([&] { onDiesel = m_device.switchToDieselAndWait(); });
    if (onDiesel)
        return true;
    failed(page_message::kDieselFailed);
    return false;
}

void CSettingsActions::requestRefresh(ESettingsRefresh what) {
    if (m_refresh)
        m_refresh(what);
}

int CSettingsActions::latestFuelMode() const {
    if (m_device.diagData().count() == 0)
        return 0;
    DiagSample sample{};
    m_device.diagData().latest(sample);
    return sample.m_fuelMode;
}

bool CSettingsActions::stepSpin(ESettingsSpin spin, int direction) {
    const bool changed = m_device.withConfig(
        [&](CDeviceConfig& config) { return torva::stepSpin(spin, config, direction); });
    if (!changed)
        return false;
    if (connected())
        write(spinRule(spin, m_device.config()).block, kWriteFailed);
    return true;
}

bool CSettingsActions::changeBaseFlagWithReset(const std::function<void()>& change,
                                               bool refreshPage) {
    const CUiWaitCursor wait(m_ui);
    const int modeBefore = latestFuelMode();
    // The record changes only once the controller is safely on diesel; otherwise the page
    // shows the model's value again and nothing was sent but the switch.
    if (!switchToDieselAndWait())
        return false;
    change();
    write(EBlock::Base, kWriteFailed);
    reset(kResetFailed);
    if (refreshPage)
        requestRefresh(ESettingsRefresh::Page);
    m_ui.responsiveWait(kAfterResetWaitMs);
    if (modeBefore != kFuelModeDiesel)
        m_ui.runExchange([&] { m_device.switchToAuto(); });
    return true;
}

bool CSettingsActions::selectFuelType(int value) {
    if (!connected())
        return false;
    return changeBaseFlagWithReset(
        [&] { m_device.withConfig([&](CDeviceConfig& config) { applyFuelType(config, value); }); },
        true);
}

bool CSettingsActions::selectPressureType(int value) {
    if (!connected())
        return false;
    return changeBaseFlagWithReset(
        [&] {
            m_device.withConfig([&](CDeviceConfig& config) { applyPressureType(config, value); });
        },
        false);
}

bool CSettingsActions::selectRpmSignalType(int value) {
    if (!connected())
        return false;
    const CUiWaitCursor wait(m_ui);
    m_device.withConfig([&](CDeviceConfig& config) { applyRpmSignalType(config, value); });
    write(EBlock::Base, kWriteFailed);
    return true;
}

bool CSettingsActions::selectInjectorType(int value) {
    if (!connected())
        return false;
    if (m_device.config().m_adv.m_injectorType == value)
        return true;
    const CUiWaitCursor wait(m_ui);
    m_device.withConfig([&](CDeviceConfig& config) {
        applyInjectorType(config, static_cast<std::uint8_t>(value));
    });
    write(EBlock::Advanced, kWriteFailed);
    return true;
}

bool CSettingsActions::selectMountedInjectors(int value) {
    if (!connected())
        return false;
    if (m_device.config().m_adv.m_injMounted == value)
        return true;
    const CUiWaitCursor wait(m_ui);
    m_device.withConfig([&](CDeviceConfig& config) {
        applyMountedInjectors(config, static_cast<std::uint8_t>(value));
    });
    write(EBlock::Advanced, kWriteFailed);
    return true;
}

bool CSettingsActions::selectGasTemperatureSensor(int value) {
    if (!connected())
        return false;
    if (m_device.config().m_sensorsSetup.m_temprLPGSensor == value)
        return true;
    const CUiWaitCursor wait(m_ui);
    m_device.withConfig([&](CDeviceConfig& config) {
        applyGasTemperatureSensor(config, static_cast<std::uint8_t>(value));
    });
    // The temperatures of these blocks are coded for the sensor type.
    write(EBlock::Base, kWriteFailed);
    write(EBlock::Advanced, kWriteFailed);
    if (m_device.config().m_devInfo.m_version > kTempomatWithGasSensorVersion)
        write(EBlock::Tempomat, kSetupFailed);
    write(EBlock::Sensors, kWriteFailed);
    return true;
}

bool CSettingsActions::selectReducerTemperatureSensor(int value) {
    if (!connected())
        return false;
    if (m_device.config().m_sensorsSetup.m_temprEngineSensor == value)
        return true;
    const CUiWaitCursor wait(m_ui);
    m_device.withConfig([&](CDeviceConfig& config) {
        applyReducerTemperatureSensor(config, static_cast<std::uint8_t>(value));
    });
    write(EBlock::Base, kWriteFailed);
    write(EBlock::Advanced, kWriteFailed);
    write(EBlock::Sensors, kWriteFailed);
    return true;
}

bool CSettingsActions::selectEmulator(int channel, int value) {
    if (!connected())
        return false;
    const CUiWaitCursor wait(m_ui);
    m_device.withConfig([&](CDeviceConfig& config) {
        applyEmulator(config, channel, static_cast<std::uint8_t>(value));
    });
    requestRefresh(ESettingsRefresh::AllPages);
    write(EBlock::Base, kWriteFailed);
    return true;
}

bool CSettingsActions::selectDigitalTpsEmulator(int value) {
    if (!connected())
        return false;
    const CUiWaitCursor wait(m_ui);
    m_device.withConfig([&](CDeviceConfig& config) {
        applyDigitalTpsEmulator(config, static_cast<std::uint8_t>(value));
    });
    requestRefresh(ESettingsRefresh::AllPages);
    write(EBlock::Service, kWriteFailed);
    return true;
}

bool CSettingsActions::selectTpsType(int value) {
    if (!connected())
        return false;
    const CUiWaitCursor wait(m_ui);
    const auto type = static_cast<ETpsType>(value);
    m_device.withConfig([&](CDeviceConfig& config) { applyTpsType(config, type); });
    if (type != ETpsType::Digital)
        write(EBlock::Axis3, kWriteFailed);
    requestRefresh(ESettingsRefresh::AllPages);
    write(EBlock::Service, kWriteFailed);
    write(EBlock::Tempomat, kWriteFailed);
    reset(kWriteFailed);
    requestRefresh(ESettingsRefresh::ActivePage);
    return true;
}

bool CSettingsActions::changeTempomatWithReset(const std::function<void()>& change) {
    const CUiWaitCursor wait(m_ui);
    if (!switchToDieselAndWait())
        return false;
    change();
    write(EBlock::Tempomat, kWriteFailed);
    reset(kSetupFailed);
    return true;
}

bool CSettingsActions::selectFuelSensorType(int value) {
    return CFuelSensorActions(m_device, m_ui).selectType(value);
}

bool CSettingsActions::selectInjectionControl(int value) {
    if (!connected())
        return false;
    return changeTempomatWithReset([&] {
        m_device.withConfig([&](CDeviceConfig& config) { applyInjectionControl(config, value); });
    });
}

bool CSettingsActions::selectIgnitionOrder(int value) {
    if (!connected())
        return false;
    return changeTempomatWithReset([&] {
        m_device.withConfig([&](CDeviceConfig& config) {
            applyIgnitionOrder(config, static_cast<std::uint8_t>(value));
        });
    });
}

void CSettingsActions::setTpsDouble(bool on) {
    const CUiWaitCursor wait(m_ui);
    m_device.withConfig([&](CDeviceConfig& config) { applyTpsDouble(config, on); });
    if (!connected())
        return;
    requestRefresh(ESettingsRefresh::AllPages);
    write(EBlock::Base, kWriteFailed);
}

void CSettingsActions::setTempomat(bool on) {
    const CUiWaitCursor wait(m_ui);
    m_device.withConfig([&](CDeviceConfig& config) { applyTempomat(config, on, connected()); });
    if (!connected())
        return;
    if (on)
        write(EBlock::Base, kWriteFailed);
    requestRefresh(ESettingsRefresh::AllPages);
    write(EBlock::Tempomat, kWriteFailed);
}

void CSettingsActions::setMapAveraging(bool on) {
    const CUiWaitCursor wait(m_ui);
    m_device.withConfig([&](CDeviceConfig& config) { applyMapAveraging(config, on); });
    if (connected())
        write(EBlock::Base, kWriteFailed);
}

void CSettingsActions::setPercentScale(bool on) {
    const CUiWaitCursor wait(m_ui);
    m_device.withConfig([&](CDeviceConfig& config) { applyPercentScale(config, on); });
    if (connected())
        write(EBlock::Base, kWriteFailed);
}

bool CSettingsActions::setGasMapWithoutEmulation(bool on) {
    if (!connected())
        return false;
    const CUiWaitCursor wait(m_ui);
    m_device.withConfig([&](CDeviceConfig& config) { applyGasMapWithoutEmulation(config, on); });
    write(EBlock::Tempomat, kWriteFailed);
    return true;
}

bool CSettingsActions::setWorkMachines(bool on) {
    if (!connected())
        return false;
    const CUiWaitCursor wait(m_ui);
    m_device.withConfig([&](CDeviceConfig& config) { applyWorkMachines(config, on); });
    if (write(EBlock::Service, kWriteFailed))
        requestRefresh(ESettingsRefresh::AllPages);
    return true;
}

void CSettingsActions::setMinGasTemprCheck(bool on) {
    const CUiWaitCursor wait(m_ui);
    m_device.withConfig([&](CDeviceConfig& config) { applyMinGasTemprCheck(config, on); });
    if (connected())
        write(EBlock::Service, kWriteFailed);
}

} // namespace torva
