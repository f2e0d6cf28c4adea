#include "ui/pages/calibration/calibration_rules.h"

#include "config/maps/map_catalogue.h"
#include "config/rounding.h"

#include <algorithm>

namespace torva::calibration {

namespace {

constexpr std::uint16_t kTempomatCaseFlag = 0x01;
constexpr double kMapCutOffStep = 0.01;
constexpr double kMapCutOffMax = 12.0;
constexpr double kTpsJumpStep = 0.01;
constexpr double kTpsJumpLowest = 0.05;
constexpr double kTpsJumpMax = 1.0;
constexpr double kTpsEmLimitDelayStep = 25;
constexpr double kTpsEmLimitDelayMax = 5000;

bool percentScale(const CDeviceConfig& config) {
    return (config.m_base.m_flags & kPercentLoadScaleFlag) != 0;
}

int channelIndex(EEmuChannel page) {
    return static_cast<int>(page);
}

} // namespace

double gridStep(EPageMap activeGrid) {
    return activeGrid == EPageMap::Time ? kTimeGridStep : kEmulationGridStep;
}

bool isTempomatCase(const CDeviceConfig& config) {
    return (config.m_tempomatSetup.m_tempomatFlags & kTempomatCaseFlag) != 0;
}

double stepEmuPerPercent(double current, int direction) {
    return std::clamp(round1(current + direction * kEmuPerPercentStep), 0.0, kEmuPerPercentMax);
}

std::optional<double> coupledTimeDelta(EEmuChannel page, const CDeviceConfig& config,
                                       double emuPerPercent, EPageMap activeGrid,
                                       double activeDelta) {
    if (emuPerPercent == 0 || activeGrid != EPageMap::Emulation)
        return std::nullopt;
    const bool mafSignal = page == EEmuChannel::Emu2 && !isTempomatCase(config);
    return (mafSignal ? 1 : -1) * emuPerPercent * activeDelta;
}

std::optional<double> stepEmuOffset(double current, int direction) {
    // Three decimals, as the controller keeps offsets, so that steps do not drift past 0.5.
    const double stepped = round3(current + direction * kEmuOffsetStep);
    if (stepped < -kEmuOffsetLimit || stepped > kEmuOffsetLimit)
        return std::nullopt;
    return stepped;
}

bool showsMapCutOff(const CDeviceConfig& config) {
    return config.m_devInfo.m_version >= kMapCutOffFirmware;
}

double stepMapCutOff(double current, int direction) {
    return std::clamp(round2(current + direction * kMapCutOffStep), 0.0, kMapCutOffMax);
}

std::optional<double> stepTpsJump(double current, int direction) {
    const bool nearOff = current >= 0 && current <= kTpsJumpLowest;
    if (nearOff && direction < 0)
        return 0.0;
    if (nearOff && current < kTpsJumpLowest && direction > 0)
        return kTpsJumpLowest;
    const double stepped = round2(current + direction * kTpsJumpStep);
    if (stepped < 0 || stepped > kTpsJumpMax)
        return std::nullopt;
    return stepped;
}

double stepTpsEmLimitDelay(double current, int direction) {
    return std::clamp(current + direction * kTpsEmLimitDelayStep, kTpsEmLimitDelayStep,
                      kTpsEmLimitDelayMax);
}

std::uint8_t tpsLimitBit(ETpsLimitBox box) {
    return static_cast<std::uint8_t>(1u << static_cast<int>(box));
}

std::uint8_t tpsLimitFlagsAfterClick(std::uint8_t flags, ETpsLimitBox box, bool checked,
                                     std::uint8_t baseFlags) {
    std::uint8_t bits = tpsLimitBit(box);
    const bool thirdOrFourth = box == ETpsLimitBox::Emu3 || box == ETpsLimitBox::Emu4;
    if (thirdOrFourth && (baseFlags & kTpsChannelsCoupledFlag) != 0)
        bits = tpsLimitBit(ETpsLimitBox::Emu3) | tpsLimitBit(ETpsLimitBox::Emu4);
    return static_cast<std::uint8_t>(checked ? flags | bits : flags & ~bits);
}

std::array<std::string, kMapRows> loadHeaderTexts(EEmuChannel page, const CDeviceConfig& config) {
    std::array<std::string, kMapRows> texts;
    for (int r = 0; r < kMapRows; ++r)
        texts[r] = loadHeaderText(config, channelIndex(page) + 1, r);
    return texts;
}

std::array<std::string, kMapColumns> rpmHeaderTexts(const CDeviceConfig& config) {
    std::array<std::string, kMapColumns> texts;
    for (int c = 0; c < kMapColumns; ++c)
        texts[c] = formatRpmPoint(config.m_mapRpmCoordinatesEmu1[c]);
    return texts;
}

std::string timeGridCorner(EEmuChannel page, const CDeviceConfig& config) {
    if (page == EEmuChannel::TpsDigital)
        return "V";
    const bool percent =
        percentScale(config) || (page == EEmuChannel::Emu3 && config.tpsValuesAreRawCounts());
    std::string corner = percent ? "%" : "V";
    if (page == EEmuChannel::Emu2)
        corner += "\\RPM";
    return corner;
}

const char* pageTitle(EEmuChannel page, const CDeviceConfig& config) {
    switch (page) {
    case EEmuChannel::Emu1:
        return PL("Mapa Map Sensor");
    case EEmuChannel::Emu2:
        return isTempomatCase(config) ? PL("Mapa Tempomat") : PL("Mapa MAF");
    case EEmuChannel::Emu3:
        return PL("Mapa TPS 1");
    case EEmuChannel::Emu4:
        return PL("Mapa TPS 2");
    case EEmuChannel::TpsDigital:
        break;
    }
    return PL("Mapa TPS cyfr.");
}

const char* channelLabel(EEmuChannel page, const CDeviceConfig& config) {
    switch (page) {
    case EEmuChannel::Emu1:
        return PL("Map Sensor");
    case EEmuChannel::Emu2:
        return isTempomatCase(config) ? PL("Map Sensor") : PL("MAF");
    case EEmuChannel::Emu3:
        return PL("TPS 1");
    case EEmuChannel::Emu4:
        return PL("TPS 2");
    case EEmuChannel::TpsDigital:
        break;
    }
    return PL("TPS cyfrowy");
}

SChannelLive channelLive(EEmuChannel page, const CDeviceConfig& config, const SLiveValues& live) {
    SChannelLive values;
    if (page == EEmuChannel::TpsDigital) {
        // PWM duty of input 1 and output 1, in percent.
        values.input = live.ext[2];
        values.output = live.ext[3];
        return values;
    }
    int inputSignal = 2 * channelIndex(page);
    if (page == EEmuChannel::Emu2 && isTempomatCase(config))
        inputSignal = 0;
    values.input = live.signal[inputSignal];
    values.output = live.signal[inputSignal + 1];
    if (values.input != 0)
        values.emulationPercent = values.output / values.input * 100 - 100;
    return values;
}

STpsDigitalLive tpsDigitalLive(const SLiveValues& live) {
    STpsDigitalLive values;
    values.period1 = live.ext[0];
    values.pulse1 = live.ext[1];
    values.pwmIn1 = live.ext[2];
    values.pwmOut1 = live.ext[3];
    values.period2 = live.ext[4];
    values.pulse2 = live.ext[5];
    values.pwmIn2 = live.ext[6];
    values.pwmOut2 = live.ext[7];
    return values;
}

int clearMapNumber(EEmuChannel page, EPageMap map) {
    // Map numbers run time map 1, emulation map 1, ..., time map TpsD, emulation map TpsD.
    return 2 * channelIndex(page) + (map == EPageMap::Time ? 1 : 2);
}

MapValues& pageMap(CDeviceConfig& config, EEmuChannel page, EPageMap map) {
    const bool time = map == EPageMap::Time;
    switch (page) {
    case EEmuChannel::Emu1:
        return time ? config.m_mapTimeEmu1 : config.m_mapEmu1;
    case EEmuChannel::Emu2:
        return time ? config.m_mapTimeEmu2 : config.m_mapEmu2;
    case EEmuChannel::Emu3:
        return time ? config.m_mapTimeEmu3 : config.m_mapEmu3;
    case EEmuChannel::Emu4:
        return time ? config.m_mapTimeEmu4 : config.m_mapEmu4;
    case EEmuChannel::TpsDigital:
        break;
    }
    return time ? config.m_mapTimeEmuTpsD : config.m_mapEmuTpsD;
}

std::uint8_t& emulationEnable(CDeviceConfig& config, EEmuChannel page) {
    if (page == EEmuChannel::TpsDigital)
        return config.m_serviceSetup.m_tpsDigitEmuEnable;
    return config.m_base.m_emuEnable[channelIndex(page)];
}

EBlock emulationEnableBlock(EEmuChannel page) {
    return page == EEmuChannel::TpsDigital ? EBlock::Service : EBlock::Base;
}

SEmuDefinition definitionFromRecord(const CDeviceConfig& config, EEmuChannel page) {
    const LoadAxis& axis = loadAxisOf(config, page);
    SEmuDefinition definition;
    definition.minValue = axis[0];
    definition.maxValue = axis[kMapRows - 1];
    definition.minRpm = config.m_mapRpmCoordinatesEmu1[0];
    definition.maxRpm = config.m_mapRpmCoordinatesEmu1[kMapColumns - 1];
    return definition;
}

bool pageDefinesRpm(EEmuChannel page) {
    return page == EEmuChannel::Emu1;
}

} // namespace torva::calibration
