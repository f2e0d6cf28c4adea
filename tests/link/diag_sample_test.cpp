#include "config/device_config.h"
#include "diag/diag_sample_values.h"
#include "link/diag_sample.h"

#include <gtest/gtest.h>

#include <cstring>
#include <numeric>
#include <vector>

using namespace torva;

namespace {

std::vector<std::uint8_t> countingPayload(std::size_t size) {
    std::vector<std::uint8_t> payload(size);
    std::iota(payload.begin(), payload.end(), std::uint8_t{1});
    return payload;
}

const std::uint8_t* bytesOf(const DiagSample& sample) {
    return reinterpret_cast<const std::uint8_t*>(&sample);
}

} // namespace

TEST(LiveSampleDecode, CompactLayoutFillsTheSharedBytesAndTheGasTimeOnly) {
    const auto payload = countingPayload(34); // mode byte 3: stays gas
    DiagSample sample;
    std::memset(&sample, 0xEE, sizeof sample);
    ASSERT_TRUE(decodeLiveSample(kCompactSampleCode, payload.data(), payload.size(), sample));

    const std::uint8_t* bytes = bytesOf(sample);
    for (int i = 0; i < 30; ++i)
        EXPECT_EQ(bytes[i], payload[i]) << "offset " << i;
    for (int i = 30; i < 34; ++i)
        EXPECT_EQ(bytes[i], 0) << "offset " << i;
    EXPECT_EQ(sample.m_gasInjTime, 33 | 34 << 8);
    for (int i = 36; i < 52; ++i)
        EXPECT_EQ(bytes[i], 0) << "offset " << i;
    EXPECT_EQ(sample.m_seq, static_cast<std::int32_t>(0xEEEEEEEE)) << "not the decoder's field";
}

TEST(LiveSampleDecode, CurrentLayoutIsCopiedUpToTheImageOnly) {
    auto payload = countingPayload(60);
    payload[2] = 2;
    DiagSample sample{};
    sample.m_seq = 9;
    ASSERT_TRUE(decodeLiveSample(kCurrentSampleCode, payload.data(), payload.size(), sample));
    EXPECT_EQ(std::memcmp(bytesOf(sample), payload.data(), kLiveImageSize), 0);
    EXPECT_EQ(sample.m_seq, 9);

    // A short answer leaves the rest of the image zero.
    std::memset(&sample, 0xEE, kLiveImageSize);
    ASSERT_TRUE(decodeLiveSample(kCurrentSampleCode, payload.data(), 10, sample));
    EXPECT_EQ(sample.m_vacuumRaw, 10);
    EXPECT_EQ(sample.m_signal[0], 0);
    EXPECT_EQ(sample.m_ext[7], 0);
}

TEST(LiveSampleDecode, GasVariantsAreStoredAsGasAndOtherCodesAreRefused) {
    for (const std::uint8_t mode : {4, 5}) {
        std::vector<std::uint8_t> payload(52, 0);
        payload[2] = mode;
        DiagSample sample{};
        ASSERT_TRUE(decodeLiveSample(kCurrentSampleCode, payload.data(), payload.size(), sample));
        EXPECT_EQ(sample.m_fuelMode, kFuelModeGas);
        EXPECT_TRUE(isGasMode(sample.m_fuelMode));
    }
    EXPECT_FALSE(isGasMode(2));
    EXPECT_FALSE(isGasMode(6));

    const std::vector<std::uint8_t> payload(52, 0x11);
    DiagSample sample{};
    sample.m_rpmPeriod = 1234;
    EXPECT_FALSE(decodeLiveSample(2, payload.data(), payload.size(), sample));
    EXPECT_EQ(sample.m_rpmPeriod, 1234);
}

TEST(LiveSampleValues, EngineSpeedHasNoDivisionByZeroAndFollowsTheTempomatFlags) {
    EXPECT_EQ(rpmFromSamplePeriod(0), 0.0);
    EXPECT_EQ(rpmFromSamplePeriod(0xFFFF), 0.0);
    EXPECT_DOUBLE_EQ(rpmFromSamplePeriod(15000), 1000.0);

    DiagSample sample{};
    sample.m_rpmPeriod = 15000;
    sample.m_auxRpmPeriod = 7500;
    EXPECT_DOUBLE_EQ(engineSpeed(sample, 0x0000), 1000.0);
    EXPECT_DOUBLE_EQ(engineSpeed(sample, 0x00DD), 1000.0); // every bit but 0x22
    EXPECT_DOUBLE_EQ(engineSpeed(sample, 0x0002), 2000.0);
    EXPECT_DOUBLE_EQ(engineSpeed(sample, 0x0020), 2000.0);
}

TEST(LiveSampleValues, TemperaturesAndSupplyVoltage) {
    EXPECT_EQ(sampleTemperature(0, 3), 255.0);
    EXPECT_EQ(sampleTemperature(255, 0), -36.0);
    EXPECT_NEAR(supplyVoltage(122, 3), 14.3529, 1e-4);
    EXPECT_NEAR(supplyVoltage(66, 25), 14.2353, 1e-4);
    EXPECT_NEAR(supplyVoltage(66, 37), 14.2353, 1e-4);
}

