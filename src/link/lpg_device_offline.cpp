// Offline mode: a settings file stands in for the controller. The device keeps the block images a
// controller would keep and changes them exactly as the controller would under the same
// commands; the record pages edit stays what it is online.
#include "link/lpg_device.h"

#include "config/block_codec.h"
#include "config/maps/map_catalogue.h"

#include <algorithm>

namespace torva {

namespace {

// The partial map write's operations.
constexpr std::uint8_t kRaise = 2;
constexpr std::uint8_t kLower = 3;
// The bytes of an emptied map: 0 ms on a time map, no change (100) on an emulation map.
constexpr std::uint8_t kClearedTimeByte = 0;
constexpr std::uint8_t kClearedEmulationByte = 100;

std::size_t slot(EBlock block) {
    return static_cast<std::size_t>(block);
}

// Decodes every image into config as a connection reads them (sensor types and tempomat flags
// first); the TPS jump, which no block carries, stays.
void readBack(const std::array<std::vector<std::uint8_t>, kBlockCount>& images,
              CDeviceConfig& config) {
    const double tpsJump = config.m_serviceSetup.m_tpsJump;
    for (const EBlock block : configurationReadOrder()) {
        const std::vector<std::uint8_t>& image = images[slot(block)];
        if (!image.empty())
            decodeBlock(block, image.data(), image.size(), config);
    }
    config.m_serviceSetup.m_tpsJump = tpsJump;
}

} // namespace

void CLPGDevice::setOffline(bool offline) {
    if (!offline) {
        m_offline.store(false);
        m_connected.store(false);
        m_liveDiagnostics.store(true);
        const ConfigLock lock = lockConfig();
        m_offlineImages = {};
        return;
    }
    // The port is of no use meanwhile, and another program may want it.
    if (m_port != nullptr) {
        CMSGMutex::Guard exchange(m_exchangeMutex);
        m_port->close();
    }
    {
        const ConfigLock lock = lockConfig();
        const SDevInfo& info = m_config.m_devInfo;
        for (const SBlockInfo& block : blockTable()) {
            m_offlineImages[slot(block.block)] =
                blockExists(block.block, info.m_version, info.m_deviceID)
                    ? encodeBlock(block.block, m_config)
                    : std::vector<std::uint8_t>{};
        }
        readBack(m_offlineImages, m_config);
    }
    // Samples of the engine connected before are no readings of the file.
    m_diagData.clear();
    m_demo.store(false);
    m_liveDiagnostics.store(false);
    m_offlineEdits.store(0);
    m_offline.store(true);
    m_connected.store(true);
}

CDeviceConfig CLPGDevice::offlineRecord() const {
    const ConfigLock lock = lockConfig();
    CDeviceConfig record = m_config;
    readBack(m_offlineImages, record);
    return record;
}

void CLPGDevice::noteOfflineEdit() {
    ++m_offlineEdits;
    if (m_offlineEditListener)
        m_offlineEditListener();
}

bool CLPGDevice::readBlockOffline(EBlock block) {
    const ConfigLock lock = lockConfig();
    const std::vector<std::uint8_t>& image = m_offlineImages[slot(block)];
    if (image.empty())
        return false;
    decodeBlock(block, image.data(), image.size(), m_config);
    return true;
}

bool CLPGDevice::writeBlockOffline(EBlock block) {
    {
        const ConfigLock lock = lockConfig();
        std::vector<std::uint8_t>& image = m_offlineImages[slot(block)];
        if (image.empty())
            return false;
        image = encodeBlock(block, m_config);
    }
    noteOfflineEdit();
    return true;
}

bool CLPGDevice::writeMapPartOffline(int mapNumber,
                                     std::span<const std::uint8_t, kMapPartSize> part) {
    const std::size_t row = part[0];
    const std::size_t column = part[1];
    const std::uint8_t operation = part[4];
    if (row >= kMapRows || column >= kMapColumns || (operation != kRaise && operation != kLower))
        return false;
    const std::size_t rows = std::min<std::size_t>(part[2], kMapRows - row);
    const std::size_t columns = std::min<std::size_t>(part[3], kMapColumns - column);
    const int step = operation == kRaise ? part[5] : -part[5];
    {
        const ConfigLock lock = lockConfig();
        std::vector<std::uint8_t>& image = m_offlineImages[slot(mapInfo(mapNumber).block)];
        if (image.empty())
            return false;
        for (std::size_t r = row; r < row + rows; ++r) {
            for (std::size_t c = column; c < column + columns; ++c) {
                std::uint8_t& cell = image[r * kMapColumns + c];
                // The controller saturates a cell at the ends of its byte.
                cell = static_cast<std::uint8_t>(std::clamp(cell + step, 0, 255));
            }
        }
    }
    noteOfflineEdit();
    return true;
}

bool CLPGDevice::clearMapOffline(int mapNumber) {
    const SMapInfo& map = mapInfo(mapNumber);
    {
        const ConfigLock lock = lockConfig();
        std::vector<std::uint8_t>& image = m_offlineImages[slot(map.block)];
        if (image.empty())
            return false;
        std::fill(image.begin(), image.end(),
                  map.kind == EMapKind::Time ? kClearedTimeByte : kClearedEmulationByte);
    }
    noteOfflineEdit();
    return true;
}

} // namespace torva
