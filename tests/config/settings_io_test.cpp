#include "config/device_type.h"
#include "config/settings_io.h"
#include "settings_test_files.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <csignal>
#include <filesystem>
#include <functional>
#include <random>
#include <sys/resource.h>
#include <sys/stat.h>

using namespace torva;
using torva::test::CTempFolder;
using torva::test::readBytes;
using torva::test::writeBytes;

namespace {

// Every value differs from the factory image, has at most 6 significant digits, so it survives
// the file's number format exactly, and is one its field holds.
CDeviceConfig fullRecord() {
    CDeviceConfig r(kDeviceType25);
    r.m_timeStamp = "07-03-2014-15:04:09";
    r.m_devInfo.m_modelName = "DIESEL 24";
    r.m_devInfo.m_version = 0x12F;
    r.m_devInfo.m_injCount = 6;
    r.m_devInfo.m_serial = "AB12-77";
    r.m_devInfo.m_prodDate = "01/02/2013";
    r.m_devInfo.m_deviceID = kDeviceType25;
    r.m_devInfo.m_flags1 = 0x0F;
    r.m_devInfo.m_flags2 = 7;
    r.m_devInfo.m_statistic = {123456, 654321, 9};
    r.m_base = {1500, 40,  2,  12.5, 75,  1.3,  110,  1.6,         5,
                0.7,  -10, 90, 20,   750, 0x13, 0x5A, {1, 0, 1, 1}};
    r.m_adv = {2.4, 30, 1.2, 20, 45, 7, 8, 3};
    r.m_sensorsSetup = {50, 30, 12, 6, 2, 1, 1, 3};
    r.m_serviceSetup = {
        1500, 0xB2, 3.45, {-0.645, 0.323, 1.5, -2.001}, 1.2, 4.5, 75, 0x1F, 4800, 2.5, 1, 4.2, 1.28,
        40,   12,   50};
    r.m_tempomatSetup = {1100, 1.25, 0.85, 12.3, 3, 0x0151, 4.5, 1.75, 15, 4, 45, 0x8001, -5};
    int mapIndex = 0;
    for (MapValues* map : {&r.m_mapTimeEmu1, &r.m_mapTimeEmu2, &r.m_mapTimeEmu3, &r.m_mapTimeEmu4,
                           &r.m_mapTimeEmuTpsD}) {
        ++mapIndex;
        for (int row = 0; row < kMapRows; ++row)
            for (int c = 0; c < kMapColumns; ++c)
                (*map)[row][c] = ((mapIndex * 300 + row * kMapColumns + c) % 256) / 10.0;
    }
    for (MapValues* map :
         {&r.m_mapEmu1, &r.m_mapEmu2, &r.m_mapEmu3, &r.m_mapEmu4, &r.m_mapEmuTpsD}) {
        ++mapIndex;
        for (int row = 0; row < kMapRows; ++row)
            for (int c = 0; c < kMapColumns; ++c)
                (*map)[row][c] = (mapIndex * 7 + row * kMapColumns + c) % 200 - 100;
    }
    for (LoadAxis* axis : {&r.m_mapCoordinatesEmu1, &r.m_mapCoordinatesEmu2,
                           &r.m_mapCoordinatesEmu3, &r.m_mapCoordinatesEmu4}) {
        ++mapIndex;
        for (int k = 0; k < kMapRows; ++k)
            (*axis)[k] = (mapIndex * 10 + 31 * k) / 100.0;
    }
    for (int k = 0; k < kMapRows; ++k)
        r.m_mapCoordinatesEmuTpsD[k] = 12 + 6 * k; // whole numbers: the points travel as they are
    for (int k = 0; k < kMapColumns; ++k)
        r.m_mapRpmCoordinatesEmu1[k] = 600 + 250 * k;
    return r;
}

// What a reader leaves in the destination after accepting a file of `written`: every value the
// file carries, the rest (identity, knock settings, m_minGasTempr) as the destination held it.
CDeviceConfig expectedImport(const CDeviceConfig& written, const CDeviceConfig& destination) {
    CDeviceConfig expected = written;
    expected.m_devInfo = destination.m_devInfo;
    expected.m_devInfo.m_deviceID = written.m_devInfo.m_deviceID;
    const SServiceSetup& kept = destination.m_serviceSetup;
    expected.m_serviceSetup.m_knockMaxSignal = kept.m_knockMaxSignal;
    expected.m_serviceSetup.m_knockFreq = kept.m_knockFreq;
    expected.m_serviceSetup.m_knockIntTime = kept.m_knockIntTime;
    expected.m_serviceSetup.m_knockGain = kept.m_knockGain;
    expected.m_tempomatSetup.m_minGasTempr = destination.m_tempomatSetup.m_minGasTempr;
    return expected;
}

std::vector<std::string> splitLines(const std::string& bytes, const std::string& lineEnd) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    for (std::size_t end; (end = bytes.find(lineEnd, start)) != std::string::npos;
         start = end + lineEnd.size())
        lines.push_back(bytes.substr(start, end - start));
    if (start < bytes.size())
        lines.push_back(bytes.substr(start));
    return lines;
}

