#pragma once

#include "maps/map_array.h"

#include <memory>

namespace torva {

// The ten map grids, one per map of the record (numbers as the map commands count them).
template <int Number> class CMapOf : public CMapArray {
public:
    explicit CMapOf(CLPGDevice& device) : CMapArray(device, Number) {}
};

using CMapTime = CMapOf<1>;
using CMapEmu1 = CMapOf<2>;
using CMapTime2 = CMapOf<3>;
using CMapEmu2 = CMapOf<4>;
using CMapTime3 = CMapOf<5>;
using CMapTime4 = CMapOf<7>;
using CMapEmu4 = CMapOf<8>;
using CMapTimeTPSDigital = CMapOf<9>;
using CMapEmuTPSDigital = CMapOf<10>;

// Channel 3's emulation map: while the two TPS channels are coupled (bit 4 of m_base.m_flags),
// every step and every tool changes channel 4's emulation map the same way, and one undo
// restores both.
class CMapEmu3 : public CMapArray {
public:
    static constexpr int kCoupledMap = 8;
    explicit CMapEmu3(CLPGDevice& device) : CMapArray(device, 6) {}

protected:
    int coupledMap() const override;
};

// The grid of map 1-10; throws std::out_of_range for another number.
std::unique_ptr<CMapArray> createMapArray(int mapNumber, CLPGDevice& device);

} // namespace torva
