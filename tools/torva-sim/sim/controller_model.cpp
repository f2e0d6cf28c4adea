#include "sim/controller_model.h"

#include <algorithm>
#include <cstring>

namespace torva::sim {

namespace {

constexpr std::uint8_t kQuery = 0x02;
constexpr std::uint8_t kAccessCode = 0xF6;
constexpr std::uint8_t kErase = 0xF9;
constexpr std::uint8_t kProgram = 0xF7;
constexpr std::uint8_t kCorrelationCode = 43;
constexpr char kAccessText[] = "QX318270";
constexpr std::size_t kProgramGroups = 192;
constexpr std::uint8_t kAccepted = 4;
constexpr std::uint8_t kRejected = 0;
constexpr std::uint8_t kNoApplication = 5;
constexpr std::uint8_t kUnknownCommandBit = 0x01; // transmission module, extended record byte 3
constexpr std::int64_t kLongestStepMs = 1000;

SimAnswer status(std::uint8_t value, std::uint8_t byte1 = 0, std::uint8_t byte2 = 0) {
    return {kQuery, {value, byte1, byte2, 0, 0, 0}, false};
}

SimAnswer ack(bool accepted) {
    return status(accepted ? kAccepted : kRejected);
}

std::uint32_t address(const std::vector<std::uint8_t>& payload) {
    return static_cast<std::uint32_t>(payload[0] | (payload[1] << 8) | (payload[2] << 16) |
                                      (static_cast<std::uint32_t>(payload[3]) << 24));
}

const MapCodes* mapBy(std::uint8_t MapCodes::*field, std::uint8_t code) {
    const auto& maps = mapCodes();
    const auto it = std::find_if(maps.begin(), maps.end(),
                                 [&](const MapCodes& map) { return map.*field == code; });
    return it == maps.end() ? nullptr : &*it;
}

template <std::size_t N> std::vector<std::uint8_t> bytes(const std::array<std::uint8_t, N>& array) {
    return {array.begin(), array.end()};
}

} // namespace

CControllerModel::CControllerModel(const ControllerSettings& settings)
    : m_settings(settings), m_blocks(settings.identity),
      m_flash(modelTraits(settings.identity.modelCode).flashEnd,
              modelTraits(settings.identity.modelCode).eraseBlock),
      m_engine(modelTraits(settings.identity.modelCode).twentyFourVolt, settings.identity.version,
               settings.seed),
      m_inLoader(settings.noValidApplication), m_applicationValid(!settings.noValidApplication),
      m_mode(settings.initialMode), m_correlation(kCorrelationEntries),
      m_capture(kCapturePages * kCapturePageSize) {
    // The factory correlation: the second throttle sensor reads half the first.
    for (std::size_t i = 0; i < m_correlation.size(); ++i)
        m_correlation[i] = static_cast<std::uint16_t>(i / 2);
    // A capture at a steady 900 rpm: one engine-speed edge per revolution, one camshaft edge every
    // second revolution, on a 16-bit counter of 2 µs steps.
    const unsigned revolution = 30000000 / 900;
    for (std::size_t page = 0; page < kCapturePages; ++page)
        for (std::size_t i = 0; i < 48; ++i) {
            const std::size_t edge = page * 48 + i;
            const auto rpmEdge = static_cast<std::uint16_t>(edge * revolution);
            const auto camEdge = static_cast<std::uint16_t>(2 * edge * revolution + revolution / 4);
            std::uint8_t* at = &m_capture[page * kCapturePageSize];
            at[2 * i] = static_cast<std::uint8_t>(rpmEdge & 0xFF);
            at[2 * i + 1] = static_cast<std::uint8_t>(rpmEdge >> 8);
            at[96 + 2 * i] = static_cast<std::uint8_t>(camEdge & 0xFF);
            at[96 + 2 * i + 1] = static_cast<std::uint8_t>(camEdge >> 8);
        }
}

void CControllerModel::setModeDelay(int ms, int samples) {
    m_settings.modeDelayMs = ms;
    m_settings.modeDelaySamples = samples;
}

void CControllerModel::setCorrelationTable(const std::vector<std::uint16_t>& table) {
    m_correlation = table;
    m_correlation.resize(kCorrelationEntries, 0);
}

void CControllerModel::advanceEngine(double seconds) {
    m_engine.advance(seconds, reportedMode());
    m_errorStatus[2] |= m_engine.sensorErrorBits();
}

void CControllerModel::followTime(std::int64_t nowMs) {
    if (m_lastMs && nowMs > *m_lastMs)
        advanceEngine(static_cast<double>(std::min(nowMs - *m_lastMs, kLongestStepMs)) / 1000.0);
    else
        m_errorStatus[2] |= m_engine.sensorErrorBits();
    m_lastMs = nowMs;
}

std::optional<SimAnswer> CControllerModel::handle(const SimRequest& request, std::int64_t nowMs) {
    followTime(nowMs);
    return m_inLoader ? handleLoader(request) : handleApplication(request, nowMs);
}

std::uint8_t CControllerModel::loaderSubCode() const {
    return m_settings.identity.loaderSubCode.value_or(
        modelTraits(m_settings.identity.modelCode).loaderSubCode);
}

std::uint8_t CControllerModel::loaderIdentity() const {
    return m_settings.identity.loaderIdentity.value_or(
        modelTraits(m_settings.identity.modelCode).loaderIdentity);
}

std::optional<SimAnswer> CControllerModel::handleLoader(const SimRequest& request) {
    const auto& payload = request.payload;
    switch (request.code) {
    case kQuery:
        if (payload.empty())
            return std::nullopt;
        if (request.subCode() == 204)
            return status(kNoApplication);
        if (request.subCode() == loaderSubCode())
            return status(kAccepted, loaderIdentity());
        if (request.subCode() == 96) {
            m_inLoader = false;
            m_applicationValid = m_applicationValid || m_flash.touched();
            return ack(true);
        }
        return std::nullopt; // the loader knows nothing else
    case kAccessCode:
        return ack(true);
    case kErase:
        return ack(payload.size() >= 4 && m_flash.erase(address(payload)));
    case kProgram:
        return ack(payload.size() == 4 + kProgramGroups &&
                   m_flash.program(address(payload), payload.data() + 4, kProgramGroups));
    default:
        return std::nullopt;
    }
}

std::optional<SimAnswer> CControllerModel::handleApplication(const SimRequest& request,
                                                             std::int64_t nowMs) {
    const auto& payload = request.payload;
    if (request.code == kQuery)
        return payload.empty() ? std::nullopt : handleQuery(request, nowMs);
    if (request.code == kAccessCode) {
        const bool granted =
            payload.size() == 8 && std::memcmp(payload.data(), kAccessText, 8) == 0;
        if (granted) {
            m_inLoader = true;
            m_flash.resetTouched();
        }
        return ack(granted);
    }
    if (request.code == kCorrelationCode)
        return ack(storeCorrelationChunk(payload));
    if (const MapCodes* map = mapBy(&MapCodes::partialCode, request.code))
        return ack(m_blocks.applyStep(*map, payload));
    if (blockByCode(request.code) != nullptr)
        return ack(m_blocks.store(request.code, payload));
    return unknownCommand();
}

std::optional<SimAnswer> CControllerModel::unknownCommand() {
    m_extendedRecord[3] |= kUnknownCommandBit;
    return std::nullopt;
}

std::optional<SimAnswer> CControllerModel::handleQuery(const SimRequest& request,
                                                       std::int64_t nowMs) {
    const std::uint8_t sub = request.subCode();
    if (const BlockInfo* block = blockByReadSubCode(sub))
        return SimAnswer{block->code, m_blocks.image(block->code), false};
    switch (sub) {
    case 6:
        return liveSample(nowMs);
    case 13:
        return SimAnswer{8, deviceInformation(), false};
    case 17:
        return SimAnswer{12, statisticsRecord(), false};
    case 56:
        return SimAnswer{41, countersRecord(), false};
    case 5:
        return SimAnswer{6, bytes(m_errorStatus), false};
    case 9:
        return SimAnswer{7, bytes(m_errorRecord), false};
    case 15:
        return SimAnswer{11, bytes(m_extendedRecord), false};
    case 58: {
        const std::uint16_t page = request.argument();
        if (page >= kCapturePages)
            return ack(false);
        const auto begin = m_capture.begin() + static_cast<std::ptrdiff_t>(page * kCapturePageSize);
        return SimAnswer{42, {begin, begin + kCapturePageSize}, false};
    }
    case 59:
        if (std::size_t{request.argument()} + 32 > kCorrelationEntries)
            return ack(false);
        return correlationChunk(request.argument());
    case 62:
        return SimAnswer{44, exhaustRecord(), false};
    default:
        return handleAction(request, nowMs);
    }
}

std::optional<SimAnswer> CControllerModel::handleAction(const SimRequest& request,
                                                        std::int64_t nowMs) {
    const std::uint8_t sub = request.subCode();
    if (const MapCodes* map = mapBy(&MapCodes::clearSubCode, sub)) {
        m_blocks.clearMap(*map);
        return ack(true);
    }
    if (mapBy(&MapCodes::commitSubCode, sub) != nullptr)
        return ack(true);
    switch (sub) {
    case 1:
        requestMode(mode::kGas, nowMs);
        return ack(true);
    case 2:
        requestMode(mode::kDiesel, nowMs);
        return ack(true);
    case 3:
        requestMode(mode::kAutoDiesel, nowMs);
        return ack(true);
    case 10:
        ++m_resets;
        m_errorStatus = {};
        m_errorRecord = {};
        m_extendedRecord = {};
        return ack(true);
    case 60:
        m_correlationRecording = request.argument() != 0;
        return ack(true);
    case 61:
    case 96:
        return ack(true);
    case 204:
        return status(kAccepted, m_settings.identity.modelCode,
                      m_settings.identity.liveDiagnostics);
    default:
        return unknownCommand();
    }
}

void CControllerModel::requestMode(std::uint8_t target, std::int64_t nowMs) {
    m_pendingMode = PendingMode{target, nowMs, 0};
}

std::uint8_t CControllerModel::reportedMode() const {
    if (m_mode != mode::kAutoDiesel)
        return m_mode;
    const double switchTemperature = 35;
    return m_engine.engineTemperature() >= switchTemperature && m_engine.rpm() > 0
               ? mode::kAutoGas
               : mode::kAutoDiesel;
}

SimAnswer CControllerModel::liveSample(std::int64_t nowMs) {
    if (m_pendingMode) {
        ++m_pendingMode->samplesShown;
        if (nowMs - m_pendingMode->sinceMs >= m_settings.modeDelayMs &&
            m_pendingMode->samplesShown > m_settings.modeDelaySamples) {
            m_mode = m_pendingMode->target;
            m_pendingMode.reset();
        }
    }
    const std::uint8_t shown = reportedMode();
    if (m_settings.compactLiveSample)
        return {1, bytes(m_engine.compactSample(shown)), true};
    return {34, bytes(m_engine.sample(shown)), true};
}

} // namespace torva::sim
