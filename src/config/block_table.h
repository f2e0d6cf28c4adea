#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string_view>

namespace torva {

// The controller's configuration blocks. A block is read with request code 0x02 and its read
// sub-code, answered with its block code; it is written with its block code as the request code
// and answered with an acknowledgement. Read and write carry the same byte image.
enum class EBlock {
    Base,
    Advanced,
    Sensors,
    Service,
    Tempomat,
    TimeMap1,
    EmuMap1,
    TimeMap2,
    EmuMap2,
    TimeMap3,
    EmuMap3,
    TimeMap4,
    EmuMap4,
    TimeMapTpsD,
    EmuMapTpsD,
    Axes1Rpm, // channel-1 load axis and the shared RPM axis
    Axis2,
    Axis3,
    Axis4,
    AxisTpsD,
};
constexpr std::size_t kBlockCount = 20;

// Which controllers have a block.
enum class EBlockCondition {
    Always,
    ServiceFirmware,  // firmware 0x102 and later
    TempomatFirmware, // firmware 0x10A and later
    TpsDigitalDevice, // device types 25 and 37
};

struct SBlockInfo {
    EBlock block;
    std::string_view name; // for logs and error context
    std::uint8_t code;     // write request code = read response code
    std::uint8_t readSubCode;
    std::size_t size; // payload bytes
    int readAttempts;
    int writeAttempts;
    EBlockCondition condition;
    // Number of a map in the map commands (1-10: time map 1, emulation map 1, ..., time map 4,
    // emulation map 4, time map TpsD, emulation map TpsD); 0 for blocks that are not maps.
    int mapNumber;
};

constexpr std::size_t kMapBlockSize = 240;
constexpr std::size_t kMaxBlockSize = kMapBlockSize;

// The table in EBlock order.
std::span<const SBlockInfo, kBlockCount> blockTable();
const SBlockInfo& blockInfo(EBlock block);
std::optional<EBlock> blockFromCode(std::uint8_t code);
std::optional<EBlock> blockFromMapNumber(int mapNumber);

// Whether a controller with this firmware version and device type has the block; blocks it
// lacks are neither read nor written.
bool blockExists(EBlock block, std::int32_t firmwareVersion, std::uint8_t deviceType);

// The firmware version from which controllers have the block, or std::nullopt when the
// firmware does not decide it.
std::optional<std::int32_t> blockFirmware(EBlock block);

// The order in which the whole configuration is read after connecting. The sensors block comes
// first because later blocks' temperatures use its sensor types, and the tempomat block comes
// before the service block and axis 3 because its flag decides whether their TPS values are raw
// counts. Blocks the controller lacks are skipped by the caller (blockExists).
std::span<const EBlock, kBlockCount> configurationReadOrder();

} // namespace torva
