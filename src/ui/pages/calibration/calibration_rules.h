#pragma once

#include "config/axis_definition.h"
#include "config/block_table.h"
#include "config/device_config.h"
#include "diag/diag_sample_values.h"
#include "lang/source_text.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string>

// The rules of the five calibration pages (one per emulator channel, EEmuChannel): steps and
// ranges of their fields, the coupling of the two grids, header texts, live values, and what
// each button changes and writes. The pages only bind them to widgets and the device.
namespace torva::calibration {

constexpr const char* kMapClearFailed =
    PL("Nie powiodło się wpisanie mapy wtrysków do urządzenia!");

// ---- Grids ------------------------------------------------------------------------------------
enum class EPageMap { Time, Emulation };

// The step of Ctrl+Up (Ctrl+Down: its negative) on the active grid.
constexpr double kTimeGridStep = 0.1;
constexpr double kEmulationGridStep = 1.0;
double gridStep(EPageMap activeGrid);

// Bit 0 of m_tempomatFlags: channel 2 emulates a MAP sensor for the tempomat instead of a MAF.
bool isTempomatCase(const CDeviceConfig& config);

// "1 % emulacji =": milliseconds of injection time per percent of emulation, 0 = not coupled.
constexpr double kEmuPerPercentStep = 0.1;
constexpr double kEmuPerPercentMax = 5.0;
double stepEmuPerPercent(double current, int direction);

// When the emulation grid moved by emulationDelta, the step the time grid's same cells take, or
// std::nullopt when the grids are not coupled (no coupling, or the time grid is the active
// one). More emulation means less injection time, except for a MAF signal (page 2 outside the
// tempomat case), where both move the same way.
std::optional<double> coupledTimeDelta(EEmuChannel page, const CDeviceConfig& config,
                                       double emuPerPercent, EPageMap activeGrid,
                                       double activeDelta);

// ---- Fields (direction +1 for the upper arrow, -1 for the lower) ----------------------------
// "Offset": +-0.005 V; a step that would leave -0.5...0.5 is ignored (std::nullopt).
constexpr double kEmuOffsetStep = 0.005;
constexpr double kEmuOffsetLimit = 0.5;
std::optional<double> stepEmuOffset(double current, int direction);
// "Próg odcięcia gazu" (page 1, firmware 265 and later): +-0.01 V clamped to 0...12.
constexpr std::int32_t kMapCutOffFirmware = 265;
bool showsMapCutOff(const CDeviceConfig& config);
double stepMapCutOff(double current, int direction);
// "Skok TPS" (page 3): 0 (off), or 0.05...1 V in steps of 0.01; one step up from 0 gives 0.05
// and one step down from 0.05 gives 0. A step that would leave the range is ignored.
std::optional<double> stepTpsJump(double current, int direction);
// "Czas ograniczenia emulacji" (page 3): +-25 ms clamped to 25...5000.
double stepTpsEmLimitDelay(double current, int direction);

// The check boxes of page 3 over m_tpsEmLimitFlag.
enum class ETpsLimitBox { Emu1, Emu2, Emu3, Emu4, GasMap };
std::uint8_t tpsLimitBit(ETpsLimitBox box);
// Bit 4 of m_base.m_flags: the two TPS channels are coupled, and so are the EMU3 and EMU4 boxes.
constexpr std::uint8_t kTpsChannelsCoupledFlag = 0x10;
std::uint8_t tpsLimitFlagsAfterClick(std::uint8_t flags, ETpsLimitBox box, bool checked,
                                     std::uint8_t baseFlags);

// ---- Texts ------------------------------------------------------------------------------------
// Bit 1 of m_base.m_flags: load headers in percent of the axis span.
constexpr std::uint8_t kPercentLoadScaleFlag = 0x02;
// Load header texts of both grids (loadHeaderText of the map catalogue, row by row).
std::array<std::string, kMapRows> loadHeaderTexts(EEmuChannel page, const CDeviceConfig& config);
std::array<std::string, kMapColumns> rpmHeaderTexts(const CDeviceConfig& config);
// Corner text of the time grid ("%" or "V", page 2 with "\RPM"); the emulation grid's is "E %".
std::string timeGridCorner(EEmuChannel page, const CDeviceConfig& config);
constexpr const char* kEmulationGridCorner = "E %";
// Page title and channel label (Polish source texts).
const char* pageTitle(EEmuChannel page, const CDeviceConfig& config);
const char* channelLabel(EEmuChannel page, const CDeviceConfig& config);

// ---- Live values ------------------------------------------------------------------------------
struct SChannelLive {
    double input = 0;            // "Wejście"
    double output = 0;           // "Wyjście"
    double emulationPercent = 0; // "Emulacja %": output against input, 0 without input
};
SChannelLive channelLive(EEmuChannel page, const CDeviceConfig& config, const SLiveValues& live);

// The digital-TPS page's extra fields, ms and %.
struct STpsDigitalLive {
    double pulse1 = 0, pulse2 = 0, period1 = 0, period2 = 0;
    double pwmIn1 = 0, pwmIn2 = 0, pwmOut1 = 0, pwmOut2 = 0;
};
STpsDigitalLive tpsDigitalLive(const SLiveValues& live);

// ---- What the buttons and fields change -----------------------------------------------------
// The map number the page's "Kasuj" sends (CLPGDevice::clearMap), and the map it zeroes once the
// controller took the clear (the failure text is kMapClearFailed).
int clearMapNumber(EEmuChannel page, EPageMap map);
MapValues& pageMap(CDeviceConfig& config, EEmuChannel page, EPageMap map);

// The "Emulacja" combo's byte and the block that carries it.
std::uint8_t& emulationEnable(CDeviceConfig& config, EEmuChannel page);
EBlock emulationEnableBlock(EEmuChannel page);
// Offset, thresholds, the TPS limiter and its boxes all travel in the service block.
constexpr EBlock kPageSettingsBlock = EBlock::Service;

// The axis dialog as the page opens it: the end points of its load axis and of the RPM axis.
SEmuDefinition definitionFromRecord(const CDeviceConfig& config, EEmuChannel page);
// Only channel 1's page regenerates the RPM axis; the axis block is axisBlockOf(page).
bool pageDefinesRpm(EEmuChannel page);

} // namespace torva::calibration
