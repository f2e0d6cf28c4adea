#pragma once

#include "config/settings_backup.h"
#include "config/settings_export.h"
#include "diag/polling_control.h"
#include "link/lpg_device.h"

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace torva {

class CDeviceErrorList;
class CFirmwareFile;
class CThreadManager;
struct SFirmwareTarget;

// The application's single document: owns the one controller gateway for the whole run and
// carries the commands that move a whole configuration at once. The .lpg document itself
// stores nothing. Every command runs on the window's thread and reports to the user through
// appUi(); serial faults (CRSError) pass through to the command handler.
class CVeko2012Doc {
public:
    // The device owns a serial port unless another channel is given; polling threads go into
    // the application's thread manager unless another one is given.
    explicit CVeko2012Doc(std::unique_ptr<ISerialIo> io = nullptr);
    CVeko2012Doc(std::unique_ptr<ISerialIo> io, CThreadManager& threads);
    ~CVeko2012Doc();
    CVeko2012Doc(const CVeko2012Doc&) = delete;
    CVeko2012Doc& operator=(const CVeko2012Doc&) = delete;

    CLPGDevice& device() { return m_device; }
    CPollingControl& polling() { return m_polling; }

    // The fault decoders of the error list; built once the language is chosen (they follow
    // language changes by themselves from then on). nullptr before buildErrorDecoders.
    void buildErrorDecoders();
    const CDeviceErrorList* errorDecoders() const { return m_errorDecoders.get(); }

    // Reloads every page from the live record and refreshes the active page (the main view
    // binds it).
    using PageRefresh = std::function<void()>;
    void setPageRefresh(PageRefresh refresh) { m_pageRefresh = std::move(refresh); }
    // The port search with identification and the whole configuration read; true when a
    // controller was found (the shell binds it).
    using SearchAndConnect = std::function<bool()>;
    void setSearchAndConnect(SearchAndConnect search) { m_searchAndConnect = std::move(search); }
    // Runs that search; false when none is bound or no controller was found.
    bool searchAndConnect() { return m_searchAndConnect && m_searchAndConnect(); }

    // ---- Commands -----------------------------------------------------------------------------
    // Runs the command with this menu identifier; false when the document has no such command.
    bool onCommand(int commandId);
    // Asks first; writes the factory settings of the connected controller type into the live
    // record and the controller.
    void restoreFactorySettings();
    // Reads a settings file chosen by the user and writes it into the live record and the
    // controller.
    void loadSettingsFile();
    // The same for a file already chosen; true when it was written.
    bool loadSettingsFile(const std::string& path);
    // The backups dialog's "restore": asks first, then loads path as loadSettingsFile does (with
    // its backup first). True when the file was loaded.
    bool restoreSettingsFile(const std::string& path);
    // The backups dialog's partial apply: asks first, reads path, backs the live configuration
    // up, copies only the given groups (indices into diffGroups()) into the live record and
    // writes exactly their blocks. Groups the controller lacks, or that do not suit it (the
    // injector settings of another controller type), are left out. True when all were written.
    bool applySettingsGroups(const std::string& path, const std::vector<std::size_t>& groups);
    // Writes the live record to a settings file chosen by the user.
    EExportResult saveSettingsFile();
    // Programs a firmware file chosen by the user. The forced form, for a controller that holds
    // no valid application, skips the diesel switch, the polling stop, the access code and the
    // settings migration. True when the sequence ran to its end (also when only a migration
    // write failed), false when it stopped early.
    bool programFirmware(bool forced);
    // Path of the backup settings file written before the latest whole-configuration write,
    // or empty when none was written.
    const std::string& lastBackupPath() const { return m_lastBackupPath; }

    // Has the pages built again from the live record once the current handler has returned
    // (through the page refresh the shell binds): after a command or a page edit that changes
    // which pages exist or what they show.
    void refreshPages();

    // Saves the live configuration before a write of many settings and remembers where.
    // False when no backup could be written and the user chose not to go on.
    bool backUpLiveConfiguration(EBackupReason reason);

    // ---- Offline: a settings file in place of the controller ----------------------------------
    // Opens path as the controller it was saved from (its device type, firmware and identity):
    // the record becomes what that controller would hold after loading the file, and the device
    // goes offline. The caller stops polling first. Returns the reason when the file is refused;
    // the record and the link are then as they were.
    std::string openOffline(const std::string& path);
    // Writes the record to path in one piece, stamped now. With backupPrevious, a file already
    // at path is first copied into the Backup folder (when that fails the user is asked whether
    // to go on). On success path becomes the offline file and nothing is unsaved; false after
    // telling the user.
    bool saveOffline(const std::string& path, bool backupPrevious);
    // Leaves offline mode: the record goes back to the defaults and nothing is connected.
    void closeOffline();
    // The offline file; empty while not offline.
    const std::string& offlinePath() const { return m_offlinePath; }
    // The record differs from the file as last opened or saved.
    bool offlineModified() const;

private:
    // The one place a partial apply changes the live configuration.
    void copyGroupsIntoLiveRecord(const CDeviceConfig& source,
                                  const std::vector<std::size_t>& groups);
    // Steps of the firmware run after the file and the user agreed.
    bool runProgramming(const SFirmwareTarget& target, const CFirmwareFile& file, bool forced);
    bool reconnectAfterProgramming();
    void migrateAfterProgramming(std::int32_t oldVersion, std::int32_t newVersion,
                                 double keptPressureRef, double keptSwitchPressure);

    CLPGDevice m_device;
    // After the device, so that it goes first and its thread never outlives the device.
    CPollingControl m_polling;
    std::unique_ptr<CDeviceErrorList> m_errorDecoders;
    PageRefresh m_pageRefresh;
    SearchAndConnect m_searchAndConnect;
    std::string m_lastBackupPath;
    std::string m_offlinePath;
    CDeviceConfig m_offlineSaved; // the record as the offline file holds it
};

// Why a settings file prepared for one controller must not be written into another: the
// translated reason naming both (device type and firmware must match), or empty when they do.
std::string offlineFileMismatch(const SDevInfo& file, const SDevInfo& controller);

// The document of the running application (set by its constructor), or nullptr.
CVeko2012Doc* theDocument();

} // namespace torva