std::string joinLines(const std::vector<std::string>& lines, const std::string& lineEnd = "\r\n") {
    std::string bytes;
    for (const std::string& line : lines)
        bytes += line + lineEnd;
    return bytes;
}

std::string keyOf(const std::string& line) {
    return line.substr(0, line.find('\t'));
}

// Key order of a complete file, spelled out independently of the writer.
std::vector<std::string> expectedKeyOrder() {
    std::vector<std::string> keys = {
        "m_timeStamp",
        "m_devInfo.m_version",
        "m_devInfo.m_injCount",
        "m_devInfo.m_serial",
        "m_devInfo.m_prodDate",
        "m_devInfo.m_flags1",
        "m_devInfo.m_flags2",
        "m_devInfo.m_deviceID",
        "m_devInfo.m_statistic.gas",
        "m_devInfo.m_statistic.lpg",
    };
    const auto group = [&](const std::string& prefix, std::initializer_list<const char*> names) {
        for (const char* name : names)
            keys.push_back(prefix + name);
    };
    group("m_base.", {"m_switchRPM",         "m_switchTempr",  "m_torvaDivider",
                      "m_switchPressure",    "m_switchDelay",  "m_flags",
                      "m_advancedFlags",     "m_pressureGain", "m_pressureRef",
                      "m_pressAverageCount", "m_temprRef",     "m_temprGain",
                      "m_temprBottom",       "m_temprUpper",   "m_minVCC",
                      "m_maxExhaustTemp",    "m_emuEnable[0]", "m_emuEnable[1]",
                      "m_emuEnable[2]",      "m_emuEnable[3]"});
    group("m_adv.", {"m_pwmOffset", "m_pwm", "m_injectorWarmingImpulse", "m_warmingTime",
                     "m_warmingUpperTempr", "m_injectorType", "m_injMounted", "m_flags"});
    group("m_sensorsSetup.", {"m_fuelFull", "m_fuelHgw", "m_fuelHalf", "m_fuelQuarter", "m_fuelRes",
                              "m_fuelType", "m_temprEngineSensor", "m_temprLPGSensor"});
    group("m_serviceSetup.",
          {"m_serviceInterval", "m_advancedFlags2", "m_tpsCutOff", "m_tpsJump", "m_tpsEmLimitDelay",
           "m_tpsEmLimitFlag", "m_maxRpm", "m_rpmTh", "m_tpsDigitEmuEnable", "m_mapCutOff",
           "m_crInjCutOffTime", "m_emuOffset[0]", "m_emuOffset[1]", "m_emuOffset[2]",
           "m_emuOffset[3]"});
    group("m_tempomatSetup.",
          {"m_rpmDetect", "m_turboDetect", "m_tpsAnalogDetect", "m_tpsDigitalDetect",
           "m_detectTime", "m_tempomatFlags", "m_tpsDigitCutOff", "m_camshaftTh", "m_injDelayAngle",
           "m_ignitionOrder", "m_vCppLitersToTank", "m_extExhaustTemprMask"});
    const auto map = [&](const std::string& name) {
        for (int r = 0; r < 16; ++r)
            for (int c = 0; c < 15; ++c)
                keys.push_back(name + "[" + std::to_string(r) + "][" + std::to_string(c) + "]");
    };
    const auto axis = [&](const std::string& name, int count) {
        for (int i = 0; i < count; ++i)
            keys.push_back(name + "[" + std::to_string(i) + "]");
    };
    for (const std::string channel : {"1", "2", "3", "4", "TpsD"}) {
        map("m_mapTimeEmu" + channel);
        map("m_mapEmu" + channel);
        axis("m_mapCoordinatesEmu" + channel, 16);
        if (channel == "1")
            axis("m_mapRpmCoordinatesEmu1", 15);
    }
    return keys;
}

