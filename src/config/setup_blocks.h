#pragma once

#include "config/device_config.h"

#include <cstdint>

// Codecs of the five setup blocks. Images hold at least the block's size; block_codec.h is the
// public entry point.
namespace torva::setup_blocks {

void decodeBase(const std::uint8_t* image, CDeviceConfig& config);
void encodeBase(const CDeviceConfig& config, std::uint8_t* image);

void decodeAdvanced(const std::uint8_t* image, CDeviceConfig& config);
void encodeAdvanced(const CDeviceConfig& config, std::uint8_t* image);

void decodeSensors(const std::uint8_t* image, CDeviceConfig& config);
void encodeSensors(const CDeviceConfig& config, std::uint8_t* image);

void decodeService(const std::uint8_t* image, CDeviceConfig& config);
void encodeService(const CDeviceConfig& config, std::uint8_t* image);

void decodeTempomat(const std::uint8_t* image, CDeviceConfig& config);
void encodeTempomat(const CDeviceConfig& config, std::uint8_t* image);

} // namespace torva::setup_blocks
