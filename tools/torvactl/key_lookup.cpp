#include "key_lookup.h"

#include "config/printable_text.h"
#include "exit_status.h"

#include <algorithm>
#include <array>
#include <unordered_map>
#include <utility>
#include <vector>

namespace torva::cli {

namespace {

std::size_t editDistance(std::string_view a, std::string_view b) {
    std::vector<std::size_t> row(b.size() + 1);
    for (std::size_t j = 0; j <= b.size(); ++j)
        row[j] = j;
    for (std::size_t i = 1; i <= a.size(); ++i) {
        std::size_t diagonal = row[0];
        row[0] = i;
        for (std::size_t j = 1; j <= b.size(); ++j) {
            const std::size_t above = row[j];
            const std::size_t substitution = diagonal + (a[i - 1] == b[j - 1] ? 0 : 1);
            row[j] = std::min({above + 1, row[j - 1] + 1, substitution});
            diagonal = above;
        }
    }
    return row[b.size()];
}

// Key prefixes of each block's members. The map and axis prefixes end in '[' so that channel 1
// never matches the TPS digital channel's keys.
constexpr std::array<std::pair<std::string_view, EBlock>, 20> kBlockPrefixes{{
    {"m_base.", EBlock::Base},
    {"m_adv.", EBlock::Advanced},
    {"m_sensorsSetup.", EBlock::Sensors},
    {"m_serviceSetup.", EBlock::Service},
    {"m_tempomatSetup.", EBlock::Tempomat},
    {"m_mapTimeEmu1[", EBlock::TimeMap1},
    {"m_mapEmu1[", EBlock::EmuMap1},
    {"m_mapCoordinatesEmu1[", EBlock::Axes1Rpm},
    {"m_mapRpmCoordinatesEmu1[", EBlock::Axes1Rpm},
    {"m_mapTimeEmu2[", EBlock::TimeMap2},
    {"m_mapEmu2[", EBlock::EmuMap2},
    {"m_mapCoordinatesEmu2[", EBlock::Axis2},
    {"m_mapTimeEmu3[", EBlock::TimeMap3},
    {"m_mapEmu3[", EBlock::EmuMap3},
    {"m_mapCoordinatesEmu3[", EBlock::Axis3},
    {"m_mapTimeEmu4[", EBlock::TimeMap4},
    {"m_mapEmu4[", EBlock::EmuMap4},
    {"m_mapCoordinatesEmu4[", EBlock::Axis4},
    {"m_mapTimeEmuTpsD[", EBlock::TimeMapTpsD},
    {"m_mapEmuTpsD[", EBlock::EmuMapTpsD},
}};

// Beyond this many edits a key is no useful suggestion.
constexpr std::size_t kMaxSuggestedDistance = 8;

std::size_t longestKeyLength() {
    static const std::size_t longest = [] {
        std::size_t length = 0;
        for (const SSettingsKey& entry : settingsKeys())
            length = std::max(length, entry.key.size());
        return length;
    }();
    return longest;
}

// An unknown key as the error line shows it: cut short, control characters escaped.
std::string shownKey(std::string_view key) {
    constexpr std::size_t kShownLength = 64;
    const std::string shown = escapeUnprintable(key.substr(0, kShownLength));
    return key.size() > kShownLength ? shown + "... (" + std::to_string(key.size()) + " characters)"
                                     : shown;
}

} // namespace

std::string closestSettingsKey(std::string_view text) {
    // A text far longer than every key is near none of them, and comparing it would take time
    // that grows with its length.
    if (text.size() > longestKeyLength() + kMaxSuggestedDistance)
        return {};
    const SSettingsKey* best = nullptr;
    std::size_t bestDistance = 0;
    for (const SSettingsKey& entry : settingsKeys()) {
        const std::size_t lengthGap = text.size() > entry.key.size()
                                          ? text.size() - entry.key.size()
                                          : entry.key.size() - text.size();
        if (best != nullptr && lengthGap >= bestDistance)
            continue; // cannot beat the best so far
        const std::size_t distance = editDistance(text, entry.key);
        if (best == nullptr || distance < bestDistance) {
            best = &entry;
            bestDistance = distance;
        }
    }
    return best != nullptr ? best->key : std::string();
}

const SSettingsKey& requireSettingsKey(std::string_view key) {
    static const std::unordered_map<std::string_view, const SSettingsKey*> byName = [] {
        std::unordered_map<std::string_view, const SSettingsKey*> names;
        for (const SSettingsKey& entry : settingsKeys())
            names.emplace(entry.key, &entry);
        return names;
    }();
    if (const auto found = byName.find(key); found != byName.end())
        return *found->second;
    const std::string closest = closestSettingsKey(key);
    fail(EExit::Usage,
         "unknown key '" + shownKey(key) + "'" +
             (closest.empty() ? std::string() : "; the closest key is '" + closest + "'"));
}

std::optional<EBlock> blockOfKey(std::string_view key) {
    if (key == "m_serviceSetup.m_tpsJump")
        return std::nullopt; // kept in settings files only
    if (key.starts_with("m_mapCoordinatesEmuTpsD["))
        return EBlock::AxisTpsD;
    for (const auto& [prefix, block] : kBlockPrefixes) {
        if (key.starts_with(prefix))
            return block;
    }
    return std::nullopt;
}

} // namespace torva::cli
