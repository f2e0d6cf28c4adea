#pragma once

#include <bit>
#include <cstddef>
#include <cstdint>

namespace torva {

// One live reading. The first 52 bytes are the controller's live-data image, byte for byte
// (little-endian, no padding), so an answer in the current layout is copied in unchanged; the
// last 4 bytes are the polling thread's sequence number.
struct DiagSample {
    std::uint16_t m_rpmPeriod;     // engine period against the 15 MHz time base
    std::uint8_t m_fuelMode;       // 3 = gas, anything else diesel
    std::uint8_t m_switchState;    // mode switch as the controller reports it
    std::uint8_t m_temprEngineRaw; // reducer (coolant) temperature code
    std::uint8_t m_temprLPGRaw;    // gas temperature code
    std::uint8_t m_vccRaw;         // supply voltage
    std::uint8_t m_fuelLevelRaw;   // fuel level sensor
    std::uint8_t m_pressureRaw;    // reducer gas pressure
    std::uint8_t m_vacuumRaw;      // reducer vacuum (manifold side)
    std::uint16_t m_signal[8];     // emulated signals 1-8, ADC counts
    std::uint16_t m_exhaustTempr;  // thermocouple, whole degrees Celsius
    std::uint16_t m_statusFlags;   // bit 0: tempomat active
    std::uint16_t m_crInjTime;     // common-rail injector ON time, 8 us counts
    std::uint16_t m_auxRpmPeriod;  // second engine period (camshaft or injector signal)
    std::uint16_t m_gasInjTime;    // gas injection time, 2 us counts
    std::uint16_t m_ext[8];        // extension values
    std::int32_t m_seq;            // 1 for the first sample a polling thread stores, then 2, ...
};

// Every field sits at its natural alignment, so the record has no padding without a packing
// pragma (which would make taking a field's address unsafe); these checks pin the wire layout.
static_assert(std::endian::native == std::endian::little, "the sample is the wire image");
static_assert(sizeof(DiagSample) == 56);
static_assert(offsetof(DiagSample, m_fuelMode) == 2);
static_assert(offsetof(DiagSample, m_temprEngineRaw) == 4);
static_assert(offsetof(DiagSample, m_vacuumRaw) == 9);
static_assert(offsetof(DiagSample, m_signal) == 10);
static_assert(offsetof(DiagSample, m_exhaustTempr) == 26);
static_assert(offsetof(DiagSample, m_statusFlags) == 28);
static_assert(offsetof(DiagSample, m_crInjTime) == 30);
static_assert(offsetof(DiagSample, m_auxRpmPeriod) == 32);
static_assert(offsetof(DiagSample, m_gasInjTime) == 34);
static_assert(offsetof(DiagSample, m_ext) == 36);
static_assert(offsetof(DiagSample, m_seq) == 52);

// Bytes of the controller's image in a sample.
constexpr std::size_t kLiveImageSize = 52;

// The live-sample read: request code 0x02 with this sub-code as payload byte 0.
constexpr std::uint8_t kLiveSampleRequest = 0x02;
constexpr std::uint8_t kLiveSampleSubCode = 6;
constexpr std::uint8_t kLiveSampleRequestLength = 6;
// Answer codes: the older compact layout and the current one.
constexpr std::uint8_t kCompactSampleCode = 1;
constexpr std::uint8_t kCurrentSampleCode = 34;

// Fuel modes of m_fuelMode.
constexpr std::uint8_t kFuelModeDiesel = 2;
constexpr std::uint8_t kFuelModeGas = 3;

// Fills the controller's image of sample (the sequence number is left alone) from an answer's
// payload of the given length. False, with sample untouched, when code is not a live-sample
// answer. The image is zeroed first, so fields an answer lacks read 0; modes 4 and 5 (gas
// variants) are stored as 3.
bool decodeLiveSample(std::uint8_t code, const std::uint8_t* payload, std::size_t length,
                      DiagSample& sample);

} // namespace torva
