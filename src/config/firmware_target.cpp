#include "config/firmware_target.h"

#include "platform/folders.h"

#include <array>

namespace torva {

namespace {

constexpr std::array<SFirmwareTarget, 4> kTargets{{
    {3, "KARMEL C1", 0x9C00, 1024, 197},
    {25, "KARMEL C2", 0xE000, 2048, 196},
    {37, "KARMEL B2", 0x2A400, 2048, 196},
    {40, "KARMEL B1", 0xE000, 2048, 196},
}};

} // namespace

std::optional<SFirmwareTarget> firmwareTarget(int deviceType) {
    for (const auto& target : kTargets) {
        if (target.deviceType == deviceType)
            return target;
    }
    return std::nullopt;
}

std::optional<std::string> firmwareFolder(int deviceType) {
    const auto target = firmwareTarget(deviceType);
    if (!target)
        return std::nullopt;
    return programDataFolder("Diesel Firmware") + target->subFolder + "/";
}

} // namespace torva
