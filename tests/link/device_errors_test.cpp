#include "lang/cng_flag.h"
#include "lang/lang_file_writer.h"
#include "lang/translation.h"
#include "link/device_errors.h"

#include <gtest/gtest.h>

#include <unistd.h>

#include <array>
#include <filesystem>

using namespace torva;
using Texts = std::vector<std::string>;

TEST(DeviceErrors, StatusBytesDecodeInByteAndBitOrder) {
    const CDeviceErrorList list;
    EXPECT_EQ(list.decodeStatus(std::array<std::uint8_t, 4>{0x00, 0x00, 0x81, 0x00}),
              (Texts{"Brak sygnału RPM", "Błąd sygnału TPS DIGITAL"}));
    EXPECT_EQ(list.decodeStatus(std::array<std::uint8_t, 4>{}), Texts{});
    EXPECT_EQ(list.decodeStatus(std::array<std::uint8_t, 4>{0x0A, 0x80, 0x00, 0x20}),
              (Texts{"Błąd odczytu z pamięci EEPROM", "Błąd odczytu z pamięci EEPROM",
                     "Błąd wtryskiwacza LPG 8", "Błąd komunikacji CAN ECU2"}));
}

TEST(DeviceErrors, BitsWithoutTextAndUnknownModulesGetTextsOfTheirOwn) {
    const CDeviceErrorList list;
    EXPECT_EQ(list.decodeByte(7, 0x21), (Texts{"Nieznana komenda", "Nieznany kod błędu = 0x20"}));
    EXPECT_EQ(list.decodeByte(3, 0xC0),
              (Texts{"Nieznany kod błędu = 0x40", "Nieznany kod błędu = 0x80"}));
    EXPECT_EQ(list.decodeByte(8, 0x00), Texts{"Nieznany kod modułu"});
    EXPECT_EQ(list.decodeByte(0, 0x00), Texts{});
    EXPECT_EQ(list.moduleCount(), 8u);
    EXPECT_EQ(list.moduleName(4), "Zewnętrzne termopary");
    EXPECT_EQ(list.moduleName(6), "Knock Sensor");
}

TEST(DeviceErrors, ExtendedRecordDecodesOnlyModulesFourToSeven) {
    const CDeviceErrorList list;
    EXPECT_EQ(list.decodeExtended(std::array<std::uint8_t, 8>{0x01, 0x00, 0x80, 0x00, 0, 0, 0, 0}),
              (Texts{"Błąd - za wysoka temperatura spalin-termopara 1", "Błąd - knock 8"}));
    EXPECT_EQ(list.decodeExtended(
                  std::array<std::uint8_t, 8>{0x00, 0x80, 0x00, 0x01, 0xFF, 0xFF, 0xFF, 0xFF}),
              (Texts{"Błąd - za wysoka temperatura spalin-termopara 16", "Nieznana komenda"}));
}

TEST(DeviceErrors, TextsFollowLanguageChangesAndTheCngFlag) {
    namespace fs = std::filesystem;
    const fs::path folder =
        fs::temp_directory_path() / ("torva-device-errors-" + std::to_string(::getpid()));
    fs::create_directories(folder);
    writeLanguageFile((folder / "ENGLISH.txt").string(),
                      "Brak sygnału RPM\t\tNo RPM signal\n"
                      "Błąd - knock\t\tKnock error\n"
                      "Błąd wtryskiwacza LPG 1\t\tLPG injector 1 error\n"
                      "Nieznany kod błędu\t\tUnknown error code\n");
    openLanguageFiles(folder.string());

    const CDeviceErrorList list;
    setCngInstallation(true);
    selectLanguage(1); // the list rebuilds itself
    EXPECT_EQ(list.decodeByte(2, 0x01), Texts{"No RPM signal"});
    EXPECT_EQ(list.decodeByte(6, 0x04), Texts{"Knock error 3"});
    EXPECT_EQ(list.decodeByte(1, 0x01), Texts{"CNG injector 1 error"});
    EXPECT_EQ(list.decodeByte(3, 0x80), Texts{"Unknown error code = 0x80"});
    setCngInstallation(false);

    selectLanguage(0);
    EXPECT_EQ(list.decodeByte(2, 0x01), Texts{"Brak sygnału RPM"});

    openLanguageFiles((folder / "none").string());
    fs::remove_all(folder);
}
