#pragma once

#include "config/block_table.h"
#include "config/device_config.h"

#include <cstddef>
#include <cstdint>
#include <vector>

namespace torva {

// Byte images of the configuration blocks <-> the display values of CDeviceConfig.
//
// Both directions take their context from the record itself: the firmware version
// (m_devInfo.m_version: pressure formula), the device type (m_devInfo.m_deviceID: supply-voltage
// scale), the sensor types (m_sensorsSetup: temperature columns), the tempomat flags
// (m_tempomatSetup.m_tempomatFlags bit 3: TPS values as raw counts) and the process-wide
// switchable ADC scale (adc_scale.h). So the sensors and tempomat blocks must be in the record
// before the blocks that depend on them are decoded (configurationReadOrder).
//
// Decoding or encoding the base block also refreshes the process-wide CNG flag (cng_flag.h) from
// bit 0x40 of m_base.m_advancedFlags: the flag follows every base block read from or written to
// the controller.

// Decodes a block image into the record. Only the block's own size is read: a shorter image
// (a truncated answer) decodes as if the missing bytes were zero, a longer one is cut.
void decodeBlock(EBlock block, const std::uint8_t* bytes, std::size_t size, CDeviceConfig& config);

// The block's byte image (exactly its size) for writing to the controller.
std::vector<std::uint8_t> encodeBlock(EBlock block, const CDeviceConfig& config);

} // namespace torva
