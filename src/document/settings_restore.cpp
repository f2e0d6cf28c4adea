// The backups dialog's commands: a saved file restored whole, or only the groups the user ticked.
#include "config/config_compare.h"
#include "config/config_diff_groups.h"
#include "config/device_type.h"
#include "config/settings_group_copy.h"
#include "config/settings_io.h"
#include "document/document_messages.h"
#include "document/veko2012_doc.h"
#include "lang/translation.h"
#include "platform/wait_cursor.h"

#include <algorithm>
#include <array>
#include <filesystem>
#include <optional>

namespace torva {

namespace {

// The order of the settings-file load, so a partial apply writes its blocks as a whole load
// would have.
constexpr std::array<EBlock, 20> kLoadOrder{
    EBlock::Base,    EBlock::Advanced,   EBlock::Sensors,     EBlock::Service,  EBlock::TimeMap1,
    EBlock::EmuMap1, EBlock::TimeMap2,   EBlock::EmuMap2,     EBlock::EmuMap3,  EBlock::TimeMap3,
    EBlock::EmuMap4, EBlock::TimeMap4,   EBlock::Axes1Rpm,    EBlock::Axis2,    EBlock::Axis3,
    EBlock::Axis4,   EBlock::EmuMapTpsD, EBlock::TimeMapTpsD, EBlock::AxisTpsD, EBlock::Tempomat,
};

bool askAbout(const char* question, const std::string& path) {
    std::string text = translate(question);
    const std::string name = std::filesystem::path(path).filename().string();
    if (const std::size_t at = text.find("%s"); at != std::string::npos)
        text.replace(at, 2, name);
    return appUi().question(text, doc_message::kCaption, EButtons::YesNo, EIcon::Question) ==
           EAnswer::Yes;
}

std::vector<EBlock> blocksOf(const std::vector<std::size_t>& groups) {
    std::vector<EBlock> blocks;
    for (const EBlock block : kLoadOrder) {
        const bool chosen = std::any_of(groups.begin(), groups.end(), [block](std::size_t group) {
            return diffGroups()[group].block == block;
        });
        if (chosen)
            blocks.push_back(block);
    }
    return blocks;
}

// Sends the chosen blocks the live record already holds; false once a message was shown.
bool writeChosenBlocks(CLPGDevice& device, const std::vector<EBlock>& blocks) {
    bool written = device.switchToDieselAndWait();
    for (const EBlock block : blocks)
        written = written && device.writeBlock(block);
    if (!written || !device.resetDevice()) {
        doc_message::showError(doc_message::kSettingFailed);
        return false;
    }
    return true;
}

} // namespace

bool CVeko2012Doc::restoreSettingsFile(const std::string& path) {
    m_lastBackupPath.clear();
    if (!askAbout(doc_message::kRestoreQuestion, path))
        return false;
    return loadSettingsFile(path);
}

void CVeko2012Doc::copyGroupsIntoLiveRecord(const CDeviceConfig& source,
                                            const std::vector<std::size_t>& groups) {
    m_device.withConfig([&](CDeviceConfig& live) { copySettingsGroups(live, source, groups); });
}

bool CVeko2012Doc::applySettingsGroups(const std::string& path,
                                       const std::vector<std::size_t>& groups) {
    m_lastBackupPath.clear();
    if (groups.empty() || !askAbout(doc_message::kApplyQuestion, path))
        return false;
    const CDeviceConfig& live = m_device.config();
    const std::uint8_t liveType = live.m_devInfo.m_deviceID;
    CDeviceConfig source(isKnownDeviceType(liveType) ? std::optional(liveType) : std::nullopt);
    std::string refusal;
    if (!readSettings(path, source, loadTargetOf(live.m_devInfo), &refusal)) {
        appUi().message(settingsLoadFailureText(path, refusal), doc_message::kCaption,
                        EIcon::Error);
        return false;
    }
    std::vector<std::size_t> suitable;
    for (const std::size_t group : groups) {
        if (group < diffGroups().size() &&
            !groupApartReason(diffGroups()[group], liveType, live.m_devInfo.m_version,
                              source.m_devInfo.m_deviceID))
            suitable.push_back(group);
    }
    if (suitable.empty() || !backUpLiveConfiguration(EBackupReason::PartialApply))
        return false;
    copyGroupsIntoLiveRecord(source, suitable);
    bool written = false;
    {
        CWaitCursor waitCursor;
        written = writeChosenBlocks(m_device, blocksOf(suitable));
    }
    refreshPages();
    return written;
}

} // namespace torva
