#pragma once

#include "sim/identity.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <map>
#include <optional>
#include <vector>

namespace torva::sim {

// One configuration block: written with its code, read with its sub-code, fixed size.
struct BlockInfo {
    const char* name;
    std::uint8_t code;
    std::uint8_t readSubCode;
    std::size_t size;
};

const std::vector<BlockInfo>& blockTable();
const BlockInfo* blockByCode(std::uint8_t code);
const BlockInfo* blockByReadSubCode(std::uint8_t subCode);

// The ten maps in the PC's numbering (1 = time map 1, 2 = emulation map 1, ... 9 = time map
// TpsD, 10 = emulation map TpsD) and the codes that address them.
struct MapCodes {
    int number;
    std::uint8_t blockCode;
    std::uint8_t clearSubCode;  // first code of the clear pair
    std::uint8_t commitSubCode; // second code: completes a clear or a partial write
    std::uint8_t partialCode;   // request code of the partial write
    bool timeMap;
};

const std::array<MapCodes, 10>& mapCodes();

// Every configuration block as the raw byte image the controller keeps.
class CBlockStore {
public:
    // A plausible factory configuration for the given controller.
    explicit CBlockStore(const SimIdentity& identity);

    // The image of the block with this code; empty for a code that is no block.
    std::vector<std::uint8_t> image(std::uint8_t code) const;
    // Stores a whole block; false (nothing stored) for an unknown code or a payload of the wrong
    // size.
    bool store(std::uint8_t code, const std::vector<std::uint8_t>& payload);
    // Resets a map to its cleared state: 0 ms in a time map, 0 % (raw 100) in an emulation map.
    void clearMap(const MapCodes& map);
    // Applies the map editor's 6-byte step (row, column, rows, columns, 2 = add / 3 = subtract,
    // amount) to the rectangle, saturating at 0 and 255; false for a payload it cannot apply.
    bool applyStep(const MapCodes& map, const std::vector<std::uint8_t>& payload);

private:
    std::map<std::uint8_t, std::vector<std::uint8_t>> m_images;
};

} // namespace torva::sim