class SettingsReadWrite : public ::testing::Test {
protected:
    SettingsReadWrite() : m_path(m_folder.file("car.dsettings")) {}

    // The lines of a complete file written from record.
    std::vector<std::string> writtenLines(const CDeviceConfig& record = fullRecord()) {
        EXPECT_TRUE(writeSettings(m_path, record));
        return splitLines(readBytes(m_path), "\r\n");
    }

    // Reads bytes into a factory image of liveType; the image when accepted.
    std::optional<CDeviceConfig> import(const std::string& bytes,
                                        std::uint8_t liveType = kDeviceType25) {
        writeBytes(m_path, bytes);
        CDeviceConfig destination(liveType);
        if (!readSettings(m_path, destination, liveType))
            return std::nullopt;
        return destination;
    }

    std::optional<CDeviceConfig> importLines(const std::vector<std::string>& lines,
                                             std::uint8_t liveType = kDeviceType25) {
        return import(joinLines(lines), liveType);
    }

    static std::vector<std::string> without(std::vector<std::string> lines,
                                            const std::function<bool(const std::string&)>& drop) {
        std::erase_if(lines, [&](const std::string& line) { return drop(keyOf(line)); });
        return lines;
    }

    static void setValue(std::vector<std::string>& lines, const std::string& key,
                         const std::string& value) {
        for (std::string& line : lines) {
            if (keyOf(line) == key)
                line = key + "\t" + value;
        }
    }

    CTempFolder m_folder;
    std::string m_path;
};

} // namespace

TEST_F(SettingsReadWrite, CompleteFileHasEveryKeyInOrderWithCrLf) {
    ASSERT_TRUE(writeSettings(m_path, fullRecord()));
    const std::string bytes = readBytes(m_path);
    const std::vector<std::string> lines = splitLines(bytes, "\r\n");
    ASSERT_EQ(lines.size(), 2568u);
    EXPECT_EQ(bytes.substr(bytes.size() - 2), "\r\n");
    EXPECT_EQ(std::count(bytes.begin(), bytes.end(), '\n'), 2568);
    EXPECT_EQ(std::count(bytes.begin(), bytes.end(), '\r'), 2568);
    const std::vector<std::string> keys = expectedKeyOrder();
    for (std::size_t i = 0; i < lines.size(); ++i) {
        ASSERT_EQ(std::count(lines[i].begin(), lines[i].end(), '\t'), 1) << lines[i];
        ASSERT_EQ(keyOf(lines[i]), keys[i]) << "line " << i + 1;
    }
}

