#include "maps/map_edit.h"

#include "config/block_codec.h"
#include "config/maps/map_catalogue.h"
#include "config/rounding.h"
#include "config/value_check.h"
#include "lang/source_text.h"
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
constexpr int kLastRow = kMapRows - 1;
constexpr int kLastColumn = kMapColumns - 1;

// Writes the block and, when the controller took it, reads the record back from the written
// image, so the record holds exactly what the controller holds (volts go over as ADC counts).
bool writeAxisBlock(CLPGDevice& device, EBlock block) {
    if (!device.writeBlock(block))
        return false;
    const std::vector<std::uint8_t> image = encodeBlock(block, device.config());
    decodeBlock(block, image.data(), image.size(), device.config());
    return true;
}

// Stores one axis point and writes its block; the point is put back when the write fails.
// The configuration lock covers the store and the put-back, not the write.
bool storeAxisPoint(CLPGDevice& device, double& point, double value, EBlock block) {
    // A point between its neighbours may still meet one of them once encoded.
    const bool held = device.withConfig([&](CDeviceConfig& config) {
        const double old = point;
        point = value;
        const EBlock blocks[] = {block};
        const bool fits = !checkBlockValues(config, blocks);
        point = old;
        return fits;
    });
    if (!held)
        return false;
    const double kept = device.withConfig([&](CDeviceConfig&) {
        const double old = point;
        point = value;
        return old;
    });
    const auto putBack = [&] { device.withConfig([&](CDeviceConfig&) { point = kept; }); };
    bool written = false;
    try {
        written = writeAxisBlock(device, block);
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

} // namespace

CMapEdit::CMapEdit(CLPGDevice& device, int channel) : m_device(device), m_channel(channel) {
    loadAxis(device.config(), channel); // throws for a channel that does not exist
}

std::string CMapEdit::getText(EHeaderCell cell, int index, const std::string& typed) {
    const CDeviceConfig& config = m_device.config();
    const std::optional<double> value = parseTypedNumber(typed);
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
    if (m_device.isConnected() && ordered && value != axis[row] && storeLoadPoint(row, value) &&
        m_axisChanged)
        m_axisChanged();
    return loadHeaderText(config, m_channel, row);
}

std::string CMapEdit::rpmText(int column, double typed) {
    const RpmAxis& rpm = m_device.config().m_mapRpmCoordinatesEmu1;
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
    if (m_device.isConnected() && ordered && value != rpm[column] && storeRpmPoint(column, value) &&
        m_axisChanged)
        m_axisChanged();
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
