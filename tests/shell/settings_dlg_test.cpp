// The settings page and the fuel level sensor dialog: real controls clicked, frames checked on
// a simulated controller; the page in the main window for every controller type.
#include "fixture/sim_fixture.h"
#include "support/recording_ui.h"

#include "config/block_codec.h"
#include "link/serial_settings.h"
#include "ui/controls/transparent_check_box.h"
#include "ui/pages/common/up_down_field.h"
#include "ui/pages/common/value_combo.h"
#include "ui/pages/sensors/fuel_sensor_dlg.h"
#include "ui/pages/sensors/fuel_sensor_rules.h"
#include "ui/pages/settings/settings_dlg.h"
#include "ui/shell/main_frame.h"
#include "ui/shell/main_view.h"
#include "ui/shell/veko_doc.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QPointer>
#include <QTimer>

#include <gtest/gtest.h>

namespace torva {
namespace {

// The user picks the item with this value.
void choose(CValueCombo* combo, int value) {
    const int index = static_cast<int>(*combo->items().indexOf(value));
    combo->setCurrentIndex(index);
    emit combo->activated(index);
}

// Waits keep the window's events flowing, as the program's own user interface does.
class CEventsFlowingUi : public test::CRecordingUi {
public:
    void responsiveWait(int ms) override {
        QElapsedTimer timer;
        timer.start();
        while (timer.elapsed() < ms)
            QApplication::processEvents(QEventLoop::ExcludeUserInputEvents, 10);
    }
};

class SettingsPageSim : public test::CSimFixture {
protected:
    void SetUp() override {
        startSim({}, false);
        CLPGDevice& device = m_doc.device();
        device.serialPort()->open(devicePath());
        device.serialPort()->setState(kControllerLine);
        device.serialPort()->setTimeout(kControllerTimeouts);
        ASSERT_TRUE(device.readConfiguration()) << transcriptText();
        device.setConnected(true);
        m_page = std::make_unique<CSettingsDlg>(m_doc);
        m_page->fillFromConfig();
        sim().transcript().clear();
    }
    void TearDown() override {
        m_page.reset();
        CSimFixture::TearDown();
    }

    bool written(EBlock block) {
        return sim().blockImage(blockInfo(block).code) ==
               encodeBlock(block, m_doc.device().config());
    }

    test::CRecordingUi m_ui;
    CVeko2012Doc m_doc;
    std::unique_ptr<CSettingsDlg> m_page;
};

TEST_F(SettingsPageSim, UpDownsBoxesAndCombosWriteTheirBlocks) {
    const double rpm = m_doc.device().config().m_base.m_switchRPM;
    m_page->spinField(ESettingsSpin::SwitchRpm)->stepBy(1);
    EXPECT_EQ(m_doc.device().config().m_base.m_switchRPM, rpm + 20);
    EXPECT_TRUE(written(EBlock::Base));
    EXPECT_EQ(m_page->spinField(ESettingsSpin::SwitchRpm)->text().toStdString(),
              std::to_string(static_cast<int>(rpm + 20)));

    m_page->checkBox(ESettingsCheck::PercentScale)->click();
    EXPECT_TRUE(written(EBlock::Base));
    EXPECT_EQ(sim().transcript().countRequests(3), 2u);

    choose(m_page->combo(ESettingsCombo::InjectorType), 32);
    EXPECT_EQ(m_doc.device().config().m_adv.m_injectorType, 32);
    EXPECT_TRUE(written(EBlock::Advanced));
    EXPECT_TRUE(m_ui.messages().empty());
}

TEST_F(SettingsPageSim, TheSensorDialogChoosesATypeAndThePageShowsIt) {
    QTimer chooser;
    QObject::connect(&chooser, &QTimer::timeout, [] {
        if (auto* dialog = qobject_cast<CFuelSensorDlg*>(QApplication::activeModalWidget())) {
            choose(dialog->typeCombo(), 0); // CPP
            dialog->accept();
        }
    });
    chooser.start(20);
    m_page->OnBnClickedBtnFuelSensor();

    EXPECT_EQ(fuelThresholds(m_doc.device().config().m_sensorsSetup),
              (SFuelThresholds{90, 150, 195, 238}));
    EXPECT_TRUE(written(EBlock::Sensors));
    EXPECT_TRUE(written(EBlock::Tempomat));
    EXPECT_EQ(m_page->fuelSensorCombo()->selectedValue(), 0);
}

TEST(SettingsPage, IsTheFirstPageForEveryControllerAndRebuildsAfterItsHandler) {
    CEventsFlowingUi ui;
    for (const std::uint8_t deviceType : {3, 25, 37, 40}) {
        CVeko2012Doc doc;
        doc.device().setDemo(true);
        doc.device().setConnected(true);
        doc.device().config().m_devInfo.m_deviceID = deviceType;
        CMainFrame frame(doc, pageCatalogue());
        frame.mainView()->createPages();
        QPointer<CSettingsDlg> page =
            dynamic_cast<CSettingsDlg*>(frame.mainView()->pageCtrl()->getPage(0));
        ASSERT_NE(page, nullptr) << int(deviceType);
        EXPECT_EQ(page->spinField(ESettingsSpin::RpmTh)->isHidden(), deviceType == 3);
        if (deviceType != 40)
            continue;

        // The fuel type renames pages: the page is rebuilt once its handler is done, not during
        // the handler's wait after the controller's reset.
        choose(page->combo(ESettingsCombo::FuelType), 1);
        EXPECT_FALSE(page.isNull());
        EXPECT_TRUE(doc.device().config().isCng());
        QElapsedTimer timer;
        timer.start();
        while (!page.isNull() && timer.elapsed() < 5000)
            QApplication::processEvents(QEventLoop::AllEvents, 20);
        EXPECT_TRUE(page.isNull());
        EXPECT_TRUE(ui.messages().empty());
        EXPECT_GE(frame.mainView()->pageCtrl()->getPageCount(), 1);
    }
}

} // namespace
} // namespace torva
