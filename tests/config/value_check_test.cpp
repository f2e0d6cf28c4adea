// Numbers a careless or hostile file or command line brings, against every kind of field: each
// is either refused before anything is written or held as the controller will keep it.
#include "config/block_codec.h"
#include "config/device_type.h"
#include "config/settings_io.h"
#include "config/settings_keys.h"
#include "config/value_check.h"
#include "lang/cng_flag.h"
#include "settings_test_files.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <map>

using namespace torva;
using torva::test::CTempFolder;

namespace {

struct SExtreme {
    const char* text; // as a file or a command line spells it
    double value;
};

const double kInfinity = std::numeric_limits<double>::infinity();
const SExtreme kExtremes[] = {
    {"nan", std::numeric_limits<double>::quiet_NaN()},
    {"inf", kInfinity},
    {"-inf", -kInfinity},
    {"1e308", 1e308},
    {"-1e308", -1e308},
    {"1e-320", 1e-320},
    {"2147483648", 2147483648.0},
    {"4294967296", 4294967296.0},
    {"9223372036854775808", 9223372036854775808.0},
    {"-1", -1},
};

struct SFieldKind {
    const char* kind;
    const char* key;
    EBlock block;
    // The extremes the field holds, and what the controller keeps of each; every other
    // extreme must be refused.
    std::map<std::string, double> held;
};

const SFieldKind kKinds[] = {
    {"byte", "m_adv.m_injMounted", EBlock::Advanced, {{"1e-320", 0}}},
    {"signed", "m_serviceSetup.m_emuOffset[0]", EBlock::Service, {{"1e-320", 0}, {"-1", -1.002}}},
    {"word", "m_base.m_maxExhaustTemp", EBlock::Base, {{"1e-320", 0}}},
    {"long",
     "m_serviceSetup.m_serviceInterval",
     EBlock::Service,
     {{"1e-320", 0}, {"2147483648", 2147483648.0}}},
    {"period", "m_serviceSetup.m_maxRpm", EBlock::Service, {}},
    {"temperature code", "m_base.m_switchTempr", EBlock::Base, {{"1e-320", 0}, {"-1", -1}}},
    {"axis point", "m_mapCoordinatesEmu2[0]", EBlock::Axis2, {{"1e-320", 0}}},
    {"map cell", "m_mapEmu1[0][0]", EBlock::EmuMap1, {{"1e-320", 0}, {"-1", -1}}},
};

const SSettingsKey& keyNamed(const std::string& name) {
    for (const SSettingsKey& entry : settingsKeys()) {
        if (entry.key == name)
            return entry;
    }
    throw std::out_of_range(name);
}

double numberOf(CDeviceConfig& record, const SSettingsKey& key) {
    return std::visit(
        [](auto* member) -> double {
            if constexpr (std::is_same_v<decltype(member), std::string*>)
                return 0;
            else
                return static_cast<double>(*member);
        },
        key.field(record));
}

void store(CDeviceConfig& record, const SSettingsKey& key, double value) {
    std::visit(
        [value](auto* member) {
            using Member = std::remove_pointer_t<decltype(member)>;
            if constexpr (!std::is_same_v<Member, std::string>)
                *member = static_cast<Member>(value);
        },
        key.field(record));
}

// What the controller reports for the member after the record's block was written to it.
double keptByController(const CDeviceConfig& record, const SSettingsKey& key, EBlock block) {
    const std::vector<std::uint8_t> image = encodeBlock(block, record);
    CDeviceConfig readBack = record;
    decodeBlock(block, image.data(), image.size(), readBack);
    return numberOf(readBack, key);
}

class ValueCheck : public ::testing::Test {
protected:
    ValueCheck() : m_path(m_folder.file("car.dsettings")), m_cng(isCngInstallation()) {
        CDeviceConfig record(kDeviceType25);
        record.m_timeStamp = "07-03-2014-15:04:09";
        record.m_devInfo.m_deviceID = kDeviceType25;
        EXPECT_TRUE(writeSettings(m_path, record));
        m_file = test::readBytes(m_path);
    }
    ~ValueCheck() override { setCngInstallation(m_cng); }

    // The factory file with key's line set to text.
    void writeFileWith(const std::string& key, const std::string& text) {
        std::string bytes = m_file;
        const std::size_t line = bytes.find("\n" + key + "\t") + 1;
        const std::size_t end = bytes.find("\r\n", line);
        bytes.replace(line, end - line, key + "\t" + text);
        test::writeBytes(m_path, bytes);
    }

    CTempFolder m_folder;
    std::string m_path;
    std::string m_file;
    bool m_cng;
};

} // namespace

