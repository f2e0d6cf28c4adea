// The backup the document writes before it replaces a controller's whole configuration.
#include "config/settings_backup.h"
#include "document/document_messages.h"
#include "document/veko2012_doc.h"
#include "lang/translation.h"

namespace torva {

namespace {

// The question names the file and the reason, so it is translated here, before they go in.
std::string backupFailedText(const SSettingsBackup& backup) {
    std::string text = translate(doc_message::kBackupFailedQuestion);
    const std::string detail = backup.path + " (" + backup.failure + ")";
    if (const std::size_t at = text.find("%s"); at != std::string::npos)
        text.replace(at, 2, detail);
    else
        text += "\n" + detail;
    return text;
}

} // namespace

bool CVeko2012Doc::backUpLiveConfiguration(EBackupReason reason) {
    const SSettingsBackup backup = writeSettingsBackup(m_device.config(), reason);
    if (backup.written) {
        m_lastBackupPath = backup.path;
        return true;
    }
    return appUi().question(backupFailedText(backup), doc_message::kCaption, EButtons::YesNo,
                            EIcon::Warning) == EAnswer::Yes;
}

} // namespace torva
