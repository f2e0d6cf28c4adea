#include "maps/map_edit.h"

#include "config/block_codec.h"
#include "config/maps/map_catalogue.h"
#include "config/rounding.h"
#include "config/value_check.h"
#include "lang/source_text.h"
#include "lang/translation.h"
#include "link/lpg_device.h"
#include "platform/error.h"
#include "platform/user_interface.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace torva {

namespace {

constexpr const char* kCaption = "TORVA";
constexpr const char* kWriteFailed = PL("Nie powiodło się wpisanie ustawień do urządzenia!");
constexpr const char* kNoNumber = PL("„%1” nie jest liczbą; oś się nie zmieniła.");
constexpr const char* kRpmChanged =
    PL("Wpisano %1, zapisano %2: punkty osi obrotów są pełnymi setkami od 500 do 8000, każdy "
       "co najmniej o 100 wyższy od poprzedniego.");
constexpr const char* kRpmRefused =
    PL("Nie zapisano %1: między sąsiednimi punktami osi obrotów nie mieści się żadna pełna "
       "setka od 500 do 8000.");
constexpr const char* kLoadNotRising =
    PL("Nie zapisano %1: punkty osi obciążenia muszą rosnąć od pierwszego do ostatniego.");
constexpr const char* kLoadEndPoint =
    PL("Nie zapisano %1: w skali procentowej pierwszy i ostatni punkt zmienia przycisk "
       "„Definicja”.");
constexpr const char* kLoadRounded =
    PL("Wpisano %1, zapisano %2: punkty tej osi są liczbami całkowitymi.");
constexpr int kLastRow = kMapRows - 1;
constexpr int kLastColumn = kMapColumns - 1;

// Writes the block and, when the controller took it, reads the record back from the written
// image, so the record holds exactly what the controller holds (volts go over as ADC counts).
bool writeAxisBlock(CLPGDevice& device, EBlock block) {
    if (!device.writeBlock(block))
        return false;
    // A change of the record like any other: under the lock the recording thread copies it by.
    device.withConfig([block](CDeviceConfig& config) {
        const std::vector<std::uint8_t> image = encodeBlock(block, config);
        decodeBlock(block, image.data(), image.size(), config);
    });
    return true;
}

// Stores one axis point and writes its block; the point is put back when the write fails.
// The configuration lock covers the store and the put-back, not the write.
bool storeAxisPoint(CLPGDevice& device, double& point, double value, EBlock block) {
    // A point between its neighbours may still meet one of them once encoded, or the axis may
    // already hold points the controller would not keep; either way nothing is written.
    const std::optional<SValueRefusal> refusal = device.withConfig([&](CDeviceConfig& config) {
        const double old = point;
        point = value;
        const EBlock blocks[] = {block};
        std::optional<SValueRefusal> found = checkBlockValues(config, blocks);
        point = old;
        return found;
    });
    if (refusal) {
        appUi().message(describeValueRefusal(*refusal), kCaption, EIcon::Warning);
        return false;
    }
    const double kept = device.withConfig([&](CDeviceConfig&) {
        const double old = point;
        point = value;
        return old;
    });
    const auto putBack = [&] { device.withConfig([&](CDeviceConfig&) { point = kept; }); };
    bool written = false;
    try {
        appUi().runExchange([&] { written = writeAxisBlock(device, block); });
    } catch (...) {
        putBack();
        throw;
    }
    if (!written) {
        putBack();
        appUi().message(kWriteFailed, kCaption, EIcon::Error);
    }
    return written;
}

// Says why a typed header value was not stored as it was typed.
void tell(const char* text, std::initializer_list<std::string> values) {
    appUi().message(translateNumbered(text, values), kCaption, EIcon::Warning);
}

// A typed number as the user reads it back: no trailing zeros, at most three decimals.
std::string shown(double value) {
    char text[32];
    std::snprintf(text, sizeof text, "%.3f", value);
    std::string result = text;
    while (result.back() == '0')
        result.pop_back();
    if (result.back() == '.')
        result.pop_back();
    return result;
}

} // namespace

CMapEdit::CMapEdit(CLPGDevice& device, int channel) : m_device(device), m_channel(channel) {
    loadAxis(device.config(), channel); // throws for a channel that does not exist
}

