#include "document/firmware_migration.h"

#include "config/device_type.h"

namespace torva {

namespace {

// A step applies when the old firmware predates its first version and the new one has reached
// its second.
struct SVersionStep {
    std::int32_t before;
    std::int32_t reached;
};

bool applies(SVersionStep step, std::int32_t oldVersion, std::int32_t newVersion) {
    return oldVersion < step.before && newVersion >= step.reached;
}

} // namespace

SMigrationWrites migrateSettings(CDeviceConfig& live, std::int32_t oldVersion,
                                 std::int32_t newVersion) {
    SServiceSetup& service = live.m_serviceSetup;
    STempomatSetup& tempomat = live.m_tempomatSetup;
    const SServiceSetup serviceDefaults;
    const STempomatSetup tempomatDefaults;
    SMigrationWrites writes;
    const auto step = [&](std::int32_t before, std::int32_t reached) {
        return applies({before, reached}, oldVersion, newVersion);
    };

    if (step(259, 259)) {
        service.m_serviceInterval = serviceDefaults.m_serviceInterval;
        service.m_advancedFlags2 = serviceDefaults.m_advancedFlags2;
        writes.service = true;
    }
    if (step(261, 261)) {
        service.m_emuOffset.fill(0);
        service.m_tpsJump = 0;
        service.m_tpsEmLimitDelay = 25;
        writes.service = true;
    }
    if (step(262, 262)) {
        service.m_tpsJump = 0;
        service.m_tpsEmLimitDelay = 25;
        writes.service = true;
    }
    if (step(264, 265)) {
        service.m_mapCutOff = 0;
        service.m_maxRpm = 5000;
        writes.service = true;
    }
    if (step(265, 265)) {
        service.m_mapCutOff = 0;
        writes.service = true;
    }
    if (step(266, 266)) {
        tempomat.m_rpmDetect = 1000;
        tempomat.m_turboDetect = 1.0;
        tempomat.m_detectTime = 1.0;
        tempomat.m_tpsAnalogDetect = 0;
        tempomat.m_tpsDigitalDetect = 0;
        writes.tempomat = true;
    }
    if (step(281, 281)) {
        tempomat.m_tpsDigitCutOff = 0;
        writes.tempomat = true;
    }
    if (step(287, 287)) {
        tempomat.m_vCppLitersToTank = 35;
        writes.tempomat = true;
    }
    if (step(297, 297))
        writes.reset = true;
    if (step(300, 300)) {
        tempomat.m_minGasTempr = tempomatDefaults.m_minGasTempr;
        writes.tempomat = true;
    }
    if (step(301, 301)) {
        service.m_crInjCutOffTime = 0;
        writes.service = true;
    }
    writes.basePressures = step(kSecondPressureFormulaVersion, kSecondPressureFormulaVersion);
    return writes;
}

} // namespace torva