TEST(LiveSampleValues, PressureFloorsOnOldFirmwareAndAbsoluteVacuumDoesNot) {
    constexpr std::int32_t kOld = 270;
    constexpr std::int32_t kNew = 271;
    EXPECT_EQ(livePressure(3, kOld), 0.0); // -7 kPa before the floor
    EXPECT_NEAR(livePressure(112, kOld), 99.804, 1e-3);
    EXPECT_NEAR(livePressure(3, kNew), 8.3373, 1e-4);

    // Relative vacuum uses the floored pressure; absolute vacuum ignores the version.
    EXPECT_EQ(liveVacuum(3, kOld, 0x00), 101.0);
    EXPECT_NEAR(liveVacuum(3, kNew, 0x00), 101.0 - 8.3373, 1e-4);
    EXPECT_NEAR(liveVacuum(0, kOld, kAbsoluteVacuumFlag), 3.478, 1e-3);
    EXPECT_NEAR(liveVacuum(50, kOld, kAbsoluteVacuumFlag), 84.468, 1e-3);
}

TEST(LiveSampleValues, SignalScalesAndTimes) {
    DiagSample sample{};
    for (int i = 0; i < kSignalCount; ++i)
        sample.m_signal[i] = 1000;
    const double fixed = 1000 * 0.003226 * 4.636;
    const double high = 1000 * 0.003226 * 8.5;
    EXPECT_EQ(signalScale(0x05), 4.636);
    EXPECT_EQ(signalScale(0x08), 8.5);

    EXPECT_NEAR(signalValue(sample, 0, 0, 8.5), fixed, 1e-9);
    EXPECT_NEAR(signalValue(sample, 3, 0, 8.5), fixed, 1e-9);
    EXPECT_NEAR(signalValue(sample, 4, 0, 8.5), high, 1e-9);
    EXPECT_NEAR(signalValue(sample, 7, 0, 8.5), high, 1e-9);
    EXPECT_EQ(signalValue(sample, 4, kTenthsSignalFlag, 8.5), 100.0);
    EXPECT_EQ(signalValue(sample, 5, kTenthsSignalFlag, 8.5), 100.0);
    EXPECT_NEAR(signalValue(sample, 6, kTenthsSignalFlag, 8.5), high, 1e-9);

    EXPECT_EQ(crInjTimeMs(1), 0.01);
    EXPECT_EQ(crInjTimeMs(0), 0.0);
    EXPECT_EQ(crInjTimeMs(125), 1.0);
    EXPECT_DOUBLE_EQ(gasInjTimeMs(1400), 2.8);
    for (int i = 0; i < kExtCount; ++i)
        sample.m_ext[i] = 500;
    EXPECT_DOUBLE_EQ(extValue(sample, 0), 1.0);
    EXPECT_DOUBLE_EQ(extValue(sample, 2), 50.0);
    EXPECT_DOUBLE_EQ(extValue(sample, 5), 1.0);
    EXPECT_DOUBLE_EQ(extValue(sample, 7), 50.0);
}

TEST(LiveSampleValues, LiveValuesTakeEachSettingFromTheConfiguration) {
    CDeviceConfig config;
    config.m_devInfo.m_version = 0x0130;
    config.m_devInfo.m_deviceID = 25;
    config.m_devInfo.m_flags1 = 0x08;
    config.m_sensorsSetup.m_temprEngineSensor = 3;
    config.m_sensorsSetup.m_temprLPGSensor = 0;
    config.m_tempomatSetup.m_tempomatFlags = 0x20;
    config.m_base.m_advancedFlags = 0;

    DiagSample sample{};
    sample.m_rpmPeriod = 15000;
    sample.m_auxRpmPeriod = 3000;
    sample.m_temprEngineRaw = 0;
    sample.m_temprLPGRaw = 255;
    sample.m_vccRaw = 66;
    sample.m_pressureRaw = 3;
    sample.m_vacuumRaw = 3;
    sample.m_signal[6] = 1000;

    const SLiveValues values = liveValues(sample, config);
    EXPECT_DOUBLE_EQ(values.rpm, 1000.0);
    EXPECT_DOUBLE_EQ(values.auxRpm, 5000.0);
    EXPECT_DOUBLE_EQ(values.engineSpeed, 5000.0);
    EXPECT_EQ(values.reducerTemperature, 255.0);
    EXPECT_EQ(values.gasTemperature, -36.0);
    EXPECT_NEAR(values.supplyVolts, 14.2353, 1e-4);
    EXPECT_NEAR(values.pressureKPa, 8.3373, 1e-4);
    EXPECT_NEAR(values.vacuumKPa, 101.0 - 8.3373, 1e-4);
    EXPECT_NEAR(values.signal[6], 1000 * 0.003226 * 8.5, 1e-9);
}