TEST_F(SettingsReadWrite, WritesDisplayValuesInTheDefaultNumberFormat) {
    CDeviceConfig record = fullRecord();
    record.m_serviceSetup.m_serviceInterval = 4294967295u;
    record.m_devInfo.m_version = -2;
    record.m_serviceSetup.m_emuOffset[1] = 1234567;
    const std::vector<std::string> lines = writtenLines(record);
    const auto has = [&](const std::string& line) {
        return std::find(lines.begin(), lines.end(), line) != lines.end();
    };
    EXPECT_TRUE(has("m_timeStamp\t07-03-2014-15:04:09"));
    EXPECT_TRUE(has("m_devInfo.m_serial\tAB12-77"));
    EXPECT_TRUE(has("m_devInfo.m_version\t-2"));
    EXPECT_TRUE(has("m_base.m_switchRPM\t1500"));
    EXPECT_TRUE(has("m_base.m_temprGain\t0.7"));
    EXPECT_TRUE(has("m_base.m_temprBottom\t-10"));
    EXPECT_TRUE(has("m_base.m_advancedFlags\t90"));
    EXPECT_TRUE(has("m_serviceSetup.m_serviceInterval\t4294967295"));
    EXPECT_TRUE(has("m_serviceSetup.m_emuOffset[0]\t-0.645"));
    EXPECT_TRUE(has("m_serviceSetup.m_emuOffset[1]\t1.23457e+06"));
    EXPECT_TRUE(has("m_tempomatSetup.m_extExhaustTemprMask\t32769"));
    EXPECT_TRUE(has("m_mapEmu1[12][7]\t-71"));
}

TEST_F(SettingsReadWrite, RoundTripKeepsEveryValueTheFileCarries) {
    const CDeviceConfig original = fullRecord();
    const auto imported = importLines(writtenLines(original));
    ASSERT_TRUE(imported);
    EXPECT_TRUE(*imported == expectedImport(original, CDeviceConfig(kDeviceType25)));

    // Integer members keep every digit; fractions round to 6 significant digits.
    CDeviceConfig precise = original;
    precise.m_serviceSetup.m_serviceInterval = 4294967295u;
    precise.m_base.m_pressureGain = 1.2345678;
    const auto rounded = importLines(writtenLines(precise));
    ASSERT_TRUE(rounded);
    EXPECT_EQ(rounded->m_serviceSetup.m_serviceInterval, 4294967295u);
    EXPECT_EQ(rounded->m_base.m_pressureGain, 1.23457);
}

TEST_F(SettingsReadWrite, LineOrderAndLineEndsDoNotMatter) {
    std::vector<std::string> lines = writtenLines();
    const auto ordered = importLines(lines);
    ASSERT_TRUE(ordered);

    std::shuffle(lines.begin(), lines.end(), std::mt19937(2014));
    const auto shuffled = importLines(lines);
    ASSERT_TRUE(shuffled);
    EXPECT_TRUE(*shuffled == *ordered);

    const auto lfOnly = import(joinLines(lines, "\n"));
    ASSERT_TRUE(lfOnly);
    EXPECT_TRUE(*lfOnly == *ordered);
    EXPECT_EQ(lfOnly->m_timeStamp, "07-03-2014-15:04:09");
}

TEST_F(SettingsReadWrite, LastLineWithoutLineEndKeepsItsLastCharacter) {
    std::vector<std::string> lines = writtenLines();
    ASSERT_EQ(keyOf(lines.back()), "m_mapCoordinatesEmuTpsD[15]");
    lines.back() = "m_mapCoordinatesEmuTpsD[15]\t105";
    std::string bytes = joinLines(lines);
    bytes.resize(bytes.size() - 2);
    const auto imported = import(bytes);
    ASSERT_TRUE(imported);
    EXPECT_EQ(imported->m_mapCoordinatesEmuTpsD[15], 105);
}

