#include "config/settings_group_copy.h"

#include "config/config_diff_groups.h"
#include "config/settings_keys.h"

#include <algorithm>
#include <variant>

namespace torva {

void copySettingsGroups(CDeviceConfig& to, const CDeviceConfig& from,
                        std::span<const std::size_t> groups) {
    CDeviceConfig source = from; // the key table locates members in a mutable record
    for (const SSettingsKey& entry : settingsKeys()) {
        const std::optional<std::size_t> group = diffGroupOfKey(entry.key);
        if (!group || std::find(groups.begin(), groups.end(), *group) == groups.end())
            continue;
        const SettingsField target = entry.field(to);
        std::visit(
            [&](auto* member) { *member = *std::get<decltype(member)>(entry.field(source)); },
            target);
    }
}

} // namespace torva
