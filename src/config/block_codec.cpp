#include "config/block_codec.h"

#include "config/adc_scale.h"
#include "config/map_blocks.h"
#include "config/setup_blocks.h"
#include "lang/cng_flag.h"

#include <algorithm>
#include <array>

namespace torva {

namespace {

// The maps in map-number order (1-10); odd numbers are time maps.
constexpr std::array<MapValues CDeviceConfig::*, 10> kMapsByNumber{
    &CDeviceConfig::m_mapTimeEmu1, &CDeviceConfig::m_mapEmu1,     &CDeviceConfig::m_mapTimeEmu2,
    &CDeviceConfig::m_mapEmu2,     &CDeviceConfig::m_mapTimeEmu3, &CDeviceConfig::m_mapEmu3,
    &CDeviceConfig::m_mapTimeEmu4, &CDeviceConfig::m_mapEmu4,     &CDeviceConfig::m_mapTimeEmuTpsD,
    &CDeviceConfig::m_mapEmuTpsD,
};

MapValues CDeviceConfig::*mapMember(EBlock block) {
    return kMapsByNumber[blockInfo(block).mapNumber - 1];
}

bool isTimeMap(EBlock block) {
    return blockInfo(block).mapNumber % 2 == 1;
}

void refreshCngFlag(const CDeviceConfig& config) {
    setCngInstallation(config.isCng());
}

void decodeImage(EBlock block, const std::uint8_t* image, CDeviceConfig& config) {
    namespace mb = map_blocks;
    switch (block) {
    case EBlock::Base:
        setup_blocks::decodeBase(image, config);
        refreshCngFlag(config);
        return;
    case EBlock::Advanced:
        return setup_blocks::decodeAdvanced(image, config);
    case EBlock::Sensors:
        return setup_blocks::decodeSensors(image, config);
    case EBlock::Service:
        return setup_blocks::decodeService(image, config);
    case EBlock::Tempomat:
        return setup_blocks::decodeTempomat(image, config);
    case EBlock::Axes1Rpm:
        mb::decodeLoadAxis(image, config.m_mapCoordinatesEmu1, kFixedAdcScale, false);
        return mb::decodeRpmAxis(image + 2 * kMapRows, config.m_mapRpmCoordinatesEmu1);
    case EBlock::Axis2:
        return mb::decodeLoadAxis(image, config.m_mapCoordinatesEmu2, kFixedAdcScale, false);
    case EBlock::Axis3:
        return mb::decodeLoadAxis(image, config.m_mapCoordinatesEmu3, switchableScale(),
                                  config.tpsValuesAreRawCounts());
    case EBlock::Axis4:
        return mb::decodeLoadAxis(image, config.m_mapCoordinatesEmu4, switchableScale(), false);
    case EBlock::AxisTpsD:
        // Digital TPS points travel as they are.
        return mb::decodeLoadAxis(image, config.m_mapCoordinatesEmuTpsD, 1.0, true);
    default: // the ten maps
        return isTimeMap(block) ? mb::decodeTimeMap(image, config.*mapMember(block))
                                : mb::decodeEmulationMap(image, config.*mapMember(block));
    }
}

void encodeImage(EBlock block, const CDeviceConfig& config, std::uint8_t* image) {
    namespace mb = map_blocks;
    switch (block) {
    case EBlock::Base:
        setup_blocks::encodeBase(config, image);
        refreshCngFlag(config);
        return;
    case EBlock::Advanced:
        return setup_blocks::encodeAdvanced(config, image);
    case EBlock::Sensors:
        return setup_blocks::encodeSensors(config, image);
    case EBlock::Service:
        return setup_blocks::encodeService(config, image);
    case EBlock::Tempomat:
        return setup_blocks::encodeTempomat(config, image);
    case EBlock::Axes1Rpm:
        mb::encodeLoadAxis(config.m_mapCoordinatesEmu1, image, kFixedAdcScale, false);
        return mb::encodeRpmAxis(config.m_mapRpmCoordinatesEmu1, image + 2 * kMapRows);
    case EBlock::Axis2:
        return mb::encodeLoadAxis(config.m_mapCoordinatesEmu2, image, kFixedAdcScale, false);
    case EBlock::Axis3:
        return mb::encodeLoadAxis(config.m_mapCoordinatesEmu3, image, switchableScale(),
                                  config.tpsValuesAreRawCounts());
    case EBlock::Axis4:
        return mb::encodeLoadAxis(config.m_mapCoordinatesEmu4, image, switchableScale(), false);
    case EBlock::AxisTpsD:
        return mb::encodeLoadAxis(config.m_mapCoordinatesEmuTpsD, image, 1.0, true);
    default: // the ten maps
        return isTimeMap(block) ? mb::encodeTimeMap(config.*mapMember(block), image)
                                : mb::encodeEmulationMap(config.*mapMember(block), image);
    }
}

} // namespace

void decodeBlock(EBlock block, const std::uint8_t* bytes, std::size_t size, CDeviceConfig& config) {
    std::array<std::uint8_t, kMaxBlockSize> image{};
    const std::size_t taken = bytes == nullptr ? 0 : std::min(size, blockInfo(block).size);
    std::copy_n(bytes, taken, image.begin());
    decodeImage(block, image.data(), config);
}

std::vector<std::uint8_t> encodeBlock(EBlock block, const CDeviceConfig& config) {
    std::vector<std::uint8_t> image(blockInfo(block).size, 0);
    encodeImage(block, config, image.data());
    return image;
}

} // namespace torva