TEST_F(SettingsReadWrite, OptionalGroupsKeepTheDestinationsValues) {
    const std::vector<std::string> lines = writtenLines();
    const CDeviceConfig factory(kDeviceType25);
    const auto startsWith = [](const std::string& prefix) {
        return [prefix](const std::string& key) { return key.starts_with(prefix); };
    };

    const auto noTpsD = importLines(without(
        lines, [](const std::string& key) { return key.find("TpsD[") != std::string::npos; }));
    ASSERT_TRUE(noTpsD);
    EXPECT_EQ(noTpsD->m_mapTimeEmuTpsD, factory.m_mapTimeEmuTpsD);
    EXPECT_EQ(noTpsD->m_mapEmuTpsD, factory.m_mapEmuTpsD);
    EXPECT_EQ(noTpsD->m_mapCoordinatesEmuTpsD, factory.m_mapCoordinatesEmuTpsD);
    EXPECT_EQ(noTpsD->m_mapEmu1, fullRecord().m_mapEmu1);

    const auto noTempomat = importLines(without(lines, startsWith("m_tempomatSetup.")));
    ASSERT_TRUE(noTempomat);
    EXPECT_EQ(noTempomat->m_tempomatSetup, factory.m_tempomatSetup);

    const auto oneServiceKey = importLines(without(lines, [](const std::string& key) {
        return key.starts_with("m_serviceSetup.") && key != "m_serviceSetup.m_emuOffset[2]";
    }));
    ASSERT_TRUE(oneServiceKey);
    SServiceSetup expected = factory.m_serviceSetup;
    expected.m_emuOffset[2] = 1.5;
    EXPECT_EQ(oneServiceKey->m_serviceSetup, expected);

    const auto noIdentity = importLines(without(lines, [](const std::string& key) {
        return key.starts_with("m_devInfo.") && key != "m_devInfo.m_deviceID";
    }));
    EXPECT_TRUE(noIdentity);
}

TEST_F(SettingsReadWrite, MissingMandatoryKeyRejectsTheFile) {
    const std::vector<std::string> lines = writtenLines();
    std::vector<std::string> mandatory = {"m_timeStamp", "m_devInfo.m_deviceID"};
    for (const std::string& line : lines) {
        const std::string key = keyOf(line);
        if (key.starts_with("m_base.") || key.starts_with("m_adv.") ||
            key.starts_with("m_sensorsSetup."))
            mandatory.push_back(key);
    }
    for (const std::string channel : {"1", "2", "3", "4"}) {
        for (const std::string map : {"m_mapTimeEmu", "m_mapEmu"}) {
            mandatory.push_back(map + channel + "[0][0]");
            mandatory.push_back(map + channel + "[15][14]");
        }
        mandatory.push_back("m_mapCoordinatesEmu" + channel + "[0]");
        mandatory.push_back("m_mapCoordinatesEmu" + channel + "[15]");
    }
    mandatory.push_back("m_mapRpmCoordinatesEmu1[0]");
    mandatory.push_back("m_mapRpmCoordinatesEmu1[14]");
    ASSERT_EQ(mandatory.size(), 2u + 20 + 8 + 8 + 4 * 6 + 2);

    for (const std::string& key : mandatory) {
        EXPECT_FALSE(importLines(without(lines, [&](const std::string& k) { return k == key; })))
            << key;
    }
}

TEST_F(SettingsReadWrite, EmptyValueCountsAsMissingEvenWhenRepeated) {
    std::vector<std::string> lines = writtenLines();
    setValue(lines, "m_base.m_switchRPM", "");
    lines.push_back("m_base.m_switchRPM\t1500");
    EXPECT_FALSE(importLines(lines));

    lines = writtenLines();
    setValue(lines, "m_serviceSetup.m_maxRpm", "");
    lines.push_back("m_serviceSetup.m_maxRpm\t4800");
    const auto imported = importLines(lines);
    ASSERT_TRUE(imported);
    EXPECT_EQ(imported->m_serviceSetup.m_maxRpm, 5000) << "factory value kept";
}

