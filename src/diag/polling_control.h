#pragma once

#include "diag/diag_file.h"

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

    // Starts a polling thread and the refresh timer. A file name starts a new recording there
    // (an existing file is emptied); an empty name means no recording. Without live diagnostics
    // it only clears the polling flag and stops the timer. False when no thread was started: no
    // live diagnostics, an earlier thread that did not end in time, or no system thread to be
    // had. In the last two cases the link counts as lost (awaitReconnection), so the window
    // says so and tries again. A recording file that cannot be opened is told and forgotten.
    bool startPolling(const std::string& fileName);
    // Polling again after it stopped (a lost link, a command that needed the line to itself):
    // the recording, when there is one, goes on at the end of its file.
    bool restartPolling();
    // Clears the polling flag, stops the timer and waits until the thread has left its loop.
    // The recording is kept (it goes on with restartPolling).
    void stopPolling();
    // The link is not usable: clears the device's connected flag and keeps the refresh timer
    // running, whose connection cycle shows the lost link and retries it.
    void awaitReconnection();

    // A recording belongs to the user, not to one connection: it survives lost links and
    // restarts, and only stopRecording (or a new recording) ends it.
    // Starts recording to fileName from its start. The file is made at once, so a name that
    // cannot be written is told now; without a controller it fills once polling comes back.
    // False (the user was told) when the file cannot be made; the recording is then off.
    bool startRecording(const std::string& fileName);
    // Ends the recording; polling, when running, goes on without a file.
    void stopRecording();

    bool isPolling() const { return m_polling.load(); }
    // The flag the polling thread runs under; the thread itself clears it when it gives up.
    std::atomic<bool>& pollingFlag() { return m_polling; }
    // The file being recorded to; empty when nothing is recorded.
    const std::string& recordingFileName() const { return m_recordingFileName; }
    bool isRecording() const { return !m_recordingFileName.empty(); }
    // True while the polling thread writes the recording's file: not while the link is down or
    // polling is stopped (the recording is paused then).
    bool isRecordingWritten() const { return m_recording.load(); }

private:
    bool startThread(CDiagFile::EOpen mode);
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
