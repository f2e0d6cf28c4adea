// Offline editing: a settings file opened in place of the controller it was saved from, saved in
// place, and checked against the controller it is to be written into.
#include "config/adc_scale.h"
#include "config/device_type.h"
#include "config/settings_export.h"
#include "config/settings_io.h"
#include "document/document_messages.h"
#include "document/veko2012_doc.h"
#include "lang/cng_flag.h"
#include "lang/source_text.h"
#include "lang/translation.h"
#include "link/controller_models.h"
#include "platform/wait_cursor.h"

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>

namespace torva {

namespace {

constexpr const char* kNoFirmwareVersion =
    PL("Plik ustawień nie podaje wersji firmware sterownika (m_devInfo.m_version).");
// %s: the backup file and the system's reason.
constexpr const char* kPreviousVersionNotKept =
    PL("Nie można zachować kopii poprzedniej wersji pliku:\n%s\nCzy zapisać mimo to?");
// %1: the file's controller, %2: the connected one (model and firmware).
constexpr const char* kOtherController =
    PL("Plik ustawień przygotowano dla sterownika %1, a podłączony jest %2. Nic nie zostało "
       "wpisane.");
constexpr const char* kCannotSave = PL("Nie można wpisać ustawień do pliku z danymi samochodu");

std::string withArgument(std::string text, const std::string& placeholder,
                         const std::string& value) {
    if (const std::size_t at = text.find(placeholder); at != std::string::npos)
        text.replace(at, placeholder.size(), value);
    return text;
}

std::string controllerText(const SDevInfo& info) {
    const auto model = modelFromReportedCode(info.m_deviceID);
    const std::string name = model ? std::string(model->name) : std::to_string(info.m_deviceID);
    return name + " v " + std::to_string((info.m_version >> 8) & 0xFF) + "." +
           std::to_string(info.m_version & 0xFF);
}

// Whether the file can be read at all; the system's reason when not.
std::string unreadableReason(const std::string& path) {
    std::error_code error;
    if (!std::filesystem::is_regular_file(path, error))
        return path + ": " + std::strerror(error ? error.value() : ENOENT);
    std::ifstream file(path, std::ios::binary);
    if (!file)
        return path + ": " + std::strerror(errno != 0 ? errno : EACCES);
    return {};
}

} // namespace

std::string CVeko2012Doc::openOffline(const std::string& path) {
    if (std::string unreadable = unreadableReason(path); !unreadable.empty())
        return unreadable;
    const std::string refused = translate(PL("Nie można wczytać ustawień z pliku")) + ": " + path;
    const SSettingsIdentity identity = readSettingsIdentity(path);
    if (!identity.readable)
        return refused;
    const std::optional<SControllerModel> model =
        modelFromReportedCode(identity.devInfo.m_deviceID);
    if (!model || !isKnownDeviceType(identity.devInfo.m_deviceID))
        return refused;
    if (!identity.hasVersion)
        return translate(kNoFirmwareVersion) + ": " + path;

    // The file's controller decides the scale its voltages were read with and its defaults.
    const std::uint32_t keptFlags1 = m_device.config().m_devInfo.m_flags1;
    updateSwitchableScale(identity.devInfo.m_flags1);
    CDeviceConfig record(model->code);
    record.m_devInfo = identity.devInfo;
    record.m_devInfo.m_modelName = model->name;
    // Values are checked as for the controller the file was saved from.
    std::string refusal;
    if (!readSettings(path, record, loadTargetOf(record.m_devInfo), &refusal)) {
        updateSwitchableScale(keptFlags1);
        return settingsLoadFailureText(path, refusal);
    }
    // The device reads the record back as a controller that loaded the file would give it.
    m_device.withConfig([&record](CDeviceConfig& live) { live = record; });
    m_device.setOffline(true);
    m_offlinePath = path;
    m_offlineSaved = m_device.offlineRecord();
    m_lastBackupPath.clear();
    return {};
}

bool CVeko2012Doc::saveOffline(const std::string& path, bool backupPrevious) {
    m_lastBackupPath.clear();
    // The file holds what the controller would, not what the pages were given.
    const CDeviceConfig record = m_device.withConfig([this](CDeviceConfig& live) {
        live.m_timeStamp = settingsTimeStamp(std::chrono::system_clock::now());
        return m_device.offlineRecord();
    });
    std::error_code error;
    if (backupPrevious && std::filesystem::exists(path, error)) {
        const SSettingsBackup backup =
            copySettingsFileToBackup(path, record.m_devInfo, EBackupReason::FileSave);
        if (backup.written) {
            m_lastBackupPath = backup.path;
        } else if (appUi().question(withArgument(translate(kPreviousVersionNotKept), "%s",
                                                 backup.path + " (" + backup.failure + ")"),
                                    doc_message::kCaption, EButtons::YesNo,
                                    EIcon::Warning) != EAnswer::Yes) {
            return false;
        }
    }
    bool written = false;
    {
        CWaitCursor waitCursor;
        written = writeSettings(path, record);
    }
    if (!written) {
        doc_message::showError(kCannotSave);
        return false;
    }
    m_offlinePath = path;
    m_offlineSaved = record;
    return true;
}

void CVeko2012Doc::closeOffline() {
    m_device.setOffline(false);
    // Nothing of the file may pass for a controller's values: the scale, the defaults and the
    // CNG wording go back to those of no controller.
    updateSwitchableScale(0);
    const CDeviceConfig defaults;
    setCngInstallation(defaults.isCng());
    m_device.withConfig([&defaults](CDeviceConfig& live) { live = defaults; });
    m_offlinePath.clear();
    m_offlineSaved = CDeviceConfig();
}

bool CVeko2012Doc::offlineModified() const {
    if (m_offlinePath.empty())
        return false;
    CDeviceConfig record = m_device.offlineRecord();
    // A save stamps the record; the stamp alone is no change.
    record.m_timeStamp = m_offlineSaved.m_timeStamp;
    return !(record == m_offlineSaved);
}

std::string offlineFileMismatch(const SDevInfo& file, const SDevInfo& controller) {
    if (file.m_deviceID == controller.m_deviceID && file.m_version == controller.m_version)
        return {};
    return withArgument(withArgument(translate(kOtherController), "%1", controllerText(file)), "%2",
                        controllerText(controller));
}

} // namespace torva
