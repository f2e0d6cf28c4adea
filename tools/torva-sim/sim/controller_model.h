#pragma once

#include "sim/block_store.h"
#include "sim/engine_model.h"
#include "sim/flash_image.h"
#include "sim/identity.h"
#include "sim/sim_frame.h"

#include <array>
#include <cstdint>
#include <optional>
#include <vector>

namespace torva::sim {

struct ControllerSettings {
    SimIdentity identity;
    // Start in the loader, as a controller without a valid application does.
    bool noValidApplication = false;
    // Answer the live-sample read with the older compact layout (code 1) instead of code 34.
    bool compactLiveSample = false;
    // A mode switch shows in the live sample once both have passed: this many milliseconds and
    // this many live-sample answers still showing the old mode.
    int modeDelayMs = 0;
    int modeDelaySamples = 0;
    std::uint8_t initialMode = mode::kDiesel;
    std::uint32_t seed = 1;
};

// The controller's side of the command set: takes checked requests, keeps the controller's state
// and says what to answer. No I/O and no clock of its own: the caller passes the time in, so the
// model runs the same on a pseudo-terminal and in a unit test.
class CControllerModel {
public:
    static constexpr std::size_t kCorrelationEntries = 1024;
    static constexpr std::size_t kCapturePages = 4;
    static constexpr std::size_t kCapturePageSize = 192;

    explicit CControllerModel(const ControllerSettings& settings);

    // The answer to request at nowMs (milliseconds on any steady time line), or nothing when the
    // controller stays silent (unknown commands, application commands while in the loader).
    std::optional<SimAnswer> handle(const SimRequest& request, std::int64_t nowMs);

    // Runs the engine on by seconds in the current mode (handle does this from the time it gets).
    void advanceEngine(double seconds);

    const ControllerSettings& settings() const { return m_settings; }
    void setIdentity(const SimIdentity& identity) { m_settings.identity = identity; }
    void setCompactLiveSample(bool compact) { m_settings.compactLiveSample = compact; }
    void setModeDelay(int ms, int samples);

    CBlockStore& blocks() { return m_blocks; }
    const CBlockStore& blocks() const { return m_blocks; }
    const CFlashImage& flash() const { return m_flash; }
    CEngineModel& engine() { return m_engine; }
    const CEngineModel& engine() const { return m_engine; }

    bool inLoader() const { return m_inLoader; }
    bool applicationValid() const { return m_applicationValid; }
    // The mode the controller runs in now (a pending switch not yet shown is not counted).
    std::uint8_t fuelMode() const { return m_mode; }

    std::array<std::uint8_t, 4> errorStatus() const { return m_errorStatus; }
    void setErrorStatus(const std::array<std::uint8_t, 4>& status) { m_errorStatus = status; }
    std::array<std::uint8_t, 8> errorRecord() const { return m_errorRecord; }
    void setErrorRecord(const std::array<std::uint8_t, 8>& record) { m_errorRecord = record; }
    std::array<std::uint8_t, 8> extendedRecord() const { return m_extendedRecord; }
    void setExtendedRecord(const std::array<std::uint8_t, 8>& record) { m_extendedRecord = record; }

    const std::vector<std::uint16_t>& correlationTable() const { return m_correlation; }
    void setCorrelationTable(const std::vector<std::uint16_t>& table);
    bool correlationRecording() const { return m_correlationRecording; }
    const std::vector<std::uint8_t>& capturePages() const { return m_capture; }
    int resetCount() const { return m_resets; }

private:
    std::optional<SimAnswer> handleLoader(const SimRequest& request);
    std::optional<SimAnswer> handleApplication(const SimRequest& request, std::int64_t nowMs);
    std::optional<SimAnswer> handleQuery(const SimRequest& request, std::int64_t nowMs);
    std::optional<SimAnswer> handleAction(const SimRequest& request, std::int64_t nowMs);
    std::optional<SimAnswer> unknownCommand();
    SimAnswer liveSample(std::int64_t nowMs);
    SimAnswer correlationChunk(std::uint16_t firstIndex) const;
    bool storeCorrelationChunk(const std::vector<std::uint8_t>& payload);
    std::vector<std::uint8_t> deviceInformation() const;
    std::vector<std::uint8_t> exhaustRecord() const;
    std::vector<std::uint8_t> statisticsRecord() const;
    std::vector<std::uint8_t> countersRecord() const;
    std::uint8_t loaderSubCode() const;
    std::uint8_t loaderIdentity() const;
    void requestMode(std::uint8_t target, std::int64_t nowMs);
    std::uint8_t reportedMode() const;
    void followTime(std::int64_t nowMs);

    struct PendingMode {
        std::uint8_t target;
        std::int64_t sinceMs;
        int samplesShown;
    };

    ControllerSettings m_settings;
    CBlockStore m_blocks;
    CFlashImage m_flash;
    CEngineModel m_engine;
    bool m_inLoader;
    bool m_applicationValid;
    std::uint8_t m_mode;
    std::optional<PendingMode> m_pendingMode;
    std::optional<std::int64_t> m_lastMs;
    std::array<std::uint8_t, 4> m_errorStatus{};
    std::array<std::uint8_t, 8> m_errorRecord{};
    std::array<std::uint8_t, 8> m_extendedRecord{};
    std::vector<std::uint16_t> m_correlation;
    std::vector<std::uint8_t> m_capture;
    bool m_correlationRecording = false;
    int m_resets = 0;
};

} // namespace torva::sim
