// Rules of the main window that need no window: page list, caption, sizes, options, filters.
#include "config/device_config.h"
#include "lang/languages.h"
#include "lang/translation.h"
#include "ui/shell/app_options.h"
#include "ui/shell/caption_text.h"
#include "ui/shell/file_filter.h"
#include "ui/shell/page_list.h"
#include "ui/shell/window_rules.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace torva {
namespace {

std::vector<std::string> titles(const CDeviceConfig& config) {
    std::vector<std::string> result;
    for (const SPageEntry& entry : pageList(config)) {
        result.emplace_back(entry.title);
    }
    return result;
}

CDeviceConfig allMapsConfig() {
    CDeviceConfig config;
    config.m_devInfo.m_deviceID = 25;
    config.m_base.m_emuEnable = {1, 1, 1, 1};
    config.m_serviceSetup.m_advancedFlags2 = 0x10;
    config.m_serviceSetup.m_tpsDigitEmuEnable = 1;
    return config;
}

TEST(PageList, EveryMapPageInTableOrder) {
    EXPECT_EQ(
        titles(allMapsConfig()),
        (std::vector<std::string>{"Ustawienia", "Mapa Map Sensor", "Mapa MAF", "Mapa TPS 1",
                                  "Mapa TPS 2", "Mapa TPS cyfr.", "Zabezpieczenia", "Dane ECU"}));
}

TEST(PageList, MapSensorOnlyBitDropsPagesThreeToSix) {
    CDeviceConfig config = allMapsConfig();
    config.m_serviceSetup.m_advancedFlags2 |= 0x80;
    config.m_tempomatSetup.m_tempomatFlags = 0x01;
    EXPECT_EQ(titles(config), (std::vector<std::string>{"Ustawienia", "Mapa Map Sensor",
                                                        "Zabezpieczenia", "Dane ECU"}));
    // The bit alone brings the first map page even with its channel off.
    config.m_base.m_emuEnable = {0, 0, 0, 0};
    EXPECT_EQ(titles(config).at(1), "Mapa Map Sensor");
}

TEST(PageList, NoEmulatorNoTempomatNoDigitalTps) {
    CDeviceConfig config;
    config.m_base.m_emuEnable = {0, 0, 0, 0};
    EXPECT_EQ(titles(config),
              (std::vector<std::string>{"Ustawienia", "Zabezpieczenia", "Dane ECU"}));
}

TEST(PageList, PageConditions) {
    CDeviceConfig config;
    config.m_base.m_emuEnable = {0, 0, 0, 0};
    config.m_tempomatSetup.m_tempomatFlags = 0x01; // the tempomat brings page 3 under its name
    EXPECT_EQ(titles(config).at(1), "Mapa Tempomat");

    config = allMapsConfig();
    config.m_base.m_flags = 0x10;     // second TPS correlated: no map of its own
    config.m_devInfo.m_deviceID = 40; // no digital TPS maps on this type
    EXPECT_EQ(titles(config),
              (std::vector<std::string>{"Ustawienia", "Mapa Map Sensor", "Mapa MAF", "Mapa TPS 1",
                                        "Zabezpieczenia", "Dane ECU"}));
    config = allMapsConfig();
    config.m_serviceSetup.m_tpsDigitEmuEnable = 0;
    EXPECT_EQ(titles(config).size(), 7u);
}

TEST(CaptionText, VersionsFamilyStateAndDemo) {
    EXPECT_EQ(firmwareVersionText(0x012F), "v 1.47");
    EXPECT_EQ(firmwareVersionText(0x0105), "v 1.5");
    EXPECT_EQ(firmwareVersionText(0x0100), "v 1.0");

    selectLanguage(kPolishLanguage);
    CDeviceConfig config;
    config.m_devInfo.m_deviceID = 3;
    config.m_devInfo.m_version = 0x0105;
    EXPECT_EQ(captionText(config, false, false),
              "TORVA  KT1  v 1.44   firmware: v 1.5     BRAK POŁĄCZENIA");
    config.m_devInfo.m_deviceID = 37;
    config.m_devInfo.m_version = 0x012F;
    EXPECT_EQ(captionText(config, true, true),
              "TORVA  KT2  v 1.44   firmware: v 1.47     POŁĄCZONY DEMO");
}

TEST(WindowRules, MinimumSizeAndShares) {
    EXPECT_EQ(enforceMinimumFrameSize(QSize(700, 400)), QSize(800, 530));
    EXPECT_EQ(enforceMinimumFrameSize(QSize(760, 530)), QSize(760, 530));
    EXPECT_EQ(enforceMinimumFrameSize(QSize(759, 900)), QSize(800, 900));
    EXPECT_EQ(enforceMinimumFrameSize(QSize(1280, 529)), QSize(1280, 530));
    EXPECT_EQ(normalFrameSize(QSize(1920, 1050)), QSize(1280, 800));
    EXPECT_EQ(normalFrameSize(QSize(1024, 740)), QSize(1024, 740));
    EXPECT_EQ(normalFrameSize(QSize(640, 480)), kMinimumFrameSize);
    EXPECT_EQ(topPaneHeight(800), 160);
    EXPECT_EQ(captionFontPixelSize(QSize(1280, 800)), 16);  // √1024000 / 60 = 16.9
    EXPECT_EQ(mainViewFontPixelSize(QSize(1280, 600)), 16); // √768000 / 53 = 16.5
    EXPECT_EQ(readingsFontPixelSize(QSize(1280, 130)), 10); // √166400 / 40 = 10.2
}

TEST(AppOptions, Parsing) {
    auto parsed = parseAppOptions({"--port", "/dev/ttyUSB0", "car.lpg"});
    ASSERT_TRUE(parsed.options);
    EXPECT_EQ(parsed.options->port, "/dev/ttyUSB0");
    EXPECT_EQ(parsed.options->documentFile, "car.lpg");
    EXPECT_FALSE(parsed.options->demo);

    parsed = parseAppOptions({"--port=/tmp/ttyTORVA"});
    ASSERT_TRUE(parsed.options);
    EXPECT_EQ(parsed.options->port, "/tmp/ttyTORVA");

    EXPECT_TRUE(parseAppOptions({"--simulate"}).options->simulate);
    EXPECT_FALSE(parseAppOptions({"--port"}).options);
    EXPECT_FALSE(parseAppOptions({"--demo", "--simulate"}).options);
    EXPECT_FALSE(parseAppOptions({"--colour"}).options);
    EXPECT_FALSE(parseAppOptions({"a.lpg", "b.lpg"}).options);
    EXPECT_EQ(parseAppOptions({"--", "--demo"}).options->documentFile, "--demo");
}

TEST(FileFilter, WindowsStyleToDialogFilter) {
    EXPECT_EQ(toDialogFilter("Settings file (*.dsettings)|*.dsettings|"),
              "Settings file (*.dsettings)");
    EXPECT_EQ(toDialogFilter("Firmware files|*.afm;*.bin|All|*.*|"),
              "Firmware files (*.afm *.bin);;All (*.*)");
    EXPECT_EQ(toDialogFilter("Pliki ustawień (*.dsettings)"), "Pliki ustawień (*.dsettings)");
    EXPECT_EQ(toDialogFilter("Wszystkie pliki"), "Wszystkie pliki (*)");
    EXPECT_EQ(toDialogFilter(""), "");
}

} // namespace
} // namespace torva
