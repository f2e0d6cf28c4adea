#include "config/settings_file.h"
#include "config/settings_number.h"
#include "settings_test_files.h"

#include <gtest/gtest.h>

#include <clocale>
#include <cmath>
#include <iostream>
#include <limits>
#include <locale>
#include <random>
#include <sstream>

using namespace torva;
using torva::test::CTempFolder;
using torva::test::readBytes;
using torva::test::writeBytes;

namespace {

// A C++ global locale with a decimal comma, as a German user's would be.
struct SCommaDecimal : std::numpunct<char> {
    char do_decimal_point() const override { return ','; }
};

class CGlobalLocaleGuard {
public:
    CGlobalLocaleGuard()
        : m_previous(std::locale::global(std::locale(std::locale::classic(), new SCommaDecimal))) {
        // A German C locale as well, where the machine has one.
        m_hasGermanCLocale = std::setlocale(LC_NUMERIC, "de_DE.UTF-8") != nullptr;
    }
    ~CGlobalLocaleGuard() {
        std::locale::global(m_previous);
        std::setlocale(LC_NUMERIC, "C");
    }
    bool hasGermanCLocale() const { return m_hasGermanCLocale; }

private:
    std::locale m_previous;
    bool m_hasGermanCLocale = false;
};

class SettingsFileRead : public ::testing::Test {
protected:
    // Writes bytes to a file and opens it for reading.
    CSettingsFile& openWith(const std::string& bytes) {
        const std::string path = m_folder.file("in.dsettings");
        writeBytes(path, bytes);
        EXPECT_TRUE(m_file.open(path));
        return m_file;
    }

    CTempFolder m_folder;
    CSettingsFile m_file;
};

} // namespace

// The random comparison below covers ordinary values; these are the format's turning points.
TEST(SettingsNumber, WritesLikeADefaultStream) {
    EXPECT_EQ(formatSettingsNumber(0), "0");
    EXPECT_EQ(formatSettingsNumber(123456), "123456");
    EXPECT_EQ(formatSettingsNumber(1234567), "1.23457e+06");
    EXPECT_EQ(formatSettingsNumber(0.00001), "1e-05");
    EXPECT_EQ(formatSettingsNumber(64 * 0.003226 * 4.636), "0.957167");
}

TEST(SettingsNumber, MatchesTheWideStreamInserter) {
    std::mt19937_64 random(7);
    std::uniform_real_distribution<double> mantissa(-10, 10);
    std::uniform_int_distribution<int> exponent(-12, 12);
    for (int i = 0; i < 20000; ++i) {
        const double value = mantissa(random) * std::pow(10.0, exponent(random));
        std::wostringstream stream;
        stream.imbue(std::locale::classic());
        stream << value;
        const std::wstring wide = stream.str();
        ASSERT_EQ(formatSettingsNumber(value), std::string(wide.begin(), wide.end())) << value;
    }
}

TEST(SettingsNumber, ReadsLikeStrtodInTheCLocale) {
    EXPECT_EQ(parseSettingsNumber("12.5"), 12.5);
    EXPECT_EQ(parseSettingsNumber("1.23457e+06"), 1234570);
    EXPECT_EQ(parseSettingsNumber("-0.3"), -0.3);
    EXPECT_EQ(parseSettingsNumber("  7"), 7);
    EXPECT_EQ(parseSettingsNumber("85abc"), 85);
    EXPECT_EQ(parseSettingsNumber("abc"), 0);
    EXPECT_EQ(parseSettingsNumber(""), 0);
    EXPECT_EQ(parseSettingsNumber("0,3"), 0);
}

TEST(SettingsNumber, IgnoresTheUsersLocale) {
    CGlobalLocaleGuard german;
    EXPECT_EQ(formatSettingsNumber(0.3), "0.3");
    EXPECT_EQ(parseSettingsNumber("0.3"), 0.3);
    if (!german.hasGermanCLocale())
        std::cout << "no German C locale installed: checked under the C++ global locale only\n";
}

TEST(SettingsNumber, IntegerMembersTruncateAndWrap) {
    EXPECT_EQ(truncateToField<std::uint8_t>(24.9), 24);
    EXPECT_EQ(truncateToField<std::uint8_t>(-0.9), 0);
    EXPECT_EQ(truncateToField<std::uint8_t>(-1), 255);
    EXPECT_EQ(truncateToField<std::uint8_t>(300), 44);
    EXPECT_EQ(truncateToField<std::uint16_t>(65535.7), 65535);
    EXPECT_EQ(truncateToField<std::uint32_t>(4294967295.0), 4294967295u);
    EXPECT_EQ(truncateToField<std::uint8_t>(std::nan("")), 0);
    EXPECT_EQ(truncateToInteger(1e300), std::numeric_limits<std::int64_t>::max());
    EXPECT_EQ(truncateToInteger(-1e300), std::numeric_limits<std::int64_t>::min());
}

