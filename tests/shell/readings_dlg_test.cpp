// The readings page: refresh from known samples, and the mode buttons against the simulator.
#include "fixture/sim_fixture.h"
#include "support/fake_clock.h"
#include "support/recording_ui.h"
#include "support/responding_serial.h"

#include "lang/cng_flag.h"
#include "lang/languages.h"
#include "lang/translation.h"
#include "link/device_errors.h"
#include "link/lpg_device.h"
#include "link/serial_settings.h"
#include "ui/controls/transparent_bar_display.h"
#include "ui/pages/devdata/dev_data_dlg.h"
#include "ui/pages/egt/egt_dlg.h"
#include "ui/pages/readings/console.h"
#include "ui/pages/readings/readings_dlg.h"
#include "ui/shell/qt_user_interface.h"

#include <QApplication>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>

#include <atomic>
#include <chrono>
#include <optional>
#include <thread>

#include <gtest/gtest.h>

namespace torva {
namespace {

DiagSample demoLikeSample() {
    DiagSample sample{};
    sample.m_rpmPeriod = 7500;
    sample.m_auxRpmPeriod = 10000;
    sample.m_fuelMode = kFuelModeDiesel;
    sample.m_exhaustTempr = 420;
    sample.m_crInjTime = 100;
    sample.m_fuelLevelRaw = 200;
    sample.m_seq = 1;
    return sample;
}

class ReadingsRefresh : public ::testing::Test {
protected:
    ReadingsRefresh() : m_page(m_device, &m_decoders) {
        m_device.setDemo(true);
        m_device.setConnected(true);
        m_device.config().m_devInfo.m_version = 0x12F;
        m_device.config().m_devInfo.m_deviceID = 25;
    }

    void push(const DiagSample& sample) { m_device.diagData().push(sample); }