TEST_F(ValueCheck, EveryFieldKindRefusesOrHoldsEachExtreme) {
    for (const SFieldKind& kind : kKinds) {
        const SSettingsKey& key = keyNamed(kind.key);
        for (const SExtreme& extreme : kExtremes) {
            SCOPED_TRACE(std::string(kind.kind) + " " + kind.key + " = " + extreme.text);
            const auto held = kind.held.find(extreme.text);

            // Through the settings reader.
            writeFileWith(kind.key, extreme.text);
            CDeviceConfig loaded(kDeviceType25);
            std::string refusal;
            const bool accepted =
                readSettings(m_path, loaded, SLoadTarget(kDeviceType25, 0x12F), &refusal);
            EXPECT_EQ(accepted, held != kind.held.end()) << refusal;
            if (accepted && held != kind.held.end())
                EXPECT_NEAR(keptByController(loaded, key, kind.block), held->second, 1e-9);
            else
                EXPECT_NE(refusal.find(kind.key), std::string::npos) << refusal;

            // Through the check torvactl set makes on the live record.
            CDeviceConfig live(kDeviceType25);
            if (std::holds_alternative<double*>(key.field(live))) {
                store(live, key, extreme.value);
                const EBlock blocks[] = {kind.block};
                EXPECT_EQ(checkBlockValues(live, blocks).has_value(), held == kind.held.end());
            } else {
                EXPECT_EQ(checkMemberValue(live, key, extreme.value).has_value(),
                          held == kind.held.end());
            }
        }
    }
}

TEST_F(ValueCheck, EveryNumberMemberHoldsItsFactoryValueAndRefusesTheAbsurd) {
    // A member the check does not know would take any finite number.
    const CDeviceConfig factory(kDeviceType25);
    for (const SSettingsKey& key : settingsKeys()) {
        CDeviceConfig probe = factory;
        if (key.group == ESettingsGroup::DevInfo || key.group == ESettingsGroup::TimeStamp ||
            key.group == ESettingsGroup::DeviceType)
            continue;
        const double value = numberOf(probe, key);
        EXPECT_FALSE(checkMemberValue(factory, key, value)) << key.key;
        EXPECT_TRUE(checkMemberValue(factory, key, std::nan(""))) << key.key;
        if (key.key != "m_serviceSetup.m_tpsJump") { // kept in the file only: any finite number
            EXPECT_TRUE(checkMemberValue(factory, key, 1e12)) << key.key;
        }
    }
}

TEST_F(ValueCheck, ValuesWithinTheFieldsResolutionAreHeldAndTheirNeighboursAreNot) {
    const CDeviceConfig factory(kDeviceType25);
    const auto holds = [&](const char* key, double value) {
        return !checkMemberValue(factory, keyNamed(key), value);
    };
    // Kept to the field's step, as the controller has always done it.
    EXPECT_TRUE(holds("m_base.m_switchRPM", 1234));        // kept as 1200
    EXPECT_TRUE(holds("m_mapTimeEmu1[0][0]", 1.55));       // truncated to 1.5
    EXPECT_TRUE(holds("m_mapTimeEmu1[0][0]", 25.59));      // the top code's fraction
    EXPECT_TRUE(holds("m_mapRpmCoordinatesEmu1[0]", 550)); // truncated to 500
    // Just beyond what the field holds.
    EXPECT_FALSE(holds("m_mapTimeEmu1[0][0]", 25.6));
    EXPECT_FALSE(holds("m_base.m_switchTempr", 210));   // type 0 reaches 209
    EXPECT_FALSE(holds("m_base.m_switchTempr", -37));   // and -36
    EXPECT_FALSE(holds("m_base.m_switchPressure", -5)); // reads back as 0 kPa
    EXPECT_FALSE(holds("m_mapRpmCoordinatesEmu1[0]", 99999));
    EXPECT_FALSE(holds("m_serviceSetup.m_maxRpm", 1e308)); // would read back as 5000
}

TEST_F(ValueCheck, AnAxisMustStillRiseOnceEncoded) {
    CDeviceConfig record(kDeviceType25);
    const EBlock axes[] = {EBlock::Axes1Rpm, EBlock::Axis2, EBlock::AxisTpsD};
    EXPECT_FALSE(checkBlockValues(record, axes));

    // Two volts one ADC count apart meet in the same count.
    record.m_mapCoordinatesEmu2[4] = record.m_mapCoordinatesEmu2[3] + 0.001;
    const std::optional<SValueRefusal> refusal = checkBlockValues(record, axes);
    ASSERT_TRUE(refusal);
    EXPECT_EQ(refusal->key, "m_mapCoordinatesEmu2[4]");
    EXPECT_EQ(refusal->fault, EValueFault::AxisNotRising);
    EXPECT_EQ(describeValueRefusal(*refusal),
              "m_mapCoordinatesEmu2[4]: 3.831 nie jest powyżej poprzedniego punktu osi (3.83)");

    record = CDeviceConfig(kDeviceType25);
    record.m_mapRpmCoordinatesEmu1[6] = record.m_mapRpmCoordinatesEmu1[5] + 50;
    ASSERT_TRUE(checkBlockValues(record, axes));
    EXPECT_EQ(checkBlockValues(record, axes)->key, "m_mapRpmCoordinatesEmu1[6]");
}

TEST_F(ValueCheck, ACheckLeavesTheInstallationsFuelAsItWas) {
    // The probes encode base blocks; a file's CNG flag must not reach the window's texts.
    setCngInstallation(false);
    CDeviceConfig record(kDeviceType25);
    record.m_base.m_advancedFlags |= kCngInstallationFlag;
    record.m_base.m_switchRPM = 1e308;
    EXPECT_TRUE(checkRecordValues(record));
    EXPECT_FALSE(isCngInstallation());
}
