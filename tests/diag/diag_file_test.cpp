#include "config/device_config.h"
#include "diag/diag_file.h"
#include "diag/diag_file_reader.h"
#include "support/fake_clock.h"
#include "support/temp_folder.h"

#include <gtest/gtest.h>

#include <bit>
#include <charconv>
#include <clocale>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

using namespace torva;
using test::CTempFolder;

namespace {

std::string contentOf(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// The demo reading with a common-rail time of one count and both temperature table ends.
DiagSample referenceSample() {
    return DiagSample{
        .m_rpmPeriod = 11000,
        .m_fuelMode = 2,
        .m_switchState = 1,
        .m_temprEngineRaw = 0,
        .m_temprLPGRaw = 255,
        .m_vccRaw = 122,
        .m_fuelLevelRaw = 12,
        .m_pressureRaw = 112,
        .m_vacuumRaw = 50,
        .m_signal = {200, 201, 300, 301, 700, 701, 800, 801},
        .m_exhaustTempr = 400,
        .m_statusFlags = 1,
        .m_crInjTime = 1,
        .m_auxRpmPeriod = 15000,
        .m_gasInjTime = 1400,
        .m_ext = {2500, 500, 200, 200, 2500, 2000, 800, 800},
        .m_seq = 42,
    };
}

CDeviceConfig referenceConfig() {
    CDeviceConfig config;
    config.m_devInfo.m_version = 0x0105;
    config.m_devInfo.m_deviceID = 3;
    config.m_sensorsSetup.m_temprEngineSensor = 3;
    config.m_sensorsSetup.m_temprLPGSensor = 0;
    config.m_base.m_advancedFlags = 0x10; // absolute vacuum
    return config;
}

const std::string kReferenceLine =
    "2\t1\t1\t1364\t2.80\t100\t84\t-36\t255\t14.35\t2.99\t3.01\t4.49\t"
    "4.50\t10.47\t10.48\t11.96\t11.98\t400\t0.01\t5.00\t1.00\t20.0\t"
    "20.0\t5.00\t4.00\t80.0\t80.0\n";

} // namespace

TEST(DiagFileLine, IsThePrintfLineOfTheConvertedValues) {
    EXPECT_EQ(formatDiagLine(referenceSample(), referenceConfig()), kReferenceLine);
}

TEST(DiagFileLine, UsesTheSecondPeriodWithTheTempomatFlagAndDecodedMode) {
    CDeviceConfig config = referenceConfig();
    config.m_tempomatSetup.m_tempomatFlags = 0x02;
    DiagSample sample = referenceSample();
    sample.m_fuelMode = 3; // as the read stores mode 5
    const std::string line = formatDiagLine(sample, config);
    EXPECT_EQ(line.substr(0, 10), "3\t1\t1\t1000");
}

TEST(DiagFileLine, DoesNotFollowTheProcessLocale) {
    const char* previous = std::setlocale(LC_NUMERIC, nullptr);
    const std::string saved = previous ? previous : "C";
    bool switched = false;
    for (const char* name : {"pl_PL.UTF-8", "de_DE.UTF-8", "fr_FR.UTF-8"})
        switched = switched || std::setlocale(LC_NUMERIC, name) != nullptr;
    const std::string line = formatDiagLine(referenceSample(), referenceConfig());
    const auto records = parseDiagRecords(line);
    std::setlocale(LC_NUMERIC, saved.c_str());
    if (!switched)
        GTEST_SKIP() << "no locale with a decimal comma installed";
    EXPECT_EQ(line, kReferenceLine);
    ASSERT_EQ(records.size(), 1u);
    EXPECT_EQ(records[0][recordIndexOfColumn(10)], 14.35);
}

TEST(DiagFile, RecordsLinesAndForgetsTheNameWhenClosed) {
    CTempFolder folder;
    const std::string path = folder.file("drive.oscd");
    CDiagFile file;
    ASSERT_TRUE(file.open(path));
    EXPECT_EQ(file.fileName(), path);
    file.appendLine(referenceSample(), referenceConfig());
    file.appendLine(referenceSample(), referenceConfig());
    file.close();
    EXPECT_FALSE(file.isOpen());
    EXPECT_TRUE(file.fileName().empty());
    EXPECT_EQ(contentOf(path), kReferenceLine + kReferenceLine);
}

TEST(DiagFile, NamesThatCannotBeCreatedLeaveNoRecording) {
    CTempFolder folder;
    const auto cwd = std::filesystem::current_path();
    std::filesystem::current_path(folder.path());
    CDiagFile file;
    // The name polling starts with when the window opens: a folder, not a file.
    EXPECT_FALSE(file.open("\\"));
    EXPECT_FALSE(file.open(""));
    EXPECT_FALSE(file.open(folder.file("missing/drive.oscd")));
    std::filesystem::current_path(cwd);
    EXPECT_FALSE(file.isOpen());
    EXPECT_TRUE(file.fileName().empty());
    file.appendLine(referenceSample(), referenceConfig()); // harmless without a file
    EXPECT_TRUE(std::filesystem::is_empty(folder.path()));
}

TEST(DiagFile, ExtensionMustBeExactlyLowerCaseOscd) {
    EXPECT_TRUE(hasRecordingExtension("/home/u/Diag/drive.oscd"));
    EXPECT_TRUE(hasRecordingExtension("oscd"));
    EXPECT_TRUE(hasRecordingExtension("/home/u/Diag/drive.OSCD"));
    EXPECT_EQ(withRecordingExtension("/d/drive.OScd"), "/d/drive.OScd");
    EXPECT_EQ(withRecordingExtension("/d/trip"), "/d/trip.oscd");
    EXPECT_FALSE(hasRecordingExtension("drive.oscd "));
    EXPECT_FALSE(hasRecordingExtension("scd"));
    EXPECT_FALSE(hasRecordingExtension(""));
}

TEST(DiagFileReader, ReordersTheStatusColumnBehindTheExhaustTemperature) {
    std::string line;
    for (int column = 1; column <= kDiagColumns; ++column)
        line += std::to_string(column * 10) + (column < kDiagColumns ? "\t" : "\r\n");
    const auto records = parseDiagRecords(line);
    ASSERT_EQ(records.size(), 1u);
    const DiagRecord expected{10,  20,  40,  50,  60, 70,  80,  90,  100, 110, 120, 130, 140, 150,
                              160, 170, 180, 190, 30, 200, 210, 220, 230, 240, 250, 260, 270, 280};
    EXPECT_EQ(records[0], expected);
}

TEST(DiagFileReader, TakesAnyWhitespaceAndDropsAPartialRecord) {
    CTempFolder folder;
    const std::string path = folder.file("drive.oscd");
    std::string text = kReferenceLine;
    text += "3 1 0 900 1.5 100 84 -36 255 14.35\n2.99 3.01 4.49 4.50 10.47 10.48 11.96 11.98 "
            "400 0.01 5.00 1.00 20.0 20.0 5.00 4.00 80.0 80.0\r\n";
    text += "2\t1\t1\t1364\t2.80\t100\t84\t-36\t255\t14.35\t2.99\t3.01\t4.49\t4.50\t10.47\t10.48"
            "\t11.96\t11.98\t400\t0.01\t5.00\t1.00\t20.0\t20.0\t5.00\t4.00\t80.0\n"; // 27 numbers
    std::ofstream(path, std::ios::binary) << text;

    const auto records = readDiagFile(path);
    ASSERT_EQ(records.size(), 2u);
    EXPECT_EQ(records[0][recordIndexOfColumn(9)], 255.0);
    EXPECT_EQ(records[0][recordIndexOfColumn(20)], 0.01);
    EXPECT_EQ(records[1][recordIndexOfColumn(1)], 3.0);
    EXPECT_EQ(records[1][recordIndexOfColumn(3)], 0.0);
    EXPECT_EQ(records[1][recordIndexOfColumn(4)], 900.0);
    EXPECT_EQ(records[1][recordIndexOfColumn(28)], 80.0);
}

TEST(DiagFile, LinesReachTheDiskOnceASecondHasPassed) {
    test::CFakeClock clock;
    CTempFolder folder;
    const std::string path = folder.file("drive.oscd");
    CDiagFile file;
    ASSERT_TRUE(file.open(path));
    file.appendLine(referenceSample(), referenceConfig());
    clock.advance(CDiagFile::kFlushIntervalMs - 1);
    file.appendLine(referenceSample(), referenceConfig());
    EXPECT_EQ(contentOf(path), ""); // still buffered
    clock.advance(1);
    file.appendLine(referenceSample(), referenceConfig());
    EXPECT_EQ(contentOf(path), kReferenceLine + kReferenceLine + kReferenceLine);
    file.appendLine(referenceSample(), referenceConfig());
    EXPECT_EQ(contentOf(path).size(), 3 * kReferenceLine.size());
}

TEST(DiagFileReader, BadInputKeepsTheRecordsBeforeTheFirstBadNumber) {
    const std::string one = kReferenceLine;
    const std::string cut = one.substr(0, one.size() / 2);
    EXPECT_EQ(parseDiagRecords(one + cut).size(), 1u);
    EXPECT_EQ(parseDiagRecords(one + cut + "\n" + one).size(), 2u); // structure is not checked
    EXPECT_EQ(parseDiagRecords(one + "1e999 " + one).size(), 1u);
    EXPECT_EQ(parseDiagRecords(one + std::string(400, '9') + " " + one).size(), 1u);
    EXPECT_EQ(parseDiagRecords(one + "nan " + one).size(), 1u);
    EXPECT_EQ(parseDiagRecords(one + "-inf " + one).size(), 1u);
    EXPECT_EQ(parseDiagRecords(one + "+ " + one).size(), 1u);
    EXPECT_EQ(parseDiagRecords(one + one.substr(0, 6) + "abc" + one).size(), 1u);
    EXPECT_TRUE(parseDiagRecords("").empty());
    EXPECT_TRUE(readDiagFile("/nonexistent/folder/drive.oscd").empty());

    std::string binary = one;
    for (int i = 0; i < 4096; ++i)
        binary += static_cast<char>((i * 131 + 7) % 256);
    binary += one;
    EXPECT_EQ(parseDiagRecords(binary).size(), 1u);
    EXPECT_TRUE(parseDiagRecords(std::string(1000, '\0')).empty());
}

// The reader takes the plain decimals recordings hold by a quicker road than from_chars; every
// token must still read as from_chars reads it, bit for bit, and end where it ends.
TEST(DiagFileReader, ReadsEveryTokenAsFromCharsDoes) {
    std::vector<std::string> tokens;
    std::istringstream edges(
        "0 -0 -0.00 0.1 2.80 -36 1. -.5 .25 007.50 1e2 1.5E-1 +2.5 1e 4.9e-324 "
        "123456789012345 1234567890123456 9007199254740993 "
        "0.30000000000000004 99999999999999.9 1234.5678901234");
    for (std::string token; edges >> token;)
        tokens.push_back(token);
    std::uint32_t seed = 12345;
    const auto random = [&seed](std::uint32_t below) {
        seed = seed * 1664525u + 1013904223u;
        return (seed >> 8) % below;
    };
    for (int i = 0; i < 20000; ++i) {
        std::string token = random(4) == 0 ? "-" : "";
        const std::uint32_t whole = 1 + random(9);
        for (std::uint32_t d = 0; d < whole; ++d)
            token += static_cast<char>('0' + random(10));
        if (random(3) != 0) {
            token += '.';
            const std::uint32_t decimals = random(10);
            for (std::uint32_t d = 0; d < decimals; ++d)
                token += static_cast<char>('0' + random(10));
        }
        tokens.push_back(token);
    }
    for (const std::string& token : tokens) {
        std::string text;
        for (int column = 0; column < kDiagColumns; ++column)
            text += token + "\t";
        const std::string plain = token.front() == '+' ? token.substr(1) : token;
        double expected = 0;
        const auto [end, error] =
            std::from_chars(plain.data(), plain.data() + plain.size(), expected);
        const auto records = parseDiagRecords(text);
        if (error != std::errc{} || end != plain.data() + plain.size()) {
            // Read only in part: the rest of the token is no number, so no record.
            EXPECT_TRUE(records.empty()) << token;
            continue;
        }
        ASSERT_EQ(records.size(), 1u) << token;
        for (const double value : records[0])
            ASSERT_EQ(std::bit_cast<std::uint64_t>(value), std::bit_cast<std::uint64_t>(expected))
                << token;
    }
}
