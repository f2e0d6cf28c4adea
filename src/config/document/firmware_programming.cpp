// The document's firmware command: file checks, the programming run over the link, the new
// connection and the settings migration.
#include "config/document/document_messages.h"
#include "config/document/firmware_migration.h"
#include "config/document/veko2012_doc.h"
#include "config/document/wait_cursor.h"
#include "config/firmware_file.h"
#include "config/firmware_target.h"
#include "platform/clock.h"

#include <cstdlib>
#include <ctime>

namespace torva {

namespace {

using doc_message::showError;

constexpr int kProgrammingAttempts = 10;
constexpr int kLoaderSettleMs = 1000;
constexpr int kRestartSettleMs = 1000;
constexpr const char* kFirmwareExtension = "afm";

std::string chooseFirmwareFile(const std::string& folder) {
    SFileChoice choice;
    choice.folder = folder;
    choice.defaultExtension = kFirmwareExtension;
    choice.filter = doc_message::kFirmwareFilter;
    return appUi().chooseFile(choice);
}

// A file for this controller, or a downgrade the user agreed to; messages tell why not.
bool acceptFirmwareFile(const SFirmwareLoadResult& loaded, const SDevInfo& controller) {
    if (!loaded.ok) {
        showError(doc_message::kProgrammingFailed);
        return false;
    }
    if (loaded.formatMarker != kFirmwareFormatMarker ||
        loaded.modelName != controller.m_modelName) {
        showError(doc_message::kWrongFirmwareFile);
        return false;
    }
    if (loaded.version < controller.m_version)
        return appUi().question(doc_message::kOlderFirmwareQuestion, doc_message::kCaption,
                                EButtons::YesNo, EIcon::Question) == EAnswer::Yes;
    return true;
}

// Ends the progress display however the run leaves.
class CProgressDisplay {
public:
    ~CProgressDisplay() { appUi().progress(std::string(), 0, 0); }
    static void show(int done, int total) { appUi().progress(std::string(), done, total); }
};

} // namespace

bool CVeko2012Doc::programFirmware(bool forced) {
    m_lastBackupPath.clear();
    CDeviceConfig& live = m_device.config();
    const auto target = firmwareTarget(live.m_devInfo.m_deviceID);
    const auto folder = firmwareFolder(live.m_devInfo.m_deviceID);
    if (!target || !folder) {
        showError(doc_message::kProgrammingFailed);
        return false;
    }
    const std::string path = chooseFirmwareFile(*folder);
    if (path.empty())
        return false;

    CWaitCursor waitCursor;
    if (!forced)
        m_device.switchToDieselAndWait(); // programming goes on whatever it answered
    const std::int32_t oldVersion = live.m_devInfo.m_version;
    CFirmwareFile file;
    const SFirmwareLoadResult loaded = file.load(path);
    if (!acceptFirmwareFile(loaded, live.m_devInfo))
        return false;
    // The forced form takes no backup: a controller without a valid application never had its
    // configuration read, so the live record holds nothing of the customer's.
    if (!forced && !backUpLiveConfiguration(EBackupReason::Firmware))
        return false;
    // The pressures in kPa as the old firmware encodes them; see migrateAfterProgramming.
    const double keptPressureRef = live.m_base.m_pressureRef;
    const double keptSwitchPressure = live.m_base.m_switchPressure;

    if (!forced)
        m_polling.stopPolling();
    if (!runProgramming(*target, file, forced) || !reconnectAfterProgramming()) {
        showError(doc_message::kProgrammingFailed);
        // The controller may be left in its loader: the window's connection cycle shows the
        // lost link and its next identification finds the loader and offers forced programming.
        m_polling.awaitReconnection();
        return false;
    }
    if (!forced) {
        migrateAfterProgramming(oldVersion, loaded.version, keptPressureRef, keptSwitchPressure);
        m_polling.restartPolling();
        refreshPages();
    }
    return true;
}

bool CVeko2012Doc::runProgramming(const SFirmwareTarget& target, const CFirmwareFile& file,
                                  bool forced) {
    CProgressDisplay progress;
    for (int attempt = 0; attempt < kProgrammingAttempts; ++attempt) {
        // A failed attempt leaves the controller in its loader, so each one starts afresh.
        if (!forced)
            m_device.sendAccessCode(); // the loader identity below decides, not this answer
        if (m_device.queryLoaderIdentity(target.loaderSubCode).answer !=
            CLPGDevice::ELoaderAnswer::Accepted)
            continue;
        appClock().sleepMs(kLoaderSettleMs);
        // The loader is left only once the whole image is in.
        if (m_device.programImage(target.flashEnd, target.eraseBlock, file.image(),
                                  static_cast<int>(file.frameCount()), CProgressDisplay::show) &&
            m_device.leaveLoader() && m_device.resetAfterProgramming())
            return true;
    }
    return false;
}

bool CVeko2012Doc::reconnectAfterProgramming() {
    appClock().sleepMs(kRestartSettleMs);
    std::srand(static_cast<unsigned>(std::time(nullptr)));
    const bool found = m_searchAndConnect && m_searchAndConnect();
    return found && m_device.isConnected();
}

void CVeko2012Doc::migrateAfterProgramming(std::int32_t oldVersion, std::int32_t newVersion,
                                           double keptPressureRef, double keptSwitchPressure) {
    const SMigrationWrites writes = m_device.withConfig(
        [&](CDeviceConfig& live) { return migrateSettings(live, oldVersion, newVersion); });
    // Each failure is reported and the migration goes on with the next write.
    const auto write = [this](EBlock block) {
        if (!m_device.writeBlock(block))
            showError(doc_message::kSettingFailed);
    };
    if (writes.service)
        write(EBlock::Service);
    if (writes.tempomat)
        write(EBlock::Tempomat);
    if (writes.basePressures) {
        // Read back under the new encoding these would show other kPa values; the new firmware
        // is to keep the ones the fitter set.
        m_device.withConfig([&](CDeviceConfig& live) {
            live.m_base.m_pressureRef = keptPressureRef;
            live.m_base.m_switchPressure = keptSwitchPressure;
        });
        write(EBlock::Base);
    }
    if (writes.reset) {
        m_device.resetDevice();
        appClock().sleepMs(kRestartSettleMs);
    }
}

} // namespace torva
