#pragma once

#include <vector>

namespace torva {

class CDeviceConfig;

// The pages of the main view's page control, in their fixed order.
enum class EPage {
    Settings,
    MapSensor,
    MapMafTempomat,
    MapTps1,
    MapTps2,
    MapTpsDigital,
    Protection,
    DeviceData,
};

struct SPageEntry {
    EPage page;
    const char* title; // Polish source text, translated when the page is inserted
};

// The pages the configuration calls for, in order. Which map pages exist depends on the
// emulator channels in use, the tempomat and digital-TPS options and the device type; the
// "map sensor only" option (bit 7 of the second advanced flags) drops every map page but the
// first.
std::vector<SPageEntry> pageList(const CDeviceConfig& config);

} // namespace torva