    CLPGDevice m_device;
    CDeviceErrorList m_decoders;
    CReadingsDlg m_page;
};

TEST_F(ReadingsRefresh, NothingWithoutConnectionOrSample) {
    m_page.refresh();
    EXPECT_EQ(m_page.gauge(0)->value(), 0);
    push(demoLikeSample());
    m_device.setConnected(false);
    m_page.refresh();
    EXPECT_EQ(m_page.gauge(0)->value(), 0);
}

TEST_F(ReadingsRefresh, GaugesCaptionsAndLabels) {
    m_device.config().m_tempomatSetup.m_tempomatFlags = 0x80;
    push(demoLikeSample());
    m_page.refresh();
    EXPECT_DOUBLE_EQ(m_page.gauge(0)->value(), 2000);
    EXPECT_DOUBLE_EQ(m_page.gauge(1)->value(), 1500);
    EXPECT_EQ(m_page.gauge(1)->caption(), "Obroty z CR");
    EXPECT_DOUBLE_EQ(m_page.gauge(2)->value(), 0.8);
    EXPECT_EQ(m_page.gauge(10)->value(), 420);
    EXPECT_TRUE(m_page.gauge(13)->format().endsWith(" L/h")) << "instant consumption per hour";
    // The first sample is diesel: the label already says so and is not rewritten.
    EXPECT_EQ(m_page.modeLabel()->text(), "DIESEL");
    EXPECT_EQ(m_page.modeLabelWrites(), 0);

    // 0x22 wins over 0x80: the caption goes back, the injector time goes.
    m_device.config().m_tempomatSetup.m_tempomatFlags = 0xA2;
    DiagSample gas = demoLikeSample();
    gas.m_fuelMode = kFuelModeGas;
    gas.m_statusFlags = 1;
    push(gas);
    m_page.refresh();
    EXPECT_EQ(m_page.gauge(1)->caption(), "Obroty z rozrządu");
    EXPECT_EQ(m_page.gauge(2)->value(), 0);
    EXPECT_EQ(m_page.modeLabel()->text(), "GAZ");
    EXPECT_EQ(m_page.cruiseLabel()->text(), "TEMPOMAT");
    m_page.refresh();
    EXPECT_EQ(m_page.modeLabelWrites(), 1);
    EXPECT_EQ(m_page.cruiseLabelWrites(), 1);

    // Period 0: no speed.
    DiagSample stopped = gas;
    stopped.m_rpmPeriod = 0;
    push(stopped);
    m_page.refresh();
    EXPECT_EQ(m_page.gauge(0)->value(), 0);
}

TEST_F(ReadingsRefresh, PanelErrorsAndConsumptionOnTheirTurns) {
    // A falling sensor: a value below the full threshold lights all four lamps.
    auto& sensors = m_device.config().m_sensorsSetup;
    sensors.m_fuelFull = 20;
    sensors.m_fuelHgw = 60;
    DiagSample gas = demoLikeSample();
    gas.m_fuelMode = kFuelModeGas;
    gas.m_fuelLevelRaw = 10;
    gas.m_gasInjTime = 1400;
    push(gas);
    m_page.refresh();
    m_page.refresh();
    EXPECT_EQ(m_page.console()->picture(), EConsolePicture::Diesel);
    m_page.refresh(); // third refresh: the panel's turn
    EXPECT_EQ(m_page.console()->picture(), EConsolePicture::Gas4);

    // The 8th refresh reads the error status; the demo car reports no fault.
    for (int i = 0; i < 5; ++i) {
        m_page.refresh();
    }
    EXPECT_EQ(m_page.errorLabel()->text(), "");

    // The 9th refresh reads the counters (firmware above 270); the demo controller's are 0,
    // so only the instantaneous consumption shows.
    EXPECT_EQ(m_page.gauge(13)->value(), 0);
    m_page.refresh();
    EXPECT_GT(m_page.gauge(13)->value(), 0);
}

TEST(ReadingsErrorLabel, ShowsAFaultTheControllerReports) {
    test::CFakeClock clock; // unanswered attempts take no time
    CLPGDevice device(std::make_unique<test::CRespondingSerial>([](const test::SSeenRequest& seen) {
        constexpr std::uint8_t kErrorStatusQuery = 5;
        constexpr std::uint8_t kErrorStatusAnswer = 6;
        if (seen.subCode() != kErrorStatusQuery)
            return std::optional<test::CRespondingSerial::Bytes>();
        return std::optional(test::CRespondingSerial::answer(kErrorStatusAnswer, {0, 0, 63, 0}));
    }));
    device.setConnected(true);
    device.config().m_devInfo.m_version = 0x12F;
    CDeviceErrorList decoders;
    CReadingsDlg page(device, &decoders);
    device.diagData().push(demoLikeSample());
    for (int i = 0; i < 8; ++i) // the 8th refresh reads the error status
        page.refresh();
    EXPECT_EQ(page.errorLabel()->text(), "BŁĄD");
}

TEST(ReadingsBackgroundReads, LeaveTheCursorAndInputAlone) {
    test::CFakeClock clock; // unanswered attempts take no time
    std::atomic<int> requests{0};
    std::atomic<int> underWaitCursor{0};
    CLPGDevice device(std::make_unique<test::CRespondingSerial>([&](const test::SSeenRequest&) {
        ++requests;
        if (QApplication::overrideCursor() != nullptr)
            ++underWaitCursor;
        return std::optional<test::CRespondingSerial::Bytes>();
    }));
    device.setConnected(true);
    device.config().m_devInfo.m_version = 0x12F;
    CDeviceErrorList decoders;
    CReadingsDlg page(device, &decoders);
    device.diagData().push(demoLikeSample());
    for (int i = 0; i < 10; ++i) // the fault and counter reads both come round
        page.refresh();
    EXPECT_GT(requests.load(), 0);
    EXPECT_EQ(underWaitCursor.load(), 0);
}

// The protection page (every 200 ms) and the device data page (every 2.2 s) read on their own
// too: a slow answer must not bring up the wait cursor or hold input back.
TEST(ReadingsBackgroundReads, TheProtectionAndDeviceDataPagesReadTheSameWay) {
    test::CFakeClock clock;
    std::atomic<int> requests{0};
    std::atomic<int> underWaitCursor{0};
    std::atomic<bool> slowNext{true};
    CLPGDevice device(std::make_unique<test::CRespondingSerial>([&](const test::SSeenRequest&) {
        ++requests;
        // A slow link: long past the 300 ms after which a user's command shows the cursor.
        if (slowNext.exchange(false)) {
            std::this_thread::sleep_for(std::chrono::milliseconds(400));
            if (QApplication::overrideCursor() != nullptr)
                ++underWaitCursor;
        }
        return std::optional<test::CRespondingSerial::Bytes>();
    }));
    device.setConnected(true);
    device.config().m_devInfo.m_version = 0x12F;
    device.config().m_tempomatSetup.m_extExhaustTemprMask = 0x0001;
    CEGTDlg protection(device);
    protection.refresh();
    const int protectionRequests = requests.load();
    slowNext = true;
    CDevDataDlg deviceData(device, nullptr);
    for (int tick = 0; tick < 11 && requests.load() == protectionRequests; ++tick)
        deviceData.refresh();
    EXPECT_GT(protectionRequests, 0);
    EXPECT_GT(requests.load(), protectionRequests);
    EXPECT_EQ(underWaitCursor.load(), 0);
}

// The mode buttons over the real link to the simulated controller.
class ReadingsModeButtons : public test::CSimFixture {
protected:
    void SetUp() override {
        selectLanguage(kPolishLanguage);
        startSim({}, false);
        m_device = std::make_unique<CLPGDevice>();
        m_device->serialPort()->open(devicePath());
        m_device->serialPort()->setState(kControllerLine);
        m_device->serialPort()->setTimeout(kControllerTimeouts);
        m_device->setConnected(true);
        m_page = std::make_unique<CReadingsDlg>(*m_device, &m_decoders);
    }
    void TearDown() override {
        m_page.reset();
        m_device.reset();
        setCngInstallation(false);
        selectLanguage(kPolishLanguage);
        CSimFixture::TearDown();
    }