TEST_F(SettingsFileRead, FirstLineOfAKeyDecides) {
    const auto& file = openWith("a\t1\r\nb\t\r\na\t2\r\nb\t3\r\nno tab here\r\nc\t 4 \r\n");
    EXPECT_EQ(file.find("a"), "1");
    EXPECT_EQ(file.find("b"), std::nullopt) << "an empty first line hides later ones";
    EXPECT_EQ(file.find("c"), " 4 ");
    EXPECT_EQ(file.find("A"), std::nullopt);
    EXPECT_EQ(file.find("no tab here"), std::nullopt);
    EXPECT_EQ(file.findNumber("c"), 4);
    EXPECT_EQ(file.findNumber("b"), std::nullopt);
}

TEST_F(SettingsFileRead, LineEndsNeverReachValues) {
    for (const std::string lineEnd : {"\r\n", "\n", "\r"}) {
        const auto& file = openWith("a\t1" + lineEnd + "b\tx\ty" + lineEnd + "c\t85");
        EXPECT_EQ(file.find("a"), "1");
        EXPECT_EQ(file.find("b"), "x\ty");
        EXPECT_EQ(file.find("c"), "85") << "last line without a line end keeps its last digit";
    }
}

TEST_F(SettingsFileRead, OverlongLineMakesItsKeyMissing) {
    const std::string longValue(CSettingsFile::kMaxLineLength, '7');
    const auto& file = openWith("long\t" + longValue + "\tinner\t5\r\nlong\t1\r\ninner\t6\r\n" +
                                "fits\t" + longValue.substr(0, 506) + "\r\n");
    EXPECT_EQ(file.find("long"), std::nullopt);
    EXPECT_EQ(file.find("inner"), "6") << "the tail of a long line is not a line of its own";
    EXPECT_EQ(file.find("fits"), longValue.substr(0, 506));
}

TEST_F(SettingsFileRead, SurvivesHostileBytes) {
    std::string bytes = "\xff\xfe\x80\tgarbage\r\n";
    const char nulLine[] = "nul\t12\0"
                           "34\r\n";
    bytes += std::string(nulLine, sizeof nulLine - 1);
    bytes += std::string(1024 * 1024, 'x'); // one huge line without a tab
    bytes += "\r\nafter\t\xc3\xa9\r\n";
    const auto& file = openWith(bytes);
    EXPECT_EQ(file.find("\xff\xfe\x80"), "garbage");
    EXPECT_EQ(file.findNumber("nul"), 12);
    EXPECT_EQ(file.find("after"), "\xc3\xa9");
}

TEST_F(SettingsFileRead, MissingFileOrFolderDoesNotOpen) {
    EXPECT_FALSE(m_file.open(m_folder.file("absent.dsettings")));
    EXPECT_FALSE(m_file.open(m_folder.path()));
}

TEST(SettingsFileWrite, WritesCrLfLinesAndKeepsValuesOnOneLine) {
    CTempFolder folder;
    const std::string path = folder.file("out.dsettings");
    CSettingsFile file;
    ASSERT_TRUE(file.create(path));
    EXPECT_TRUE(file.writeText("text", "a\r\nb\nc"));
    EXPECT_TRUE(file.writeNumber("number", 0.3));
    ASSERT_TRUE(file.commit());
    EXPECT_EQ(readBytes(path), "text\ta  b c\r\nnumber\t0.3\r\n");
}

TEST(SettingsFileWrite, UncommittedWriteLeavesTheTargetAlone) {
    CTempFolder folder;
    const std::string path = folder.file("out.dsettings");
    writeBytes(path, "old");
    {
        CSettingsFile file;
        ASSERT_TRUE(file.create(path));
        file.writeText("new", "1");
    }
    EXPECT_EQ(readBytes(path), "old");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder.path()),
                            std::filesystem::directory_iterator()),
              1)
        << "no temporary file is left behind";
}

TEST(SettingsFileWrite, CannotCreateInAMissingFolder) {
    CTempFolder folder;
    CSettingsFile file;
    EXPECT_FALSE(file.create(folder.file("missing/out.dsettings")));
    EXPECT_FALSE(file.writeText("a", "1"));
    EXPECT_FALSE(file.commit());
}