TEST_F(SettingsReadWrite, AdvancedGroupOnlyFromTheSameDeviceType) {
    const std::vector<std::string> lines = writtenLines(); // a type-25 file
    const auto intoType3 = importLines(lines, kDeviceType3);
    ASSERT_TRUE(intoType3);
    EXPECT_EQ(intoType3->m_adv, CDeviceConfig(kDeviceType3).m_adv);
    EXPECT_EQ(intoType3->m_base.m_minVCC, 10);
    EXPECT_EQ(intoType3->m_base.m_switchRPM, 1500);
    EXPECT_EQ(intoType3->m_devInfo.m_deviceID, kDeviceType25);

    EXPECT_TRUE(importLines(
        without(lines, [](const std::string& key) { return key.starts_with("m_adv."); }),
        kDeviceType3))
        << "a skipped group need not be present";

    // The supply-voltage limit follows the connected controller, not the file.
    std::vector<std::string> type3File = lines;
    setValue(type3File, "m_devInfo.m_deviceID", "3");
    setValue(type3File, "m_base.m_minVCC", "11.5");
    const auto intoType37 = importLines(type3File, kDeviceType37);
    ASSERT_TRUE(intoType37);
    EXPECT_EQ(intoType37->m_base.m_minVCC, 20);
    const auto intoType3Again = importLines(type3File, kDeviceType3);
    ASSERT_TRUE(intoType3Again);
    EXPECT_EQ(intoType3Again->m_base.m_minVCC, 10);
    EXPECT_EQ(intoType3Again->m_adv, fullRecord().m_adv);
}

TEST_F(SettingsReadWrite, DeviceTypeIsTruncatedAndChecked) {
    std::vector<std::string> lines = writtenLines();
    const auto withType = [&](const std::string& value) {
        std::vector<std::string> changed = lines;
        setValue(changed, "m_devInfo.m_deviceID", value);
        return importLines(changed, kDeviceType40);
    };
    EXPECT_FALSE(withType("24.9"));
    EXPECT_FALSE(withType("281")) << "25 + 256 must not wrap into an accepted type";
    EXPECT_FALSE(withType("-216"));
    EXPECT_FALSE(withType("abc"));
    const auto type40 = withType("40.99");
    ASSERT_TRUE(type40);
    EXPECT_EQ(type40->m_devInfo.m_deviceID, kDeviceType40);
    EXPECT_EQ(type40->m_adv, fullRecord().m_adv) << "same type: advanced group read";
}

TEST_F(SettingsReadWrite, UnparsableNumberReadsAsZero) {
    std::vector<std::string> lines = writtenLines();
    setValue(lines, "m_base.m_switchTempr", "warm");
    const auto imported = importLines(lines);
    ASSERT_TRUE(imported);
    EXPECT_EQ(imported->m_base.m_switchTempr, 0);
}

TEST_F(SettingsReadWrite, TextValuesCannotInjectLines) {
    CDeviceConfig record = fullRecord();
    record.m_devInfo.m_serial = "x\r\nm_base.m_switchRPM\t9999";
    const std::vector<std::string> lines = writtenLines(record);
    EXPECT_EQ(lines.size(), 2568u);
    const auto imported = importLines(lines);
    ASSERT_TRUE(imported);
    EXPECT_EQ(imported->m_base.m_switchRPM, 1500);
}

TEST_F(SettingsReadWrite, FailedWriteLeavesTheExistingFileIntact) {
    writeBytes(m_path, "the previous export");
    // Let the file system refuse everything beyond the first kilobyte of any file.
    const auto previousHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit previous{};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &previous), 0);
    rlimit small = previous;
    small.rlim_cur = 1024;
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
    const bool written = writeSettings(m_path, fullRecord());
    setrlimit(RLIMIT_FSIZE, &previous);
    std::signal(SIGXFSZ, previousHandler);

    EXPECT_FALSE(written);
    EXPECT_EQ(readBytes(m_path), "the previous export");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(m_folder.path()),
                            std::filesystem::directory_iterator()),
              1);
}

