#pragma once

#include <atomic>
#include <string>

namespace torva {

class CLPGDevice;
class CThreadManager;

// The main window's refresh timer (5001, every 200 ms), which the polling runs alongside.
class IRefreshTimer {
public:
    virtual ~IRefreshTimer() = default;
    virtual void startRefreshTimer(int periodMs) = 0;
    virtual void stopRefreshTimer() = 0;
};

// Starts and stops the polling thread for the document, on the window's thread. Never lets two
// polling threads run at once: a start first waits for an earlier thread to leave.
//
// The device must outlive this object, whose destruction waits for the thread to end.
class CPollingControl {
public:
    static constexpr int kRefreshTimerId = 5001;
    static constexpr int kRefreshPeriodMs = 200;
    // Longest wait for a polling thread to finish its cycle: a sleep plus one exchange, whose
    // reads give up after about a second each.
    static constexpr int kThreadEndTimeoutMs = 5000;

    // Polling threads go into threads (by default the application's thread manager).
    explicit CPollingControl(CLPGDevice& device);
    CPollingControl(CLPGDevice& device, CThreadManager& threads);
    ~CPollingControl();
    CPollingControl(const CPollingControl&) = delete;
    CPollingControl& operator=(const CPollingControl&) = delete;

    // The window's timer; nullptr (the default) while there is no window.
    void setRefreshTimer(IRefreshTimer* timer) { m_timer = timer; }

    // Starts a polling thread that records to fileName (empty: no recording) and the refresh
    // timer. Without live diagnostics it only clears the polling flag and stops the timer.
    // False when no thread was started: no live diagnostics, an earlier thread that did not
    // end in time, or no system thread to be had. In the last two cases the link counts as
    // lost (awaitReconnection), so the window says so and tries again.
    bool startPolling(const std::string& fileName);
    // Polling again without a recording (this also ends a recording).
    bool restartPolling() { return startPolling(std::string()); }
    // Clears the polling flag, stops the timer and waits until the thread has left its loop.
    void stopPolling();
    // The link is not usable: clears the device's connected flag and keeps the refresh timer
    // running, whose connection cycle shows the lost link and retries it.
    void awaitReconnection();

    bool isPolling() const { return m_polling.load(); }
    // The flag the polling thread runs under; the thread itself clears it when it gives up.
    std::atomic<bool>& pollingFlag() { return m_polling; }
    // The file name polling was last started with.
    const std::string& recordingFileName() const { return m_recordingFileName; }
    // True while the polling thread has that file open: not when it could not be created, and
    // no longer once the thread has ended or lost the link.
    bool isRecording() const { return m_recording.load(); }

private:
    // Clears the flag and waits for a running thread to end; false when it did not in time.
    bool endRunningThread();
    void stopTimer();

    CLPGDevice& m_device;
    CThreadManager& m_threads;
    IRefreshTimer* m_timer = nullptr;
    std::atomic<bool> m_polling{false};
    std::atomic<bool> m_recording{false};
    std::string m_recordingFileName;
};

} // namespace torva
