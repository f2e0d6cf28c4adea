// The settings page and the fuel level sensor dialog: real controls clicked, frames checked on
// a simulated controller; the page in the main window for every controller type.
#include "fixture/sim_fixture.h"
#include "support/recording_ui.h"

#include "config/block_codec.h"
#include "link/serial_settings.h"
#include "ui/controls/transparent_check_box.h"
#include "ui/pages/calibration/rpm_definition_dlg.h"
#include "ui/pages/common/up_down_field.h"
#include "ui/pages/common/value_combo.h"
#include "ui/pages/sensors/fuel_sensor_dlg.h"
#include "ui/pages/sensors/fuel_sensor_rules.h"
#include "ui/pages/settings/settings_combos.h"
#include "ui/pages/settings/settings_dlg.h"
#include "ui/shell/main_frame.h"
#include "ui/shell/main_view.h"
#include "ui/shell/veko_doc.h"

#include <QAbstractButton>
#include <QApplication>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QTest>
#include <QTimer>
#include <QWheelEvent>

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

TEST_F(SettingsPageSim, ChoosingWhatIsAlreadySelectedSendsNothing) {
    // Re-choosing the TPS type would overwrite the calibrated channel-3 axis, zero the
    // thresholds, write four blocks and reset the controller.
    const CDeviceConfig before = m_doc.device().config();
    for (const ESettingsCombo combo :
         {ESettingsCombo::TpsType, ESettingsCombo::FuelType, ESettingsCombo::InjectionControl,
          ESettingsCombo::GasSensor}) {
        choose(m_page->combo(combo), comboValue(combo, before));
    }
    EXPECT_EQ(sim().transcript().size(), 0u) << transcriptText();
    EXPECT_EQ(m_doc.device().config().m_mapCoordinatesEmu3, before.m_mapCoordinatesEmu3);
    EXPECT_EQ(m_doc.device().config().m_serviceSetup.m_tpsCutOff,
              before.m_serviceSetup.m_tpsCutOff);
}

TEST_F(SettingsPageSim, FuelTypeShowsLpgOrCngAndTheSensorTypeOnlyAPresetTheControllerHolds) {
    EXPECT_EQ(m_page->combo(ESettingsCombo::FuelType)->currentText(), "LPG");
    SSensorsSetup& sensors = m_doc.device().config().m_sensorsSetup;
    setFuelThresholds(sensors, {8, 15, 35, 60}); // calibrated by hand: no preset's
    m_page->fillFromConfig();
    EXPECT_EQ(m_page->fuelSensorCombo()->currentIndex(), -1);
    EXPECT_FALSE(m_page->fuelSensorCombo()->selectedValue());
    setFuelThresholds(sensors, {65, 55, 42, 30});
    sensors.m_fuelRes = 0;
    m_page->fillFromConfig();
    EXPECT_EQ(m_page->fuelSensorCombo()->selectedValue(), fuel_sensor::kOhm1090);
}

TEST_F(SettingsPageSim, AWheelOverAnUnfocusedFieldScrollsThePageAndChangesNothing) {
    m_page->resize(800, 400);
    m_page->show();
    m_page->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(m_page.get()));
    auto* scroll = m_page->findChild<QScrollArea*>();
    ASSERT_NE(scroll, nullptr);
    CUpDownField* field = m_page->spinField(ESettingsSpin::SwitchRpm);
    CValueCombo* combo = m_page->combo(ESettingsCombo::InjectorType);
    const CDeviceConfig before = m_doc.device().config();
    const auto wheel = [](QWidget* target, int steps) {
        const QPointF at = QRectF(target->rect()).center();
        QWheelEvent event(at, target->mapToGlobal(at), {}, {0, -120 * steps}, Qt::NoButton,
                          Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(target, &event);
    };
    scroll->verticalScrollBar()->setValue(0);
    scroll->setFocus(); // neither the field nor the combo has it
    wheel(field, 1);
    wheel(combo, 1);
    EXPECT_EQ(m_doc.device().config().m_base.m_switchRPM, before.m_base.m_switchRPM);
    EXPECT_EQ(m_doc.device().config().m_adv.m_injectorType, before.m_adv.m_injectorType);
    EXPECT_EQ(sim().transcript().size(), 0u) << transcriptText();
    if (scroll->verticalScrollBar()->maximum() > 0) {
        EXPECT_GT(scroll->verticalScrollBar()->value(), 0) << "the page scrolls instead";
    }

    // With the focus the wheel is the user's choice.
    field->setFocus();
    wheel(field, -1);
    EXPECT_EQ(m_doc.device().config().m_base.m_switchRPM, before.m_base.m_switchRPM + 20);
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

TEST_F(SettingsPageSim, RpmRangeRegeneratesTheRpmAxisInChannelOnesBlock) {
    const LoadAxis load = m_doc.device().config().m_mapCoordinatesEmu1;
    QTimer typist;
    QObject::connect(&typist, &QTimer::timeout, [] {
        if (auto* dialog = qobject_cast<CRpmDefinitionDlg*>(QApplication::activeModalWidget())) {
            dialog->minRpmEdit()->setText(QStringLiteral("800"));
            dialog->maxRpmEdit()->setText(QStringLiteral("4000"));
            dialog->okButton()->click();
        }
    });
    typist.start(20);
    m_page->rpmDefinitionButton()->click();

    const RpmAxis& rpm = m_doc.device().config().m_mapRpmCoordinatesEmu1;
    EXPECT_EQ(rpm.front(), 800);
    EXPECT_EQ(rpm[4], 1700);
    EXPECT_EQ(rpm.back(), 4000);
    EXPECT_EQ(m_doc.device().config().m_mapCoordinatesEmu1, load);
    EXPECT_TRUE(written(EBlock::Axes1Rpm));
    EXPECT_TRUE(m_ui.messages().empty());
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

TEST(SettingsPage, RowsWhoseBlockTheFirmwareLacksAreDisabledAndSayWhatItNeeds) {
    test::CRecordingUi ui;
    CVeko2012Doc doc;
    doc.device().setDemo(true);
    doc.device().setConnected(true);
    doc.device().config().m_devInfo.m_deviceID = 25;
    doc.device().config().m_devInfo.m_version = 265; // no tempomat block before 266
    CSettingsDlg page(doc);
    page.fillFromConfig();
    page.connectionChanged(true);
    for (QWidget* row : std::initializer_list<QWidget*>{
             page.spinField(ESettingsSpin::RpmDetect), page.spinField(ESettingsSpin::DetectTime),
             page.checkBox(ESettingsCheck::Tempomat), page.combo(ESettingsCombo::IgnitionOrder)}) {
        EXPECT_FALSE(row->isEnabled());
        EXPECT_TRUE(row->toolTip().contains("1.10")) << row->toolTip().toStdString();
    }
    EXPECT_TRUE(page.spinField(ESettingsSpin::SwitchRpm)->isEnabled());
    EXPECT_TRUE(page.combo(ESettingsCombo::FuelType)->isEnabled());

    doc.device().config().m_devInfo.m_version = 266;
    page.fillFromConfig();
    EXPECT_TRUE(page.spinField(ESettingsSpin::RpmDetect)->isEnabled());
    EXPECT_TRUE(page.combo(ESettingsCombo::IgnitionOrder)->isEnabled());
    EXPECT_TRUE(page.checkBox(ESettingsCheck::Tempomat)->toolTip().isEmpty());
}

} // namespace
} // namespace torva
