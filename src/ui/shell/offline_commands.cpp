#include "ui/shell/offline_commands.h"

#include "config/data_folders.h"
#include "config/settings_export.h"
#include "document/veko2012_doc.h"
#include "lang/source_text.h"
#include "lang/translation.h"
#include "platform/user_interface.h"
#include "ui/shell/backups_dlg.h"

#include <QMessageBox>
#include <QPushButton>

#include <filesystem>

namespace torva {

namespace {

constexpr const char* kCaption = "TORVA";
// %s: the file's name.
constexpr const char* kUnsavedQuestion =
    PL("Plik %s ma niezapisane zmiany. Czy zapisać je przed zamknięciem?");

QString translated(const char* text) {
    return QString::fromStdString(translate(text));
}

std::string fileName(const std::string& path) {
    return std::filesystem::path(path).filename().string();
}

SFileChoice settingsChoice(bool save, const std::string& current) {
    SFileChoice choice;
    choice.save = save;
    choice.folder = settingsFolder();
    if (!current.empty()) {
        choice.folder = std::filesystem::path(current).parent_path().string() + "/";
        choice.defaultName = fileName(current);
    }
    choice.defaultExtension = kSettingsFileExtension;
    choice.filter = "Settings file (*.dsettings)|*.dsettings|";
    return choice;
}

} // namespace

COfflineCommands::COfflineCommands(CVeko2012Doc& doc, QWidget* owner, SHooks hooks)
    : m_doc(doc), m_owner(owner), m_hooks(std::move(hooks)) {}

void COfflineCommands::openChosen() {
    if (!mayLeaveFile())
        return;
    const std::string path = appUi().chooseFile(settingsChoice(false, m_doc.offlinePath()));
    if (!path.empty())
        openFile(path);
}

bool COfflineCommands::open(const std::string& path) {
    return mayLeaveFile() && openFile(path);
}

bool COfflineCommands::openFile(const std::string& path) {
    CLPGDevice& device = m_doc.device();
    // The polling thread must not be in the middle of an exchange when the port closes.
    const bool wasPolling = m_doc.polling().isPolling();
    m_doc.polling().stopPolling();
    const std::string refused = m_doc.openOffline(path);
    if (!refused.empty()) {
        if (wasPolling && device.isConnected() && !device.isOffline())
            m_doc.polling().restartPolling();
        appUi().message(translate(kOfflineOpenRefused) + "\n" + refused, kCaption, EIcon::Error);
        return false;
    }
    m_hooks.linkChanged();
    return true;
}

bool COfflineCommands::save() {
    const std::string& path = m_doc.offlinePath();
    return path.empty() ? saveAs() : saveTo(path);
}

bool COfflineCommands::saveAs() {
    if (m_doc.offlinePath().empty())
        return false;
    const std::string path = appUi().chooseFile(settingsChoice(true, m_doc.offlinePath()));
    return !path.empty() && saveTo(path);
}

bool COfflineCommands::saveTo(const std::string& path) {
    const bool saved = m_doc.saveOffline(path, true);
    m_hooks.saved();
    return saved;
}

bool COfflineCommands::closeFile() {
    if (m_doc.offlinePath().empty() || !mayLeaveFile())
        return false;
    m_doc.closeOffline();
    m_doc.searchAndConnect();
    m_hooks.linkChanged();
    return true;
}

void COfflineCommands::writeToController() {
    const std::string path = m_doc.offlinePath();
    if (path.empty() || !mayLeaveFile())
        return;
    const SDevInfo fileIdentity = m_doc.device().configCopy().m_devInfo;
    m_doc.closeOffline();
    CLPGDevice& device = m_doc.device();
    if (!m_doc.searchAndConnect() || !device.isConnected()) {
        // No controller: the fitter goes on with the file (as it is on disk now).
        openFile(path);
        return;
    }
    m_hooks.linkChanged();
    const std::string mismatch = offlineFileMismatch(fileIdentity, device.config().m_devInfo);
    if (!mismatch.empty()) {
        appUi().message(mismatch, kCaption, EIcon::Error);
        return;
    }
    if (!m_doc.backUpLiveConfiguration(EBackupReason::FileLoad))
        return;
    m_hooks.saved();
    CBackupsDlg compare(m_doc, m_owner);
    compare.addFile(path);
    compare.exec();
    m_hooks.saved();
}

bool COfflineCommands::mayLeaveFile() {
    if (!m_doc.offlineModified())
        return true;
    QString text = translated(kUnsavedQuestion);
    text.replace(QStringLiteral("%s"), QString::fromStdString(fileName(m_doc.offlinePath())));
    QMessageBox box(QMessageBox::Question, QStringLiteral("TORVA"), text,
                    QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel, m_owner);
    box.button(QMessageBox::Save)->setText(translated(PL("Zapisz")));
    box.button(QMessageBox::Discard)->setText(translated(PL("Odrzuć")));
    box.button(QMessageBox::Cancel)->setText(translated(PL("Anuluj")));
    box.setDefaultButton(QMessageBox::Save);
    switch (box.exec()) {
    case QMessageBox::Save:
        return save();
    case QMessageBox::Discard:
        return true;
    default:
        return false;
    }
}

} // namespace torva
