#include "sim/block_store.h"

#include <algorithm>

namespace torva::sim {

namespace {

constexpr std::size_t kMapRows = 16;
constexpr std::size_t kMapColumns = 15;
constexpr std::size_t kMapSize = kMapRows * kMapColumns;
constexpr std::uint8_t kEmulationZero = 100;

// Temperature codes of the default engine/gas sensor (type 0) for the factory temperatures.
constexpr std::uint8_t kCode35C = 132;
constexpr std::uint8_t kCode0C = 214;
constexpr std::uint8_t kCode80C = 49;
constexpr std::uint8_t kCode50C = 97;

void put16(std::vector<std::uint8_t>& block, std::size_t at, unsigned value) {
    block[at] = static_cast<std::uint8_t>(value & 0xFF);
    block[at + 1] = static_cast<std::uint8_t>((value >> 8) & 0xFF);
}

// Pressure code of a kPa value; the formula changed with firmware 0x10F.
std::uint8_t pressureCode(double kPa, std::uint16_t version) {
    const double raw =
        version >= 0x10F ? (kPa * 0.002421 - 0.00842) * 255 : 5.0 * (0.04 + kPa * 0.004) * 51;
    return static_cast<std::uint8_t>(std::clamp(raw + 0.5, 0.0, 255.0));
}

std::vector<std::uint8_t> factoryBase(const SimIdentity& id, bool twentyFourVolt) {
    std::vector<std::uint8_t> b(22, 0);
    put16(b, 0, 12500); // 1200 rpm as a 15 MHz period count
    b[2] = 1;
    b[3] = pressureCode(60, id.version);
    b[4] = kCode35C;
    b[5] = 60; // switch delay 30, stored doubled
    b[7] = pressureCode(120, id.version);
    b[8] = 10; // pressure gain 1.0
    b[9] = 4;  // averaging 0.8
    b[10] = kCode0C;
    b[11] = 3; // temperature gain 0.3
    b[12] = kCode0C;
    b[13] = kCode80C;
    put16(b, 14, 600);
    b[16] = twentyFourVolt ? 93 : 85; // 20 V or 10 V minimum supply
    b[17] = 0x10;
    return b;
}

std::vector<std::uint8_t> factoryAdvanced(std::uint8_t modelCode, bool twentyFourVolt) {
    std::vector<std::uint8_t> b(10, 0);
    b[0] = 14;
    b[1] = 25;
    put16(b, 2, twentyFourVolt ? 1000 : 2000); // PWM offset 2.0 or 4.0
    put16(b, 4, twentyFourVolt ? 500 : 1000);  // warming impulse 1.0 or 2.0
    b[6] = 60;
    b[7] = kCode50C;
    const bool b2 = modelCode == 37 || modelCode == 38;
    b[9] = b2 ? 12 : (twentyFourVolt ? 6 : 4);
    return b;
}

std::vector<std::uint8_t> factoryService() {
    std::vector<std::uint8_t> b(30, 0);
    b[8] = 44;
    b[9] = 10;
    b[11] = 55;
    for (std::size_t i = 0; i < 4; ++i)
        put16(b, 12 + 2 * i, 512); // emulator offsets of 0 V
    b[23] = 1;                     // emulation limit delay 25
    put16(b, 24, 3000);            // 5000 rpm
    b[29] = 8;                     // rpm threshold 2.0
    return b;
}

std::vector<std::uint8_t> factoryTempomat(const SimIdentity& id) {
    std::vector<std::uint8_t> b(20, 0);
    put16(b, 0, 15000);                        // 1000 rpm
    put16(b, 2, (id.flags1 & 0x08) ? 36 : 67); // 1.0 V on the switchable scale
    b[10] = 1;
    b[11] = 4; // camshaft threshold 1.0
    b[13] = 6;
    b[16] = 30;
    b[17] = kCode0C;
    return b;
}

std::vector<std::uint8_t> loadAxis(std::size_t size) {
    std::vector<std::uint8_t> b(size, 0);
    for (unsigned k = 1; k <= 16; ++k)
        put16(b, 2 * (k - 1), 64 * k);
    return b;
}

std::vector<std::uint8_t> axesWithRpm() {
    std::vector<std::uint8_t> b = loadAxis(48);
    for (std::size_t c = 0; c < kMapColumns; ++c)
        b[32 + c] = static_cast<std::uint8_t>(5 + 3 * c); // 500 ... 4700 rpm in hundreds
    return b;
}

std::vector<std::uint8_t> tpsDigitalAxis() {
    std::vector<std::uint8_t> b(32, 0);
    for (unsigned k = 0; k < 16; ++k)
        put16(b, 2 * k, 10 + 5 * k);
    return b;
}

} // namespace

const std::vector<BlockInfo>& blockTable() {
    static const std::vector<BlockInfo> table{
        {"base", 3, 7, 22},
        {"advanced", 4, 8, 10},
        {"sensors", 9, 14, 8},
        {"service", 33, 47, 30},
        {"tempomat", 40, 55, 20},
        {"time map 1", 13, 18, kMapSize},
        {"emulation map 1", 14, 19, kMapSize},
        {"time map 2", 15, 20, kMapSize},
        {"emulation map 2", 16, 21, kMapSize},
        {"time map 3", 17, 22, kMapSize},
        {"emulation map 3", 18, 23, kMapSize},
        {"time map 4", 19, 24, kMapSize},
        {"emulation map 4", 20, 25, kMapSize},
        {"time map TpsD", 35, 48, kMapSize},
        {"emulation map TpsD", 36, 49, kMapSize},
        {"axes channel 1 + RPM", 29, 43, 48},
        {"axis channel 2", 30, 44, 32},
        {"axis channel 3", 31, 45, 32},
        {"axis channel 4", 32, 46, 32},
        {"axis TpsD", 39, 54, 32},
    };
    return table;
}

const BlockInfo* blockByCode(std::uint8_t code) {
    const auto& table = blockTable();
    const auto it = std::find_if(table.begin(), table.end(),
                                 [code](const BlockInfo& b) { return b.code == code; });
    return it == table.end() ? nullptr : &*it;
}

const BlockInfo* blockByReadSubCode(std::uint8_t subCode) {
    const auto& table = blockTable();
    const auto it = std::find_if(table.begin(), table.end(), [subCode](const BlockInfo& b) {
        return b.readSubCode == subCode;
    });
    return it == table.end() ? nullptr : &*it;
}

const std::array<MapCodes, 10>& mapCodes() {
    static const std::array<MapCodes, 10> codes{{
        {1, 13, 34, 26, 21, true},
        {2, 14, 35, 27, 22, false},
        {3, 15, 36, 28, 23, true},
        {4, 16, 37, 29, 24, false},
        {5, 17, 38, 30, 25, true},
        {6, 18, 39, 31, 26, false},
        {7, 19, 40, 32, 27, true},
        {8, 20, 42, 33, 28, false},
        {9, 35, 52, 50, 37, true},
        {10, 36, 53, 51, 38, false},
    }};
    return codes;
}

CBlockStore::CBlockStore(const SimIdentity& identity) {
    const bool twentyFourVolt = modelTraits(identity.modelCode).twentyFourVolt;
    m_images[3] = factoryBase(identity, twentyFourVolt);
    m_images[4] = factoryAdvanced(identity.modelCode, twentyFourVolt);
    m_images[9] = {60, 35, 15, 8, 0, 0, 0, 0};
    m_images[33] = factoryService();
    m_images[40] = factoryTempomat(identity);
    for (const MapCodes& map : mapCodes())
        m_images[map.blockCode] =
            std::vector<std::uint8_t>(kMapSize, map.timeMap ? 0 : kEmulationZero);
    m_images[29] = axesWithRpm();
    for (std::uint8_t code : {30, 31, 32})
        m_images[code] = loadAxis(32);
    m_images[39] = tpsDigitalAxis();
}

std::vector<std::uint8_t> CBlockStore::image(std::uint8_t code) const {
    const auto it = m_images.find(code);
    return it == m_images.end() ? std::vector<std::uint8_t>{} : it->second;
}

bool CBlockStore::store(std::uint8_t code, const std::vector<std::uint8_t>& payload) {
    const BlockInfo* block = blockByCode(code);
    if (block == nullptr || payload.size() != block->size)
        return false;
    m_images[code] = payload;
    return true;
}

void CBlockStore::clearMap(const MapCodes& map) {
    auto& image = m_images[map.blockCode];
    std::fill(image.begin(), image.end(), map.timeMap ? 0 : kEmulationZero);
}

bool CBlockStore::applyStep(const MapCodes& map, const std::vector<std::uint8_t>& payload) {
    if (payload.size() != 6)
        return false;
    const std::size_t row = payload[0];
    const std::size_t column = payload[1];
    const int operation = payload[4];
    const int amount = payload[5];
    if (row >= kMapRows || column >= kMapColumns || (operation != 2 && operation != 3))
        return false;
    const std::size_t rows = std::min<std::size_t>(payload[2], kMapRows - row);
    const std::size_t columns = std::min<std::size_t>(payload[3], kMapColumns - column);
    const int step = operation == 2 ? amount : -amount;
    auto& image = m_images[map.blockCode];
    for (std::size_t r = row; r < row + rows; ++r)
        for (std::size_t c = column; c < column + columns; ++c) {
            auto& cell = image[r * kMapColumns + c];
            cell = static_cast<std::uint8_t>(std::clamp(cell + step, 0, 255));
        }
    return true;
}

} // namespace torva::sim
