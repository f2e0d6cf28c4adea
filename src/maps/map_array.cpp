#include "maps/map_array.h"

#include "maps/map_array_internal.h"

#include "config/maps/map_cell.h"
#include "config/rounding.h"
#include "lang/source_text.h"
#include "link/lpg_device.h"
#include "platform/clock.h"
#include "platform/error.h"
#include "platform/user_interface.h"

#include <algorithm>
#include <cmath>

namespace torva {

namespace {

using map_internal::CBusyScope;
using map_internal::forEachCell;

constexpr const char* kCaption = "TORVA";
constexpr const char* kWriteFailed = PL("Nie powiodło się wpisanie ustawień do urządzenia!");
constexpr double kRangeTolerance = 1e-9;

std::uint8_t colorChannel(double value) {
    return static_cast<std::uint8_t>(std::clamp(std::trunc(value), 0.0, 255.0));
}

} // namespace

CMapArray::CMapArray(CLPGDevice& device, int mapNumber)
    : m_valueMax(mapInfo(mapNumber).valueMax), m_valueMin(mapInfo(mapNumber).valueMin),
      m_device(device), m_info(mapInfo(mapNumber)) {
    m_wasConnected = connected();
    fillFromModel();
}

// ---- Cells -------------------------------------------------------------------------------------

void CMapArray::fillFromModel() {
    m_cells = mapValues(m_device.config(), m_info.number);
    notifyChanged();
}

void CMapArray::noteConnection(bool isConnected) {
    if (isConnected && !m_wasConnected)
        fillFromModel();
    m_wasConnected = isConnected;
}

void CMapArray::setCellValue(int column, int row, double value) {
    m_cells[row][column] = value;
}

std::string CMapArray::cellText(int column, int row) const {
    return formatValue(m_cells[row][column]);
}

std::string CMapArray::formatValue(double value) const {
    return formatMapValue(m_info.kind, value);
}

SRgb CMapArray::valueColor(double value) const {
    const double shade = value * m_colorScale;
    if (value >= 0)
        return {255, colorChannel(255 - shade), colorChannel(255 - shade)};
    return {255, 255, colorChannel(255 + shade)};
}

SRgb CMapArray::cellColor(int column, int row) const {
    return isCurrent(column, row) ? kCurrentCellColor : valueColor(m_cells[row][column]);
}

std::pair<int, int> CMapArray::findCell(double rpm, double load) const {
    const CDeviceConfig& config = m_device.config();
    const SMapCell cell =
        mapCellOf(config.m_mapRpmCoordinatesEmu1, loadAxis(config, m_info.channel), rpm, load);
    return {cell.column, cell.row};
}

void CMapArray::setCurrentCell(double rpm, double load) {
    const auto [column, row] = findCell(rpm, load);
    const std::int64_t now = appClock().nowMs();
    if (m_hasLive && (column != m_liveCol || row != m_liveRow)) {
        // One entry per cell: the latest time the engine left it.
        std::erase_if(m_trail, [this](const auto& left) {
            return left.first.row == m_liveRow && left.first.column == m_liveCol;
        });
        m_trail.push_back({{m_liveRow, m_liveCol, 0}, now});
    }
    std::erase_if(m_trail, [now](const auto& left) { return now - left.second >= kTrailMs; });
    m_liveCol = column;
    m_liveRow = row;
    m_hasLive = true;
    notifyChanged();
}

void CMapArray::clearLive() {
    if (!m_hasLive && m_trail.empty())
        return;
    m_hasLive = false;
    m_trail.clear();
    notifyChanged();
}

std::vector<STrailCell> CMapArray::trail() const {
    const std::int64_t now = appClock().nowMs();
    std::vector<STrailCell> cells;
    for (const auto& [cell, leftAt] : m_trail) {
        const double age = static_cast<double>(now - leftAt) / kTrailMs;
        if (age < 1 && !isCurrent(cell.column, cell.row))
            cells.push_back({cell.row, cell.column, std::max(age, 0.0)});
    }
    return cells;
}

// ---- Steps -------------------------------------------------------------------------------------

EEditResult CMapArray::incrementSelected(double delta) {
    if (m_busy)
        return EEditResult::Ignored;
    const bool online = connected();
    m_wasConnected = online;
    // Online, a step starts from the record: cells edited while offline, or left behind by a
    // change another grid made, must not be copied into it afterwards.
    if (online)
        fillFromModel();
    if (!online && m_info.offline == EOfflineStep::Ignored)
        return EEditResult::Ignored;
    try {
        const std::optional<SMapStep> step = mapStepFor(m_selected, m_info.kind, delta);
        if (!step)
            return EEditResult::Ignored;
        bool fits = true;
        forEachCell([&](int column, int row) {
            if (m_selected[row][column] && !inRange(m_cells[row][column] + step->appliedDelta))
                fits = false;
        });
        if (!fits)
            return EEditResult::Refused;

        const CBusyScope busy(m_busy);
        forEachCell([&](int column, int row) {
            if (m_selected[row][column]) {
                const double next = toShown(m_cells[row][column] + step->appliedDelta);
                setCellValue(column, row, std::clamp(next, m_valueMin, m_valueMax));
            }
        });
        notifyChanged();
        if (!online)
            return EEditResult::Done;

        const MapValues before = mapValues(m_device.config(), m_info.number);
        if (!sendStep(m_info.number, *step)) {
            // The controller kept its map, or only its answer was lost and the map was read
            // back: the cells and every other view show what the record now holds.
            fillFromModel();
            notifyRecordChanged();
            return EEditResult::Failed;
        }
        storeStepInRecord(m_info.number, *step);
        SMapChange change;
        change.maps.push_back({m_info.number, before, mapValues(m_device.config(), m_info.number)});
        appUi().responsiveWait(kStepWaitMs);
        sendCoupledStep(*step, change);
        m_history.record(std::move(change));
        return EEditResult::Done;
    } catch (const std::exception& error) {
        showFailure("incrementSelected", error);
        if (online)
            fillFromModel(); // the cells show what the record holds, as after a refusal
        return EEditResult::Failed;
    }
}

void CMapArray::sendCoupledStep(const SMapStep& step, SMapChange& change) {
    const int coupled = coupledMap();
    if (coupled == 0)
        return;
    const MapValues before = mapValues(m_device.config(), coupled);
    if (sendStep(coupled, step)) {
        storeStepInRecord(coupled, step);
        change.maps.push_back({coupled, before, mapValues(m_device.config(), coupled)});
    }
    // Stepped, or read back after a failed step.
    notifyRecordChanged();
    appUi().responsiveWait(kStepWaitMs);
}

bool CMapArray::sendStep(int mapNumber, const SMapStep& step) {
    const std::array<std::uint8_t, 6> payload = step.payload();
    bool sent = false;
    appUi().runExchange([&] {
        sent = m_device.writeMapPart(mapNumber, payload) && m_device.completeMapChange(mapNumber);
    });
    if (sent)
        return true;
    // A step is relative and goes once: when only its answer was lost, the controller holds it
    // and the record does not. The map is read back, so the record (and every later step, undo
    // and whole-map tool built on it) holds what the controller holds.
    m_device.readBlock(mapInfo(mapNumber).block);
    appUi().message(kWriteFailed, kCaption, EIcon::Error);
    return false;
}

// ---- Helpers -----------------------------------------------------------------------------------

bool CMapArray::connected() const {
    return m_device.isConnected();
}

bool CMapArray::valueWithin(double value, double low, double high) {
    return value >= low - kRangeTolerance && value <= high + kRangeTolerance;
}

double CMapArray::toShown(double value) const {
    return roundToMapUnit(m_info.kind, value);
}

void CMapArray::notifyChanged() {
    if (m_changed)
        m_changed();
}

void CMapArray::notifyRecordChanged() {
    if (m_recordChanged)
        m_recordChanged();
}

void CMapArray::showFailure(const char* operation, const std::exception& error) const {
    const auto* described = dynamic_cast<const IError*>(&error);
    const std::string detail = described ? described->formattedText() : error.what();
    appUi().message(std::string(m_info.className) + "::" + operation + "()\n" + detail, kCaption,
                    EIcon::None);
}

} // namespace torva
