// The settings migration after a firmware update: which steps apply between two versions.
#include "document/firmware_migration.h"

#include <gtest/gtest.h>

using namespace torva;

namespace {

CDeviceConfig changedRecord() {
    CDeviceConfig record;
    record.m_serviceSetup.m_serviceInterval = 7;
    record.m_serviceSetup.m_advancedFlags2 = 3;
    record.m_serviceSetup.m_emuOffset = {1, 2, 3, 4};
    record.m_serviceSetup.m_tpsJump = 1.5;
    record.m_serviceSetup.m_tpsEmLimitDelay = 9;
    record.m_serviceSetup.m_mapCutOff = 2.5;
    record.m_serviceSetup.m_maxRpm = 4000;
    record.m_serviceSetup.m_crInjCutOffTime = 3;
    record.m_tempomatSetup.m_rpmDetect = 1500;
    record.m_tempomatSetup.m_tpsDigitCutOff = 2;
    record.m_tempomatSetup.m_vCppLitersToTank = 50;
    record.m_tempomatSetup.m_minGasTempr = 12;
    return record;
}

} // namespace

TEST(FirmwareMigration, UpgradeFrom264To265ClearsTheCutOffButKeepsTheRpmLimit) {
    CDeviceConfig record = changedRecord();
    const SMigrationWrites writes = migrateSettings(record, 264, 265);
    EXPECT_EQ(record.m_serviceSetup.m_mapCutOff, 0);
    EXPECT_EQ(record.m_serviceSetup.m_maxRpm, 4000);
    EXPECT_TRUE(writes.service);
    EXPECT_FALSE(writes.tempomat);
    EXPECT_FALSE(writes.basePressures);
    EXPECT_FALSE(writes.reset);

    record = changedRecord();
    migrateSettings(record, 263, 265);
    EXPECT_EQ(record.m_serviceSetup.m_maxRpm, 5000);
}

TEST(FirmwareMigration, SameOrOlderVersionChangesNothing) {
    for (const int version : {256, 266, 271, 301}) {
        CDeviceConfig record = changedRecord();
        const SMigrationWrites writes = migrateSettings(record, version, version);
        EXPECT_EQ(record, changedRecord()) << version;
        EXPECT_FALSE(writes.service || writes.tempomat || writes.basePressures || writes.reset);
    }
    CDeviceConfig record = changedRecord();
    migrateSettings(record, 301, 259);
    EXPECT_EQ(record, changedRecord());
}

TEST(FirmwareMigration, UpgradeFromTheFirstVersionAppliesEveryStep) {
    CDeviceConfig record = changedRecord();
    const SMigrationWrites writes = migrateSettings(record, 256, 301);
    const SServiceSetup& service = record.m_serviceSetup;
    const STempomatSetup& tempomat = record.m_tempomatSetup;
    EXPECT_EQ(service.m_serviceInterval, 0u);
    EXPECT_EQ(service.m_advancedFlags2, 0);
    EXPECT_EQ(service.m_emuOffset, (std::array<double, 4>{0, 0, 0, 0}));
    EXPECT_EQ(service.m_tpsJump, 0);
    EXPECT_EQ(service.m_tpsEmLimitDelay, 25);
    EXPECT_EQ(service.m_mapCutOff, 0);
    EXPECT_EQ(service.m_maxRpm, 5000);
    EXPECT_EQ(service.m_crInjCutOffTime, 0);
    EXPECT_EQ(tempomat.m_rpmDetect, 1000);
    EXPECT_EQ(tempomat.m_tpsDigitCutOff, 0);
    EXPECT_EQ(tempomat.m_vCppLitersToTank, 35);
    EXPECT_EQ(tempomat.m_minGasTempr, 0);
    EXPECT_TRUE(writes.service && writes.tempomat && writes.basePressures && writes.reset);
}

TEST(FirmwareMigration, EachStepMarksOnlyItsOwnBlock) {
    struct SCase {
        int oldVersion, newVersion;
        bool service, tempomat, basePressures, reset;
    };
    const SCase cases[] = {
        {266, 271, false, false, true, false},  {270, 271, false, false, true, false},
        {271, 280, false, false, false, false}, {280, 281, false, true, false, false},
        {296, 297, false, false, false, true},  {299, 300, false, true, false, false},
        {300, 301, true, false, false, false},  {265, 266, false, true, false, false},
    };
    for (const SCase& c : cases) {
        SCOPED_TRACE(std::to_string(c.oldVersion) + " -> " + std::to_string(c.newVersion));
        CDeviceConfig record = changedRecord();
        const SMigrationWrites writes = migrateSettings(record, c.oldVersion, c.newVersion);
        EXPECT_EQ(writes.service, c.service);
        EXPECT_EQ(writes.tempomat, c.tempomat);
        EXPECT_EQ(writes.basePressures, c.basePressures);
        EXPECT_EQ(writes.reset, c.reset);
        EXPECT_EQ(record.m_base, changedRecord().m_base);
    }
}
