#pragma once

// An editing page's world in tests: a simulated controller on a pseudo-terminal, a device
// connected to it with the configuration read, and a record of the messages shown.
#include "fixture/device_sim_fixture.h"
#include "support/fake_clock.h"
#include "support/recording_ui.h"
#include "support/temp_folder.h"

#include "config/block_codec.h"
#include "lang/languages.h"
#include "lang/translation.h"
#include "link/lpg_device.h"

#include <memory>
#include <string>

namespace torva::test {

class CPageSimRig : public CDeviceSimFixture {
protected:
    // Starts the simulator with identity and connects a device to it.
    CLPGDevice& connect(const sim::SimIdentity& identity = {}) {
        selectLanguage(kPolishLanguage);
        sim::SimConfig config;
        config.controller.identity = identity;
        startSim(std::move(config), false);
        m_device = std::make_unique<CLPGDevice>();
        m_device->setSettingsPath(m_folder.path() + "/settings");
        std::string why;
        EXPECT_TRUE(m_device->connect(devicePath(), &why)) << why;
        m_device->setConnected(true);
        sim().transcript().clear();
        return *m_device;
    }

    CLPGDevice& device() { return *m_device; }
    std::size_t requests(std::uint8_t code, int subCode = -1) {
        return sim().transcript().countRequests(code, subCode);
    }
    // The block as the controller holds it, decoded into a record.
    CDeviceConfig controllerView(EBlock block) {
        CDeviceConfig config;
        const std::vector<std::uint8_t> image = sim().blockImage(blockInfo(block).code);
        decodeBlock(block, image.data(), image.size(), config);
        return config;
    }

    CRecordingUi m_ui;
    CFakeClock m_clock; // the attempts' pauses take no time

private:
    CTempFolder m_folder;
};

} // namespace torva::test
