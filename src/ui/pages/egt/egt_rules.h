#pragma once

#include "link/exhaust_reading.h"
#include "ui/pages/common/up_down_rule.h"
#include "ui/pages/common/value_list.h"

#include <cstddef>
#include <cstdint>
#include <string>

namespace torva {

struct SDevInfo;

// The exhaust temperature and knock page's rules, apart from any widget.

// m_base.m_maxExhaustTemp in °C.
inline constexpr SUpDownRule kMaxExhaustTempRule{.step = 1, .min = 0, .max = 800, .format = "%.0f"};
// m_serviceSetup.m_knockMaxSignal in volts.
inline constexpr SUpDownRule kKnockMaxSignalRule{
    .step = 0.05, .min = 0, .max = 5.0, .format = "%.2f"};

// Bit 0 of m_base.m_advancedFlags: set when the internal thermocouple is NOT connected.
constexpr std::uint8_t kInternalThermocoupleOffFlag = 0x01;

// The knock sensor input exists from firmware 300 on device type 37 and 304 on type 25.
bool knockShown(const SDevInfo& info);
// The thermocouple mask lives in the tempomat block, which older firmware does not have.
bool thermocouplesEditable(const SDevInfo& info);

// The live record is read while a thermocouple is watched, or while the knock levels are shown:
// they come in the same record, also for a controller without external thermocouples.
bool exhaustReadDue(std::uint16_t mask, bool knockVisible);
bool thermocoupleWatched(std::uint16_t mask, std::size_t thermocouple);
std::uint16_t withThermocouple(std::uint16_t mask, std::size_t thermocouple, bool watched);

std::string temperatureText(std::uint16_t degrees);
// Volts, "%.2f": 768 counts show 2.50.
std::string knockLevelText(std::uint16_t level);

// The knock combos' items, valued by their position (the stored value); built once.
const SValueList& knockFrequencies();      // kHz
const SValueList& knockIntegrationTimes(); // µs
const SValueList& knockGains();

} // namespace torva
