#pragma once

#include "diag/diag_file.h"
#include "link/diag_sample.h"
#include "platform/sthread.h"

#include <atomic>
#include <cstdint>
#include <string>

namespace torva {

class CDiagData;
class CLPGDevice;

// A polling thread: reads live samples until the polling flag goes false and feeds them to the
// store. Everything it is given (device, store, flag) must outlive its run(); the polling
// control waits for the thread before those go.
class CDiagInputThread : public CSThread {
public:
    // fetch's results.
    enum EFetch : int {
        kFetchOk = 0,        // a sample was read
        kFetchWrongCode = 1, // the controller answered something else: skipped, not counted
        kFetchFailed = 2,    // no valid answer, or no device: counted
    };
    // Pause before each read; the controller is read about ten times a second.
    static constexpr int kCycleSleepMs = 100;
    // Consecutive transmission failures that polling survives; one more ends it.
    static constexpr int kFailuresTolerated = 10;

    CDiagInputThread(std::string name, CLPGDevice* device, CDiagData* store,
                     std::atomic<bool>* pollingFlag);

    void run() override;

protected:
    virtual void onStart() = 0;
    virtual void onStop() = 0;
    virtual int fetch(DiagSample& sample) = 0;
    virtual void process(DiagSample& sample) = 0;

    CLPGDevice* device() const { return m_device; }
    CDiagData& store() const { return *m_store; }
    const std::string& name() const { return m_name; }

private:
    void pollOnce();
    void countFailure();
    // The serial channel failed inside a cycle: open the port afresh.
    void recoverFromSerialError();
    void endAfterError();

    CLPGDevice* m_device;
    CDiagData* m_store;
    std::string m_name;
    std::atomic<bool>* m_polling;
};

// The serial polling thread: the live-sample read over the device's link, recording each
// stored sample to a diagnostic file when one was named.
class CDiagRSThread : public CDiagInputThread {
public:
    // Opens fileName for recording (on the constructing thread), replacing or appending to it; a
    // name that cannot be opened leaves the thread polling without a recording. recordingFlag,
    // when given, is true exactly while the recording file is open.
    CDiagRSThread(const std::string& fileName, CLPGDevice* device, CDiagData* store,
                  std::atomic<bool>* pollingFlag, std::atomic<bool>* recordingFlag = nullptr,
                  CDiagFile::EOpen mode = CDiagFile::EOpen::Replace);
    ~CDiagRSThread() override;

    // The recording's name, empty when nothing is being recorded.
    const std::string& recordingName() const { return m_file.fileName(); }

protected:
    void onStart() override;
    void onStop() override;
    int fetch(DiagSample& sample) override;
    void process(DiagSample& sample) override;

private:
    void closeRecording();

    std::int32_t m_count = 0; // samples stored by this thread
    CDiagFile m_file;
    std::atomic<bool>* m_recording;
};

} // namespace torva
