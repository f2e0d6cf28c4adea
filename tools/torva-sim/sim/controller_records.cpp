#include "sim/controller_model.h"

#include "sim/sim_cipher.h"

#include <algorithm>

namespace torva::sim {

namespace {

void put16(std::vector<std::uint8_t>& out, std::size_t at, unsigned value) {
    out[at] = static_cast<std::uint8_t>(value & 0xFF);
    out[at + 1] = static_cast<std::uint8_t>((value >> 8) & 0xFF);
}

void put32(std::vector<std::uint8_t>& out, std::size_t at, std::uint32_t value) {
    put16(out, at, value & 0xFFFF);
    put16(out, at + 2, value >> 16);
}

constexpr std::size_t kChunkEntries = 32;

} // namespace

std::vector<std::uint8_t> CControllerModel::deviceInformation() const {
    const SimIdentity& id = m_settings.identity;
    std::vector<std::uint8_t> record(30, 0);
    put32(record, 0, id.flags1);
    put32(record, 4, id.flags2);
    put16(record, 8, id.productionDays);
    put16(record, 10, id.version);
    std::string serial = id.identifier.substr(0, 16);
    serial.resize(16, '\0');
    if (id.enciphered)
        serial = encipher(kIdentifierKey, serial);
    std::copy(serial.begin(), serial.end(), record.begin() + 12);
    record[28] = id.injectorCount;
    record[29] = id.modelCode;
    return record;
}

std::vector<std::uint8_t> CControllerModel::exhaustRecord() const {
    // 16 thermocouple temperatures in °C (one per cylinder fitted), then 8 knock levels.
    std::vector<std::uint8_t> record(48, 0);
    const std::size_t fitted = std::min<std::size_t>(m_settings.identity.injectorCount, 16);
    const double exhaust = m_engine.exhaustTemperature();
    for (std::size_t i = 0; i < fitted; ++i)
        put16(record, 2 * i, static_cast<unsigned>(exhaust) + 6 * static_cast<unsigned>(i % 4));
    for (std::size_t i = 0; i < 8; ++i)
        put16(record, 32 + 2 * i, static_cast<unsigned>(100 + 200 * m_engine.load()));
    return record;
}

std::vector<std::uint8_t> CControllerModel::statisticsRecord() const {
    // Diesel and gas running time in half-seconds, then a 16-bit value the PC only keeps.
    std::vector<std::uint8_t> record(10, 0);
    put32(record, 0, m_engine.dieselHalfSeconds());
    put32(record, 4, m_engine.gasHalfSeconds());
    return record;
}

std::vector<std::uint8_t> CControllerModel::countersRecord() const {
    std::vector<std::uint8_t> record(12, 0);
    const auto counters = m_engine.counters();
    for (std::size_t i = 0; i < counters.size(); ++i)
        put32(record, 4 * i, counters[i]);
    return record;
}

SimAnswer CControllerModel::correlationChunk(std::uint16_t firstIndex) const {
    std::vector<std::uint8_t> payload(2 + 2 * kChunkEntries, 0);
    put16(payload, 0, firstIndex);
    for (std::size_t i = 0; i < kChunkEntries; ++i)
        put16(payload, 2 + 2 * i, m_correlation[firstIndex + i]);
    return {43, payload, false};
}

bool CControllerModel::storeCorrelationChunk(const std::vector<std::uint8_t>& payload) {
    if (payload.size() != 2 + 2 * kChunkEntries)
        return false;
    const std::size_t first = payload[0] | (payload[1] << 8);
    if (first + kChunkEntries > kCorrelationEntries)
        return false;
    for (std::size_t i = 0; i < kChunkEntries; ++i)
        m_correlation[first + i] =
            static_cast<std::uint16_t>(payload[2 + 2 * i] | (payload[3 + 2 * i] << 8));
    return true;
}

} // namespace torva::sim
