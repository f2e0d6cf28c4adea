#pragma once

#include "config/process_state_guard.h"
#include "link/demo_state.h"
#include "link/identification_notice.h"
#include "link/lpg_device.h"
#include "support/fake_clock.h"
#include "support/recording_ui.h"
#include "support/responding_serial.h"

#include <memory>

namespace torva::test {

// A device whose channel leads to a controller the test writes as a function, on fake time, with
// the user interface recorded and the process-wide state reset before and after.
struct SDeviceRig {
    using Bytes = CRespondingSerial::Bytes;

    explicit SDeviceRig(CRespondingSerial::Responder responder = silent) {
        resetUnknownModelNotice();
        setDemoFuelMode(kFuelModeDiesel);
        auto io = std::make_unique<CRespondingSerial>(std::move(responder));
        serial = io.get();
        device = std::make_unique<CLPGDevice>(std::move(io));
        // A rotation of 5: a payload sent twice without being rebuilt would show it.
        device->setRandomSource([] { return std::uint16_t{0x1235}; });
    }
    ~SDeviceRig() {
        resetUnknownModelNotice();
        setDemoFuelMode(kFuelModeDiesel);
    }

    static std::optional<Bytes> silent(const SSeenRequest&) { return std::nullopt; }

    const std::vector<SSeenRequest>& requests() const { return serial->requests(); }

    CFakeClock clock;
    CRecordingUi ui;
    CProcessStateGuard processState;
    CRespondingSerial* serial = nullptr;
    std::unique_ptr<CLPGDevice> device;
};

} // namespace torva::test
