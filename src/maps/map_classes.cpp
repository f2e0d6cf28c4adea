#include "maps/map_classes.h"

#include "link/lpg_device.h"

namespace torva {

int CMapEmu3::coupledMap() const {
    return (device().config().m_base.m_flags & kCoupledTpsFlag) != 0 ? kCoupledMap : 0;
}

std::unique_ptr<CMapArray> createMapArray(int mapNumber, CLPGDevice& device) {
    switch (mapNumber) {
    case 1:
        return std::make_unique<CMapTime>(device);
    case 2:
        return std::make_unique<CMapEmu1>(device);
    case 3:
        return std::make_unique<CMapTime2>(device);
    case 4:
        return std::make_unique<CMapEmu2>(device);
    case 5:
        return std::make_unique<CMapTime3>(device);
    case 6:
        return std::make_unique<CMapEmu3>(device);
    case 7:
        return std::make_unique<CMapTime4>(device);
    case 8:
        return std::make_unique<CMapEmu4>(device);
    case 9:
        return std::make_unique<CMapTimeTPSDigital>(device);
    case 10:
        return std::make_unique<CMapEmuTPSDigital>(device);
    default:
        mapInfo(mapNumber); // throws
    }
    return nullptr;
}

} // namespace torva
