#pragma once

#include "fixture/device_sim_fixture.h"

#include "config/process_state_guard.h"
#include "link/diag_sample.h"
#include "link/lpg_device.h"
#include "link/serial_settings.h"
#include "support/recording_ui.h"

#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace torva::test {

// A recording user interface whose waits take no time (the simulator needs none), with hooks
// that run when a question with their caption is asked.
class CQuickUi : public CRecordingUi {
public:
    void responsiveWait(int ms) override {
        if (m_onWait)
            m_onWait(ms);
    }
    // Runs hook on every wait instead of waiting.
    void onWait(std::function<void(int ms)> hook) { m_onWait = std::move(hook); }
    EAnswer question(const std::string& text, const std::string& caption, EButtons buttons,
                     EIcon icon) override {
        if (const auto hook = m_hooks.find(caption); hook != m_hooks.end())
            hook->second();
        return CRecordingUi::question(text, caption, buttons, icon);
    }
    void onQuestion(const std::string& caption, std::function<void()> hook) {
        m_hooks[caption] = std::move(hook);
    }

private:
    std::map<std::string, std::function<void()>> m_hooks;
    std::function<void(int)> m_onWait;
};

// A connected CLPGDevice on a simulated controller whose configuration has been read.
class CSettingsSimTest : public CDeviceSimFixture {
protected:
    CLPGDevice& connect(sim::SimConfig config = {}) {
        CDeviceSimFixture::connect(std::move(config));
        sim().transcript().clear();
        return *m_device;
    }

    // The requests since connecting: a block write as its code ("3"), a query or action as
    // "2/sub-code"; repeats in a row (polls, table chunks) are shown once.
    std::vector<std::string> requests() {
        std::vector<std::string> seen;
        for (const sim::TranscriptEntry& entry : sim().transcript().entries()) {
            if (entry.direction != sim::Direction::Request)
                continue;
            std::string name = std::to_string(entry.code);
            if (entry.code == 2)
                name += "/" + std::to_string(entry.subCode());
            if (seen.empty() || seen.back() != name)
                seen.push_back(name);
        }
        return seen;
    }

    CQuickUi m_ui;
    CProcessStateGuard m_processState;
};

} // namespace torva::test
