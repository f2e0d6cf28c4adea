#pragma once

#include "sim/controller_model.h"
#include "sim/fault_injector.h"
#include "sim/frame_parser.h"
#include "sim/transcript.h"

#include <atomic>
#include <chrono>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <thread>

namespace torva::sim {

class CPtyHost;

struct SimConfig {
    ControllerSettings controller;
    // Hold answers back to what a 38400 baud line (10 bits per byte) would allow.
    bool pace = false;
    // Where to put a symbolic link to the device, if anywhere.
    std::string linkPath;
    // An incomplete request is forgotten after the line has been quiet this long.
    int quietGapMs = 100;
};

// A controller on the far end of a pseudo-terminal, answering on a thread of its own until
// stopped. Every accessor is safe to call from the test's thread while it runs.
class CSimulator {
public:
    explicit CSimulator(SimConfig config = {});
    ~CSimulator();
    CSimulator(const CSimulator&) = delete;
    CSimulator& operator=(const CSimulator&) = delete;

    // Opens the pseudo-terminal (and the link) and starts answering; throws std::runtime_error
    // when the terminal or the link cannot be made, std::logic_error when already running.
    void start();
    // Stops answering and closes the terminal; safe to call twice.
    void stop();
    bool running() const { return m_thread.joinable(); }

    // The cable pulled: the terminal closes, so a client's open line hangs up, and the link goes;
    // the controller keeps its state. comeBack answers again on a new terminal behind the same
    // link, as a controller plugged in again does (another device name, the same link path).
    void hangUp() { stop(); }
    void comeBack() { start(); }
    // Another controller on the line from now on: its own identity and factory configuration.
    // Usually called while hung up, before comeBack.
    void replaceController(const ControllerSettings& controller);

    // The device a client opens (valid after start).
    const std::string& devicePath() const { return m_devicePath; }

    CTranscript& transcript() { return m_transcript; }
    // Waits until this many requests have been received; false on time-out.
    bool waitForRequests(std::size_t count, int timeoutMs) const;
    // Called on the simulator's thread for every transcript entry (set it before start).
    void setObserver(std::function<void(const TranscriptEntry&)> observer);

    // Fault injection for the answers still to come.
    void injectNext(FaultKind kind, int count = 1);
    void setFaultPercent(FaultKind kind, int percent);
    void setNoiseBytes(int count);
    void setSplitGapMs(int ms);
    void setSilent(bool silent);
    void clearFaults();
    void setPace(bool pace) { m_pace = pace; }

    // Runs f on the controller model under the simulator's lock and returns what f returns.
    template <typename F> auto withController(F&& f) {
        std::lock_guard lock(m_mutex);
        return f(*m_controller);
    }
    std::vector<std::uint8_t> flashImage() const;
    std::vector<std::uint8_t> blockImage(std::uint8_t code) const;
    bool inLoader() const;
    // Frames from the PC dropped for a bad checksum or length.
    std::size_t rejectedFrames() const;

private:
    struct Outgoing {
        std::vector<std::uint8_t> bytes;
        bool split = false;
        int splitGapMs = 0;
    };

    void run();
    std::optional<Outgoing> respond(const SimRequest& request);
    void send(const Outgoing& outgoing);
    void writePaced(const std::uint8_t* data, std::size_t count);
    void record(TranscriptEntry entry);
    std::int64_t nowMs() const;

    SimConfig m_config;
    const std::chrono::steady_clock::time_point m_epoch;
    mutable std::mutex m_mutex; // guards the controller, the fault injector and the parser count
    std::unique_ptr<CControllerModel> m_controller;
    CFaultInjector m_faults;
    std::mt19937 m_random;
    std::size_t m_rejected = 0;
    CTranscript m_transcript;
    std::function<void(const TranscriptEntry&)> m_observer;
    std::unique_ptr<CPtyHost> m_pty;
    std::string m_devicePath;
    std::atomic<bool> m_pace;
    std::atomic<bool> m_stop{false};
    std::thread m_thread;
};

} // namespace torva::sim
