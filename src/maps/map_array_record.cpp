// The grid's changes of the live configuration record, kept together: an acknowledged step into
// the record's copy of the map it stepped, and whole-map writes.
#include "maps/map_array.h"

#include "config/rounding.h"
#include "lang/source_text.h"
#include "link/lpg_device.h"
#include "platform/user_interface.h"

#include <algorithm>

namespace torva {

namespace {

constexpr const char* kCaption = "TORVA";
constexpr const char* kWriteFailed = PL("Nie powiodło się wpisanie ustawień do urządzenia!");

// What a map byte can hold, in shown units: the controller saturates a step there.
double wireMin(EMapKind kind) {
    return kind == EMapKind::Time ? 0.0 : -100.0;
}
double wireMax(EMapKind kind) {
    return kind == EMapKind::Time ? 25.5 : 155.0;
}

} // namespace

void CMapArray::storeStepInRecord(int mapNumber, const SMapStep& step) {
    const EMapKind kind = mapInfo(mapNumber).kind;
    const double units = unitsPerValue(kind);
    const auto lock = m_device.lockConfig();
    MapValues& record = mapValues(m_device.config(), mapNumber);
    for (int row = step.row; row < step.row + step.rows; ++row) {
        for (int column = step.column; column < step.column + step.columns; ++column) {
            const double next = round0((record[row][column] + step.appliedDelta) * units) / units;
            record[row][column] = std::clamp(next, wireMin(kind), wireMax(kind));
        }
    }
}

bool writeMapImage(CLPGDevice& device, int mapNumber, const MapValues& image) {
    // The lock covers the store and the put-back only; the write takes it itself to encode.
    const MapValues kept = device.withConfig([&](CDeviceConfig& config) {
        MapValues& record = mapValues(config, mapNumber);
        const MapValues old = record;
        record = image;
        return old;
    });
    const auto putBack = [&] {
        device.withConfig([&](CDeviceConfig& config) { mapValues(config, mapNumber) = kept; });
    };
    bool written = false;
    try {
        written = device.writeBlock(mapInfo(mapNumber).block);
    } catch (...) {
        putBack();
        throw;
    }
    if (!written)
        putBack();
    return written;
}

bool CMapArray::writeWholeMap(int mapNumber, const MapValues& image) {
    bool written = false;
    appUi().runExchange([&] { written = writeMapImage(m_device, mapNumber, image); });
    if (written)
        return true;
    appUi().message(kWriteFailed, kCaption, EIcon::Error);
    return false;
}

} // namespace torva
