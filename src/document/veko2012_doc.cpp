#include "document/veko2012_doc.h"

#include "document/document_commands.h"
#include "link/device_errors.h"

#include <atomic>
#include <chrono>

namespace torva {

namespace {

std::atomic<CVeko2012Doc*> g_document{nullptr};

} // namespace

CVeko2012Doc::CVeko2012Doc(std::unique_ptr<ISerialIo> io)
    : m_device(std::move(io)), m_polling(m_device) {
    m_device.setForcedProgramming([this] { return programFirmware(true); });
    g_document.store(this);
}

CVeko2012Doc::CVeko2012Doc(std::unique_ptr<ISerialIo> io, CThreadManager& threads)
    : m_device(std::move(io)), m_polling(m_device, threads) {
    m_device.setForcedProgramming([this] { return programFirmware(true); });
    g_document.store(this);
}

CVeko2012Doc::~CVeko2012Doc() {
    CVeko2012Doc* self = this;
    g_document.compare_exchange_strong(self, nullptr);
}

void CVeko2012Doc::buildErrorDecoders() {
    m_errorDecoders = std::make_unique<CDeviceErrorList>();
}

CVeko2012Doc* theDocument() {
    return g_document.load();
}

bool CVeko2012Doc::onCommand(int commandId) {
    switch (commandId) {
    case doc_command::kRestoreFactorySettings:
        restoreFactorySettings();
        return true;
    case doc_command::kLoadSettingsFile:
        loadSettingsFile();
        return true;
    case doc_command::kSaveSettingsFile:
        saveSettingsFile();
        return true;
    case doc_command::kProgramFirmware:
        programFirmware(false);
        return true;
    default:
        return false;
    }
}

EExportResult CVeko2012Doc::saveSettingsFile() {
    m_lastBackupPath.clear();
    const auto now = std::chrono::system_clock::now();
    // The live record keeps the stamp; the polling thread copies the record while recording,
    // so it changes under the lock, and the file is written from a copy.
    m_device.withConfig([&now](CDeviceConfig& live) { live.m_timeStamp = settingsTimeStamp(now); });
    CDeviceConfig stamped = m_device.configCopy();
    return exportSettings(stamped, now);
}

void CVeko2012Doc::refreshPages() {
    if (m_pageRefresh)
        m_pageRefresh();
}

} // namespace torva
