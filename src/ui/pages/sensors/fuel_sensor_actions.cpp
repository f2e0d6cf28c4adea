#include "ui/pages/sensors/fuel_sensor_actions.h"

#include "config/device_config.h"
#include "lang/source_text.h"
#include "link/diag_sample.h"
#include "link/lpg_device.h"
#include "platform/user_interface.h"
#include "ui/pages/common/page_messages.h"
#include "ui/pages/common/reported_write.h"
#include "ui/pages/common/responsive_call.h"
#include "ui/pages/sensors/fuel_sensor_rules.h"

namespace torva {

namespace {

constexpr const char* kSetupFailed = PL("Nie powiodło się ustawienie urządzenia!");

std::uint8_t& thresholdField(SSensorsSetup& sensors, EFuelThreshold threshold) {
    switch (threshold) {
    case EFuelThreshold::R1Quarter:
        return sensors.m_fuelQuarter;
    case EFuelThreshold::R2Half:
        return sensors.m_fuelHalf;
    case EFuelThreshold::R3Hgw:
        return sensors.m_fuelHgw;
    case EFuelThreshold::R4Full:
        break;
    }
    return sensors.m_fuelFull;
}

struct SSwitchBit {
    bool inFlags; // m_base.m_flags, else m_base.m_advancedFlags
    std::uint8_t mask;
};

SSwitchBit switchBit(EFuelSensorSwitch which) {
    switch (which) {
    case EFuelSensorSwitch::ValvePower:
        return {false, 0x08};
    case EFuelSensorSwitch::AutoWhenEmpty:
        return {false, 0x02};
    case EFuelSensorSwitch::NoLevelRise:
        return {false, 0x04};
    case EFuelSensorSwitch::Buzzer:
        break;
    }
    return {true, 0x04};
}

} // namespace

bool fuelSensorSwitchOn(const CDeviceConfig& config, EFuelSensorSwitch which) {
    const SSwitchBit bit = switchBit(which);
    const std::uint8_t flags = bit.inFlags ? config.m_base.m_flags : config.m_base.m_advancedFlags;
    return (flags & bit.mask) != 0;
}

CFuelSensorActions::CFuelSensorActions(CLPGDevice& device, IUserInterface& ui)
    : m_device(device), m_ui(ui) {}

bool CFuelSensorActions::selectType(int type) {
    if (!m_device.isConnected())
        return false;
    const CUiWaitCursor wait(m_ui);
    m_device.withConfig([&](CDeviceConfig& config) { applyFuelSensorType(config, type); });
    writeExistingBlock(m_device, m_ui, EBlock::Sensors, kSetupFailed);
    if (hasVirtualFuelSensor(m_device.config().m_devInfo.m_version))
        writeExistingBlock(m_device, m_ui, EBlock::Tempomat, kSetupFailed);
    return true;
}

std::optional<std::uint8_t> CFuelSensorActions::calibrate(bool minimum) {
    if (!m_device.isConnected())
        return std::nullopt;
    DiagSample sample{};
    bool read = false;
    runResponsively([&] { read = m_device.readLiveSample(sample); });
    if (!read) {
        m_ui.message(page_message::kNoConnection, page_message::kCaption, EIcon::Error);
        return std::nullopt;
    }
    const std::uint8_t level = sample.m_fuelLevelRaw;
    m_device.withConfig([&](CDeviceConfig& config) {
        SSensorsSetup& sensors = config.m_sensorsSetup;
        const SFuelThresholds now = fuelThresholds(sensors);
        setFuelThresholds(sensors, minimum ? fuelMinimumFromLevel(now, level)
                                           : fuelMaximumFromLevel(now, level));
    });
    writeExistingBlock(m_device, m_ui, EBlock::Sensors, kSetupFailed);
    return level;
}

std::optional<std::uint8_t> CFuelSensorActions::setMinimum() {
    return calibrate(true);
}

std::optional<std::uint8_t> CFuelSensorActions::setMaximum() {
    return calibrate(false);
}

bool CFuelSensorActions::stepThreshold(EFuelThreshold threshold, int clicks) {
    const bool changed = m_device.withConfig([&](CDeviceConfig& config) {
        return kFuelThresholdRule.stepField(thresholdField(config.m_sensorsSetup, threshold),
                                            clicks);
    });
    if (changed && m_device.isConnected())
        writeExistingBlock(m_device, m_ui, EBlock::Sensors, page_message::kWriteFailed);
    return changed;
}

void CFuelSensorActions::stepLitres(int clicks) {
    m_device.withConfig([&](CDeviceConfig& config) {
        double& litres = config.m_tempomatSetup.m_vCppLitersToTank;
        litres = steppedLitres(litres, clicks);
    });
    if (m_device.isConnected())
        writeExistingBlock(m_device, m_ui, EBlock::Tempomat, page_message::kWriteFailed);
}

bool CFuelSensorActions::setSwitch(EFuelSensorSwitch which, bool on) {
    const bool needsController = which == EFuelSensorSwitch::Buzzer;
    if (needsController && !m_device.isConnected())
        return false;
    const SSwitchBit bit = switchBit(which);
    m_device.withConfig([&](CDeviceConfig& config) {
        std::uint8_t& flags = bit.inFlags ? config.m_base.m_flags : config.m_base.m_advancedFlags;
        flags = static_cast<std::uint8_t>(on ? (flags | bit.mask) : (flags & ~bit.mask));
    });
    if (m_device.isConnected()) {
        const CUiWaitCursor wait(m_ui);
        writeExistingBlock(m_device, m_ui, EBlock::Base, kSetupFailed);
    }
    return true;
}

} // namespace torva
