#include "diag/diag_threads.h"

#include "diag/poll_counters.h"
#include "lang/source_text.h"
#include "link/demo_sample.h"
#include "link/diag_data.h"
#include "link/lpg_device.h"
#include "platform/clock.h"
#include "platform/error.h"
#include "platform/user_interface.h"

namespace torva {

namespace {

constexpr int kDemoExchangeMs = 50;

} // namespace

// ---- CDiagInputThread -------------------------------------------------------------------------

CDiagInputThread::CDiagInputThread(std::string name, CLPGDevice* device, CDiagData* store,
                                   std::atomic<bool>* pollingFlag)
    : m_device(device), m_store(store), m_name(std::move(name)), m_polling(pollingFlag) {}

void CDiagInputThread::run() {
    try {
        onStart();
        // Failures left over from an earlier thread must not shorten this one's allowance.
        consecutiveFailures().store(0);
        while (m_polling->load())
            pollOnce();
        onStop();
    } catch (const IError&) {
        endAfterError();
    }
}

void CDiagInputThread::pollOnce() {
    DiagSample sample{};
    appClock().sleepMs(kCycleSleepMs);
    try {
        const int result = fetch(sample);
        if (result == kFetchOk) {
            process(sample);
            consecutiveFailures().store(0);
        } else if (result == kFetchFailed) {
            countFailure();
        }
    } catch (const IError&) {
        recoverFromSerialError();
    }
}

void CDiagInputThread::countFailure() {
    if (consecutiveFailures().fetch_add(1) + 1 <= kFailuresTolerated)
        return;
    // The controller is gone: the window's timer sees the cleared flag and reconnects.
    m_store->clear();
    onStop();
    if (m_device != nullptr)
        m_device->setConnected(false);
    m_polling->store(false);
}

void CDiagInputThread::recoverFromSerialError() {
    // A port that cannot even be opened again (an adapter pulled out) counts as a failed
    // exchange, so polling ends after eleven of them instead of retrying forever.
    if (m_device == nullptr || !m_device->reOpen())
        countFailure();
}

void CDiagInputThread::endAfterError() {
    m_store->clear();
    if (!m_polling->load())
        return;
    onStop();
    // Many drivers (and pseudo-terminals) report no line error at all; the thread has ended
    // either way, and only a cleared flag lets the window reconnect.
    if (m_device != nullptr)
        m_device->setConnected(false);
    m_polling->store(false);
    appUi().message(PL("Brak połączenia"), "TORVA", EIcon::None);
}

// ---- CDiagRSThread ----------------------------------------------------------------------------

CDiagRSThread::CDiagRSThread(const std::string& fileName, CLPGDevice* device, CDiagData* store,
                             std::atomic<bool>* pollingFlag, std::atomic<bool>* recordingFlag)
    : CDiagInputThread(fileName, device, store, pollingFlag), m_recording(recordingFlag) {
    m_file.open(fileName);
    if (m_recording != nullptr)
        m_recording->store(m_file.isOpen());
}

CDiagRSThread::~CDiagRSThread() {
    closeRecording();
}

void CDiagRSThread::closeRecording() {
    m_file.close();
    if (m_recording != nullptr)
        m_recording->store(false);
}

void CDiagRSThread::onStart() {
    if (device() != nullptr && !device()->isDemo()) {
        // Under the exchange mutex, so a reply the window's thread is waiting for survives.
        CMSGMutex::Guard exchange(device()->exchangeMutex());
        device()->serialIo().purgeIn();
    }
    store().clear();
}

void CDiagRSThread::onStop() {
    closeRecording();
}

int CDiagRSThread::fetch(DiagSample& sample) {
    CLPGDevice* link = device();
    if (link == nullptr)
        return kFetchFailed;
    if (link->isDemo()) {
        // A copy: the demo car reads its maps and sensor types while the pages edit them.
        fillDemoSample(sample, link->configCopy(), store());
        appClock().sleepMs(kDemoExchangeMs);
        return kFetchOk;
    }
    switch (link->exchangeLiveSample(sample)) {
    case CLPGDevice::ELiveRead::Ok:
        return kFetchOk;
    case CLPGDevice::ELiveRead::WrongCode:
        return kFetchWrongCode;
    case CLPGDevice::ELiveRead::Failed:
        break;
    }
    return kFetchFailed;
}

void CDiagRSThread::process(DiagSample& sample) {
    ++m_count;
    // The window's thread may be editing the live record: the line is converted from a copy
    // taken under the configuration lock, and only when a file is being written.
    if (device() != nullptr && m_file.isOpen())
        m_file.appendLine(sample, device()->configCopy());
    sample.m_seq = m_count;
    store().push(sample);
}

} // namespace torva
