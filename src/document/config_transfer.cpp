// The document's whole-configuration commands: factory settings and settings-file load.
#include "config/block_table.h"
#include "config/config_groups.h"
#include "config/device_type.h"
#include "config/settings_io.h"
#include "document/document_messages.h"
#include "document/veko2012_doc.h"
#include "platform/clock.h"
#include "platform/wait_cursor.h"

#include <array>
#include <initializer_list>
#include <optional>

namespace torva {

namespace {

using doc_message::showError;

constexpr int kSettleAfterResetMs = 1000;

// After map 1, the maps whose clear-and-complete pairs make the controller reset its own maps,
// in the order it expects them (map numbers as CLPGDevice::clearMap counts them).
constexpr std::array<int, 7> kFactoryMapResetOrder{2, 4, 3, 6, 5, 8, 7};

bool writeAll(CLPGDevice& device, std::initializer_list<EBlock> blocks) {
    for (const EBlock block : blocks) {
        if (!device.writeBlock(block))
            return false;
    }
    return true;
}

std::optional<std::uint8_t> knownDeviceType(const CDeviceConfig& live) {
    const std::uint8_t type = live.m_devInfo.m_deviceID;
    return isKnownDeviceType(type) ? std::optional<std::uint8_t>(type) : std::nullopt;
}

bool newestSampleShowsDiesel(CLPGDevice& device) {
    DiagSample sample{};
    device.diagData().latest(sample);
    return sample.m_fuelMode == kFuelModeDiesel;
}

bool writeTpsDigitalBlocks(CLPGDevice& device) {
    if (!hasTpsDigitalMaps(device.config().m_devInfo.m_deviceID))
        return true;
    return writeAll(device, {EBlock::EmuMapTpsD, EBlock::TimeMapTpsD, EBlock::AxisTpsD});
}

bool writeAxes(CLPGDevice& device) {
    return writeAll(device, {EBlock::Axes1Rpm, EBlock::Axis2, EBlock::Axis3, EBlock::Axis4});
}

// Sends the factory settings the live record already holds; false once a message was shown.
bool writeFactorySettings(CLPGDevice& device) {
    if (!device.switchToDieselAndWait() || !device.writeBlock(EBlock::Base) ||
        !writeAll(device, {EBlock::Advanced, EBlock::Sensors}) || !device.sendMapClear(1)) {
        showError(doc_message::kSettingFailed);
        return false;
    }
    if (!device.completeMapChange(1)) {
        showError(doc_message::kInjectionMapFailed);
        return false;
    }
    bool written = true;
    // The map values are not sent: these pairs make the controller reset its own maps.
    for (const int mapNumber : kFactoryMapResetOrder)
        written = written && device.clearMap(mapNumber);
    written = written && writeAxes(device) && writeTpsDigitalBlocks(device);
    const std::int32_t version = device.config().m_devInfo.m_version;
    if (written && version >= kServiceBlockVersion)
        written = device.writeBlock(EBlock::Service);
    if (written && version >= kTempomatBlockVersion)
        written = device.writeBlock(EBlock::Tempomat);
    if (!written || !device.resetDevice()) {
        showError(doc_message::kSettingFailed);
        return false;
    }
    return true;
}

// Sends a loaded settings file the live record already holds; false once it stopped.
bool writeLoadedSettings(CLPGDevice& device) {
    if (!device.switchToDieselAndWait() ||
        !writeAll(device, {EBlock::Base, EBlock::Advanced, EBlock::Sensors})) {
        showError(doc_message::kSettingFailed);
        return false;
    }
    // Controllers before firmware 0x102 have no service block: writing it would only fail. A
    // failed service block is reported, the rest still goes over.
    const SDevInfo& devInfo = device.config().m_devInfo;
    if (blockExists(EBlock::Service, devInfo.m_version, devInfo.m_deviceID) &&
        !device.writeBlock(EBlock::Service))
        showError(doc_message::kSettingFailed);
    bool written =
        writeAll(device, {EBlock::TimeMap1, EBlock::EmuMap1, EBlock::TimeMap2, EBlock::EmuMap2,
                          EBlock::EmuMap3, EBlock::TimeMap3, EBlock::EmuMap4, EBlock::TimeMap4}) &&
        writeAxes(device) && writeTpsDigitalBlocks(device);
    if (written && device.config().m_devInfo.m_version >= kTempomatBlockVersion)
        written = device.writeBlock(EBlock::Tempomat);
    if (!written || !device.resetDevice()) {
        showError(doc_message::kSettingFailed);
        return false;
    }
    return true;
}

} // namespace

void CVeko2012Doc::restoreFactorySettings() {
    m_lastBackupPath.clear();
    if (appUi().question(doc_message::kFactoryQuestion, doc_message::kCaption, EButtons::YesNo,
                         EIcon::None) != EAnswer::Yes)
        return;
    if (!m_device.isConnected() || !backUpLiveConfiguration(EBackupReason::FactorySettings))
        return;
    m_device.withConfig([](CDeviceConfig& live) {
        copyTransferGroups(live, CDeviceConfig(knownDeviceType(live)));
    });
    const bool dieselBefore = newestSampleShowsDiesel(m_device);
    {
        CWaitCursor waitCursor;
        if (writeFactorySettings(m_device)) {
            appClock().sleepMs(kSettleAfterResetMs);
            // A controller that ran on gas (or in automatic mode) goes back to automatic.
            if (!dieselBefore)
                m_device.switchToAuto();
        }
    }
    refreshPages();
}

void CVeko2012Doc::loadSettingsFile() {
    m_lastBackupPath.clear();
    const std::string path = chooseSettingsFileToLoad();
    if (!path.empty())
        loadSettingsFile(path);
}

bool CVeko2012Doc::loadSettingsFile(const std::string& path) {
    m_lastBackupPath.clear();
    CDeviceConfig& live = m_device.config();
    CDeviceConfig destination(knownDeviceType(live));
    // Every value is checked before anything is written, and before the backup is taken.
    std::string refusal;
    if (!readSettings(path, destination, loadTargetOf(live.m_devInfo), &refusal)) {
        appUi().message(settingsLoadFailureText(path, refusal), doc_message::kCaption,
                        EIcon::Error);
        return false;
    }
    if (!backUpLiveConfiguration(EBackupReason::FileLoad))
        return false;
    m_device.withConfig(
        [&destination](CDeviceConfig& config) { copyTransferGroups(config, destination); });
    bool written = false;
    {
        CWaitCursor waitCursor;
        written = writeLoadedSettings(m_device);
    }
    if (written)
        refreshPages();
    return written;
}

} // namespace torva
