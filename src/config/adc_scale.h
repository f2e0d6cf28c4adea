#pragma once

#include <cstdint>

namespace torva {

// Volts per ADC count before the channel's input divider scale is applied.
constexpr double kAdcVoltsPerCount = 0.003226;
// The fixed scale: load axes of channels 1 and 2, the emulator offsets, the emulated signals.
constexpr double kFixedAdcScale = 4.636;
// The switchable scale on controllers whose flag word 1 has bit 3 set.
constexpr double kHighSwitchableAdcScale = 8.5;
constexpr std::uint32_t kHighSwitchableScaleFlag = 0x08;

// The switchable scale serves the load axes of channels 3 and 4, the TPS cut-off, the MAP cut-off
// and the turbo and analogue-TPS detection voltages. It is process-wide, like the controller it
// describes: the command set calls updateSwitchableScale with m_devInfo.m_flags1 each time the
// device information is read, and every later conversion (configuration blocks, factory
// defaults, live sample) uses the value in force. 4.636 until then.
double switchableScale();
void updateSwitchableScale(std::uint32_t flags1);

} // namespace torva