std::string CMapEdit::getText(EHeaderCell cell, int index, const std::string& typed) {
    const CDeviceConfig& config = m_device.config();
    const std::optional<double> value = parseTypedNumber(typed);
    const bool blank = typed.find_first_not_of(" \t") == std::string::npos;
    if (!value && !blank && cell != EHeaderCell::Body && m_device.isConnected())
        tell(kNoNumber, {typed});
    try {
        switch (cell) {
        case EHeaderCell::Load:
            return value ? loadText(index, *value) : loadHeaderText(config, m_channel, index);
        case EHeaderCell::Rpm:
            return value ? rpmText(index, *value)
                         : formatRpmPoint(config.m_mapRpmCoordinatesEmu1[index]);
        case EHeaderCell::Body: {
            char text[32];
            std::snprintf(text, sizeof text, "%.0f", value.value_or(0));
            return value ? text : std::string();
        }
        }
    } catch (const std::exception& error) {
        const auto* described = dynamic_cast<const IError*>(&error);
        appUi().message(std::string("CMapEdit::getText()\n") +
                            (described ? described->formattedText() : error.what()),
                        kCaption, EIcon::None);
    }
    return cell == EHeaderCell::Load  ? loadHeaderText(config, m_channel, index)
           : cell == EHeaderCell::Rpm ? formatRpmPoint(config.m_mapRpmCoordinatesEmu1[index])
                                      : std::string();
}

std::string CMapEdit::loadText(int row, double typed) {
    const CDeviceConfig& config = m_device.config();
    const LoadAxis& axis = loadAxis(config, m_channel);
    const bool whole = loadAxisIsWhole(config, m_channel);
    const bool percent = !whole && (config.m_base.m_flags & kLoadPercentFlag) != 0;
    const double kept = axis[row];
    double value = typed;
    // In percent mode the end points define the span; they change through the axis definition.
    if (percent && (row == 0 || row == kLastRow))
        value = axis[row];
    else if (percent)
        value = axis[0] + typed / 100.0 * (axis[kLastRow] - axis[0]);
    if (whole)
        value = round0(value);
    const bool ordered =
        (row == 0 || value > axis[row - 1]) && (row == kLastRow || value < axis[row + 1]);
    if (!m_device.isConnected())
        return loadHeaderText(config, m_channel, row);
    if (percent && (row == 0 || row == kLastRow)) {
        if (loadHeaderText(config, m_channel, row) != shown(typed))
            tell(kLoadEndPoint, {shown(typed)});
    } else if (!ordered) {
        tell(kLoadNotRising, {shown(typed)});
    } else if (value == kept || storeLoadPoint(row, value)) {
        if (whole && value != typed)
            tell(kLoadRounded, {shown(typed), loadHeaderText(config, m_channel, row)});
        if (value != kept && m_axisChanged)
            m_axisChanged();
    }
    return loadHeaderText(config, m_channel, row);
}

std::string CMapEdit::rpmText(int column, double typed) {
    const RpmAxis& rpm = m_device.config().m_mapRpmCoordinatesEmu1;
    const double kept = rpm[column];
    double value = std::clamp(typed, kRpmMin, kRpmMax);
    if (column < kLastColumn && value >= rpm[column + 1])
        value = rpm[column + 1] - kRpmStep;
    if (column > 0 && value <= rpm[column - 1])
        value = rpm[column - 1] + kRpmStep;
    value = round0(value / kRpmStep) * kRpmStep;
    // The neighbour rules can still leave the point on or past a neighbour, or out of range,
    // when the neighbours are a step apart: such a value is refused.
    const bool ordered = (column == 0 || value > rpm[column - 1]) &&
                         (column == kLastColumn || value < rpm[column + 1]) && value >= kRpmMin &&
                         value <= kRpmMax;
    if (!m_device.isConnected())
        return formatRpmPoint(rpm[column]);
    if (!ordered) {
        tell(kRpmRefused, {shown(typed)});
    } else if (value == rpm[column] || storeRpmPoint(column, value)) {
        if (value != typed)
            tell(kRpmChanged, {shown(typed), formatRpmPoint(value)});
        if (value != kept && m_axisChanged)
            m_axisChanged();
    }
    return formatRpmPoint(rpm[column]);
}

bool CMapEdit::storeLoadPoint(int row, double value) {
    return storeAxisPoint(m_device, loadAxis(m_device.config(), m_channel)[row], value,
                          loadAxisBlock(m_channel));
}

bool CMapEdit::storeRpmPoint(int column, double value) {
    // The RPM axis travels only in channel 1's axis block, whichever page edits it.
    return storeAxisPoint(m_device, m_device.config().m_mapRpmCoordinatesEmu1[column], value,
                          EBlock::Axes1Rpm);
}

} // namespace torva