    std::size_t actions(int subCode) { return sim().transcript().countRequests(2, subCode); }

    CDeviceErrorList m_decoders;
    std::unique_ptr<CLPGDevice> m_device;
    std::unique_ptr<CReadingsDlg> m_page;
};

TEST_F(ReadingsModeButtons, EachButtonSendsItsAction) {
    test::CRecordingUi ui;
    m_page->gasButton()->click();
    EXPECT_EQ(actions(1), 1u) << transcriptText();

    m_page->dieselButton()->click();
    EXPECT_EQ(actions(2), 1u) << transcriptText();

    m_page->autoButton()->click(); // diesel first, then automatic
    EXPECT_EQ(actions(2), 2u) << transcriptText();
    EXPECT_EQ(actions(3), 1u) << transcriptText();
    EXPECT_TRUE(ui.messages().empty());

    // Without a connection the buttons do nothing.
    m_device->setConnected(false);
    m_page->gasButton()->click();
    EXPECT_EQ(actions(1), 1u);
}

TEST_F(ReadingsModeButtons, SerialFaultShowsTheHandlerContext) {
    test::CRecordingUi ui;
    m_device->serialPort()->close();
    m_page->dieselButton()->click();
    const auto shown = ui.messages();
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].text.rfind("CReadingsDlg::OnBnClickedButtonpetrol()\n", 0), 0u)
        << shown[0].text;
    EXPECT_GT(shown[0].text.size(),
              std::string("CReadingsDlg::OnBnClickedButtonpetrol()\n").size());
    EXPECT_EQ(shown[0].caption, "TORVA");
    EXPECT_EQ(shown[0].icon, EIcon::None);
}

TEST_F(ReadingsModeButtons, FailureShowsTheTranslatedMessage) {
    if (!isLanguageAvailable(kEnglishLanguage)) {
        GTEST_SKIP() << "no English language file beside the test";
    }
    test::CFakeClock clock; // the attempts' pauses take no time
    CQtUserInterface qtUi;
    setAppUi(&qtUi);
    selectLanguage(kEnglishLanguage);
    setCngInstallation(true);
    sim().setFaultPercent(sim::FaultKind::WrongCode, 100);

    QString shown;
    QString title;
    QTimer closer;
    QObject::connect(&closer, &QTimer::timeout, [&] {
        if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
            shown = box->text();
            title = box->windowTitle();
            box->accept();
        }
    });
    closer.start(20);
    m_page->OnBnClickedButtonlpg();
    setAppUi(nullptr);

    EXPECT_EQ(title, "TORVA");
    EXPECT_FALSE(shown.isEmpty());
    EXPECT_NE(shown, "Nie powiodło się przełączenie na LPG!");
    EXPECT_TRUE(shown.contains("CNG")) << shown.toStdString();
    EXPECT_FALSE(shown.contains("LPG")) << shown.toStdString();
}

} // namespace
} // namespace torva
