#include "config/block_table.h"

#include "config/device_type.h"

#include <algorithm>

namespace torva {

namespace {

using C = EBlockCondition;

constexpr int kWriteAttempts = 15;

constexpr std::array<SBlockInfo, kBlockCount> kTable{{
    {EBlock::Base, "base", 3, 7, 22, 21, kWriteAttempts, C::Always, 0},
    {EBlock::Advanced, "advanced", 4, 8, 10, 21, kWriteAttempts, C::Always, 0},
    {EBlock::Sensors, "sensors", 9, 14, 8, 21, kWriteAttempts, C::Always, 0},
    {EBlock::Service, "service", 33, 47, 30, 15, kWriteAttempts, C::ServiceFirmware, 0},
    {EBlock::Tempomat, "tempomat", 40, 55, 20, 15, kWriteAttempts, C::TempomatFirmware, 0},
    {EBlock::TimeMap1, "time map 1", 13, 18, kMapBlockSize, 21, kWriteAttempts, C::Always, 1},
    {EBlock::EmuMap1, "emulation map 1", 14, 19, kMapBlockSize, 21, kWriteAttempts, C::Always, 2},
    {EBlock::TimeMap2, "time map 2", 15, 20, kMapBlockSize, 21, kWriteAttempts, C::Always, 3},
    {EBlock::EmuMap2, "emulation map 2", 16, 21, kMapBlockSize, 21, kWriteAttempts, C::Always, 4},
    {EBlock::TimeMap3, "time map 3", 17, 22, kMapBlockSize, 21, kWriteAttempts, C::Always, 5},
    {EBlock::EmuMap3, "emulation map 3", 18, 23, kMapBlockSize, 21, kWriteAttempts, C::Always, 6},
    {EBlock::TimeMap4, "time map 4", 19, 24, kMapBlockSize, 21, kWriteAttempts, C::Always, 7},
    {EBlock::EmuMap4, "emulation map 4", 20, 25, kMapBlockSize, 21, kWriteAttempts, C::Always, 8},
    {EBlock::TimeMapTpsD, "time map TpsD", 35, 48, kMapBlockSize, 21, kWriteAttempts,
     C::TpsDigitalDevice, 9},
    {EBlock::EmuMapTpsD, "emulation map TpsD", 36, 49, kMapBlockSize, 21, kWriteAttempts,
     C::TpsDigitalDevice, 10},
    {EBlock::Axes1Rpm, "axes channel 1 + RPM", 29, 43, 48, 21, kWriteAttempts, C::Always, 0},
    {EBlock::Axis2, "axis channel 2", 30, 44, 32, 21, kWriteAttempts, C::Always, 0},
    {EBlock::Axis3, "axis channel 3", 31, 45, 32, 21, kWriteAttempts, C::Always, 0},
    {EBlock::Axis4, "axis channel 4", 32, 46, 32, 21, kWriteAttempts, C::Always, 0},
    {EBlock::AxisTpsD, "axis TpsD", 39, 54, 32, 21, kWriteAttempts, C::TpsDigitalDevice, 0},
}};

constexpr std::array<EBlock, kBlockCount> kReadOrder{
    EBlock::Sensors, EBlock::Base,     EBlock::Advanced,   EBlock::Tempomat,    EBlock::TimeMap1,
    EBlock::EmuMap1, EBlock::EmuMap2,  EBlock::TimeMap2,   EBlock::EmuMap3,     EBlock::TimeMap3,
    EBlock::EmuMap4, EBlock::TimeMap4, EBlock::Axes1Rpm,   EBlock::Axis2,       EBlock::Axis3,
    EBlock::Axis4,   EBlock::Service,  EBlock::EmuMapTpsD, EBlock::TimeMapTpsD, EBlock::AxisTpsD,
};

constexpr bool tableFollowsEnumOrder() {
    for (std::size_t i = 0; i < kTable.size(); ++i) {
        if (static_cast<std::size_t>(kTable[i].block) != i) {
            return false;
        }
    }
    return true;
}
static_assert(tableFollowsEnumOrder());

} // namespace

std::span<const SBlockInfo, kBlockCount> blockTable() {
    return kTable;
}

const SBlockInfo& blockInfo(EBlock block) {
    return kTable[static_cast<std::size_t>(block)];
}

std::optional<EBlock> blockFromCode(std::uint8_t code) {
    const auto it = std::find_if(kTable.begin(), kTable.end(),
                                 [code](const SBlockInfo& info) { return info.code == code; });
    return it == kTable.end() ? std::nullopt : std::optional<EBlock>(it->block);
}

std::optional<EBlock> blockFromMapNumber(int mapNumber) {
    if (mapNumber <= 0) {
        return std::nullopt;
    }
    const auto it = std::find_if(kTable.begin(), kTable.end(), [mapNumber](const SBlockInfo& info) {
        return info.mapNumber == mapNumber;
    });
    return it == kTable.end() ? std::nullopt : std::optional<EBlock>(it->block);
}

bool blockExists(EBlock block, std::int32_t firmwareVersion, std::uint8_t deviceType) {
    switch (blockInfo(block).condition) {
    case EBlockCondition::Always:
        return true;
    case EBlockCondition::ServiceFirmware:
        return firmwareVersion >= kServiceBlockVersion;
    case EBlockCondition::TempomatFirmware:
        return firmwareVersion >= kTempomatBlockVersion;
    case EBlockCondition::TpsDigitalDevice:
        return hasTpsDigitalMaps(deviceType);
    }
    return false;
}

std::optional<std::int32_t> blockFirmware(EBlock block) {
    switch (blockInfo(block).condition) {
    case EBlockCondition::ServiceFirmware:
        return kServiceBlockVersion;
    case EBlockCondition::TempomatFirmware:
        return kTempomatBlockVersion;
    case EBlockCondition::Always:
    case EBlockCondition::TpsDigitalDevice:
        break;
    }
    return std::nullopt;
}

std::span<const EBlock, kBlockCount> configurationReadOrder() {
    return kReadOrder;
}

} // namespace torva