TEST_F(SettingsReadWrite, RefusalNamesTheLineTheKeyTheValueAndWhatTheFieldHolds) {
    const auto refusalFor = [&](const std::vector<std::string>& lines) {
        writeBytes(m_path, joinLines(lines));
        CDeviceConfig destination(kDeviceType25);
        std::string refusal;
        EXPECT_FALSE(readSettings(m_path, destination, kDeviceType25, &refusal));
        return refusal;
    };
    std::vector<std::string> lines = writtenLines();
    setValue(lines, "m_mapRpmCoordinatesEmu1[3]", "99999");
    EXPECT_EQ(refusalFor(lines), "wiersz 573: m_mapRpmCoordinatesEmu1[3]: 99999 nie mieści się w "
                                 "polu (od 0 do 25500)");

    lines = writtenLines();
    setValue(lines, "m_adv.m_injMounted", "-6"); // would have become 250 injectors
    EXPECT_EQ(refusalFor(lines),
              "wiersz 37: m_adv.m_injMounted: -6 nie mieści się w polu (od 0 do 255)");

    lines = writtenLines();
    setValue(lines, "m_mapCoordinatesEmu1[7]", "1e308"); // would land above its neighbour
    EXPECT_NE(refusalFor(lines).find("m_mapCoordinatesEmu1[7]: 1e+308"), std::string::npos);

    // What the load refuses before any value: the file's first line and a missing key.
    lines = writtenLines();
    lines.front() = "\xEF\xBB\xBF" + lines.front(); // a byte-order mark hides the time stamp
    EXPECT_EQ(refusalFor(lines), "brak klucza m_timeStamp");
    lines = writtenLines();
    setValue(lines, "m_timeStamp", std::string(600, '1'));
    EXPECT_EQ(refusalFor(lines), "wiersz 1 jest dłuższy niż 511 znaków");
    lines = writtenLines();
    setValue(lines, "m_devInfo.m_deviceID", "24.9");
    EXPECT_EQ(refusalFor(lines), "wiersz 8: nieznany typ sterownika 24.9");
}

TEST_F(SettingsReadWrite, OnlyARegularFileOfAFewMegabytesIsRead) {
    const auto refusalFor = [&](const std::string& path) {
        CDeviceConfig destination(kDeviceType25);
        std::string refusal;
        EXPECT_FALSE(readSettings(path, destination, kDeviceType25, &refusal)) << path;
        return refusal;
    };
    EXPECT_EQ(refusalFor(m_folder.path()), "to nie jest zwykły plik");
    EXPECT_EQ(refusalFor("/dev/zero"), "to nie jest zwykły plik");
    // Opening a FIFO without a writer would wait for one for ever.
    const std::string fifo = m_folder.file("pipe.dsettings");
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    EXPECT_EQ(refusalFor(fifo), "to nie jest zwykły plik");
    // A 200 MB file is refused before it is read (the file is sparse: it costs no disk).
    const std::string huge = m_folder.file("huge.dsettings");
    writeBytes(huge, "m_timeStamp\t");
    std::filesystem::resize_file(huge, 200u * 1024 * 1024);
    EXPECT_EQ(refusalFor(huge), "plik jest większy niż 4 MB");
    EXPECT_EQ(refusalFor(m_folder.file("absent.dsettings")), "No such file or directory");
}

TEST_F(SettingsReadWrite, ExportGoesToALinksTargetAndNeverReplacesAFifo) {
    const std::string target = m_folder.file("target.dsettings");
    writeBytes(target, "old");
    const std::string link = m_folder.file("link.dsettings");
    std::filesystem::create_symlink("target.dsettings", link);
    ASSERT_TRUE(writeSettings(link, fullRecord()));
    EXPECT_TRUE(std::filesystem::is_symlink(link));
    EXPECT_EQ(splitLines(readBytes(target), "\r\n").size(), 2568u);

    const std::string fifo = m_folder.file("pipe.dsettings");
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    std::string failure;
    EXPECT_FALSE(writeSettings(fifo, fullRecord(), &failure));
    EXPECT_EQ(failure, "not a regular file");
    EXPECT_TRUE(std::filesystem::is_fifo(fifo));
}

TEST_F(SettingsReadWrite, ValuesOfBlocksTheControllerLacksAreNeverWrittenSoNotChecked) {
    std::vector<std::string> lines = writtenLines();
    setValue(lines, "m_mapCoordinatesEmuTpsD[5]", "0"); // below the point before it
    EXPECT_FALSE(importLines(lines, kDeviceType25));
    EXPECT_TRUE(importLines(lines, kDeviceType3)) << "a 12-volt controller has no digital TPS";
}
