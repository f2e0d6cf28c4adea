#pragma once

#include "config/adc_scale.h"
#include "lang/cng_flag.h"

namespace torva::test {

// Tests that touch the process-wide switchable ADC scale or CNG flag start from and leave the
// start-up state (scale 4.636, no CNG).
class CProcessStateGuard {
public:
    CProcessStateGuard() { reset(); }
    ~CProcessStateGuard() { reset(); }
    CProcessStateGuard(const CProcessStateGuard&) = delete;
    CProcessStateGuard& operator=(const CProcessStateGuard&) = delete;

private:
    static void reset() {
        updateSwitchableScale(0);
        setCngInstallation(false);
    }
};

} // namespace torva::test
