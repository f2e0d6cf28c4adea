#include "config/config_diff_groups.h"

#include "lang/source_text.h"

#include <array>
#include <charconv>

namespace torva {

namespace {

using B = EBlock;

constexpr std::array<SDiffGroup, 21> kGroups{{
    {"m_base", PL("Ustawienia podstawowe"), B::Base, false},
    {"m_adv", PL("Wtryskiwacze"), B::Advanced, false},
    {"m_sensorsSetup", PL("Czujniki"), B::Sensors, false},
    {"m_serviceSetup", PL("Serwis"), B::Service, false},
    {"m_tempomatSetup", PL("Tempomat"), B::Tempomat, false},
    {"m_mapTimeEmu1", PL("Mapa wtrysku 1"), B::TimeMap1, true},
    {"m_mapEmu1", PL("Mapa emulacji 1"), B::EmuMap1, true},
    {"m_mapCoordinatesEmu1", PL("Oś obciążenia 1"), B::Axes1Rpm, false},
    {"m_mapRpmCoordinatesEmu1", PL("Oś obrotów"), B::Axes1Rpm, false},
    {"m_mapTimeEmu2", PL("Mapa wtrysku 2"), B::TimeMap2, true},
    {"m_mapEmu2", PL("Mapa emulacji 2"), B::EmuMap2, true},
    {"m_mapCoordinatesEmu2", PL("Oś obciążenia 2"), B::Axis2, false},
    {"m_mapTimeEmu3", PL("Mapa wtrysku 3"), B::TimeMap3, true},
    {"m_mapEmu3", PL("Mapa emulacji 3"), B::EmuMap3, true},
    {"m_mapCoordinatesEmu3", PL("Oś obciążenia 3"), B::Axis3, false},
    {"m_mapTimeEmu4", PL("Mapa wtrysku 4"), B::TimeMap4, true},
    {"m_mapEmu4", PL("Mapa emulacji 4"), B::EmuMap4, true},
    {"m_mapCoordinatesEmu4", PL("Oś obciążenia 4"), B::Axis4, false},
    {"m_mapTimeEmuTpsD", PL("Mapa wtrysku TPS cyfr."), B::TimeMapTpsD, true},
    {"m_mapEmuTpsD", PL("Mapa emulacji TPS cyfr."), B::EmuMapTpsD, true},
    {"m_mapCoordinatesEmuTpsD", PL("Oś obciążenia TPS cyfr."), B::AxisTpsD, false},
}};

std::optional<int> indexAt(std::string_view text, std::size_t open) {
    int value = 0;
    const char* first = text.data() + open + 1;
    const auto [end, error] = std::from_chars(first, text.data() + text.size(), value);
    if (error != std::errc() || end == text.data() + text.size() || *end != ']')
        return std::nullopt;
    return value;
}

} // namespace

std::span<const SDiffGroup> diffGroups() {
    return kGroups;
}

std::optional<std::size_t> diffGroupOfKey(std::string_view key) {
    // Settings members end their group prefix with '.', map and axis names with '['.
    const std::size_t end = key.find_first_of(key.starts_with("m_map") ? "[" : ".");
    if (end == std::string_view::npos)
        return std::nullopt;
    const std::string_view prefix = key.substr(0, end);
    for (std::size_t i = 0; i < kGroups.size(); ++i) {
        if (kGroups[i].prefix == prefix)
            return i;
    }
    return std::nullopt;
}

std::optional<SKeyCell> keyCell(std::string_view key) {
    const std::size_t open = key.find('[');
    if (open == std::string_view::npos)
        return std::nullopt;
    const std::optional<int> row = indexAt(key, open);
    if (!row)
        return std::nullopt;
    SKeyCell cell{*row, -1};
    if (const std::size_t second = key.find('[', open + 1); second != std::string_view::npos) {
        const std::optional<int> column = indexAt(key, second);
        if (!column)
            return std::nullopt;
        cell.column = *column;
    }
    return cell;
}

} // namespace torva
