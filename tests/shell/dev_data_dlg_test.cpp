// The device data page against the simulated controller, and its identity without one.
#include "page_sim_rig.h"

#include "link/device_errors.h"
#include "ui/controls/ext_tr_list_ctrl.h"
#include "ui/pages/devdata/dev_data_dlg.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include <gtest/gtest.h>

namespace torva {
namespace {

constexpr std::uint8_t kLockFlag = 0x20;
constexpr std::uint8_t kStatisticsQuery = 17;
constexpr std::uint8_t kResetAction = 10;
constexpr std::uint8_t kServiceWrite = 33;

class DevDataAgainstSimulator : public test::CPageSimRig {
protected:
    CDevDataDlg& page() {
        if (!m_page) {
            m_page = std::make_unique<CDevDataDlg>(device(), &m_decoders);
            m_page->fillFromConfig();
        }
        return *m_page;
    }
    void TearDown() override {
        m_page.reset();
        CPageSimRig::TearDown();
    }

    CDeviceErrorList m_decoders;
    std::unique_ptr<CDevDataDlg> m_page;
};

TEST_F(DevDataAgainstSimulator, ReadsTheStatisticsOnTheEleventhTickDieselTimeFirst) {
    connect();
    for (int tick = 1; tick <= 10; ++tick)
        page().refresh();
    EXPECT_EQ(requests(2, kStatisticsQuery), 0u);
    EXPECT_EQ(page().dieselTimeField()->text(), "");

    page().refresh();
    EXPECT_EQ(requests(2, kStatisticsQuery), 1u);
    // The simulated engine has run 200 h on diesel and 100 h on gas.
    EXPECT_EQ(page().dieselTimeField()->text(), " 200 h: 00 min");
    EXPECT_EQ(page().gasTimeField()->text(), " 100 h: 00 min");

    device().setConnected(false);
    for (int tick = 0; tick < 22; ++tick)
        page().refresh();
    EXPECT_EQ(requests(2, kStatisticsQuery), 1u);
}

TEST_F(DevDataAgainstSimulator, LockWritesTheServiceBlockAndTakesTheBitBackWhenRefused) {
    connect();
    ASSERT_FALSE(page().lockButton()->isHidden()) << "firmware 1.47";
    EXPECT_EQ(page().lockButton()->text(), "Zablokuj");

    page().lockButton()->click();
    EXPECT_EQ(page().lockButton()->text(), "Odblokuj");
    EXPECT_EQ(controllerView(EBlock::Service).m_serviceSetup.m_advancedFlags2 & kLockFlag,
              kLockFlag);
    EXPECT_TRUE(m_ui.messages().empty());

    sim().setFaultPercent(sim::FaultKind::WrongCode, 100);
    page().lockButton()->click();
    sim().clearFaults();
    ASSERT_EQ(m_ui.messages().size(), 1u);
    EXPECT_EQ(m_ui.messages()[0].text, "Nie powiodło się wpisanie ustawień do urządzenia!");
    EXPECT_EQ(m_ui.messages()[0].icon, EIcon::Error);
    // The controller stayed locked, and so do the record and the caption.
    EXPECT_EQ(page().lockButton()->text(), "Odblokuj");
    EXPECT_EQ(device().config().m_serviceSetup.m_advancedFlags2 & kLockFlag, kLockFlag);

    // Another page's service-block write carries the controller's own lock state.
    const std::size_t writes = requests(kServiceWrite);
    ASSERT_TRUE(device().writeBlock(EBlock::Service));
    EXPECT_EQ(requests(kServiceWrite), writes + 1);
    EXPECT_EQ(controllerView(EBlock::Service).m_serviceSetup.m_advancedFlags2 & kLockFlag,
              kLockFlag);
}

TEST_F(DevDataAgainstSimulator, ReadsAndClearsTheFaultList) {
    connect();
    const auto raiseFaults = [this] {
        sim().withController([](sim::CControllerModel& c) {
            c.setErrorStatus({0, 0, 0x03, 0});
            return 0;
        });
    };
    raiseFaults();
    page().readErrorsButton()->click();
    CExtTrListCtrl* list = page().faultList();
    ASSERT_EQ(list->GetItemCount(), 2);
    EXPECT_EQ(list->GetItemText(1, 0), "2");
    EXPECT_EQ(list->GetItemText(0, 1).toStdString(), m_decoders.decodeByte(2, 0x01).at(0));

    page().clearErrorsButton()->click();
    EXPECT_EQ(requests(2, kResetAction), 1u);
    EXPECT_EQ(list->GetItemCount(), 0);

    // A status read that fails says so and keeps the list as it was.
    raiseFaults();
    page().readErrorsButton()->click();
    sim().setFaultPercent(sim::FaultKind::WrongCode, 100);
    page().readErrorsButton()->click();
    sim().clearFaults();
    ASSERT_EQ(m_ui.messages().size(), 1u);
    EXPECT_EQ(m_ui.messages()[0].text, "Nie można wczytać błędów urządzenia");
    EXPECT_EQ(list->GetItemCount(), 2);
}

// Identity from the record alone: the lock button's firmware edge, model 37's two banks of
// injectors, the CNG units, and nothing shown of a controller never identified.
TEST(DevDataIdentity, FollowsTheRecord) {
    selectLanguage(kPolishLanguage);
    CLPGDevice device;
    CDevDataDlg page(device, nullptr);
    page.fillFromConfig();
    EXPECT_EQ(page.versionField()->text(), "");
    EXPECT_TRUE(page.lockButton()->isHidden());
    EXPECT_FALSE(page.lockButton()->isEnabled()) << "a write needs the controller";

    SDevInfo& info = device.config().m_devInfo;
    info.m_modelName = "KARMEL A3";
    info.m_deviceID = 37;
    info.m_injCount = 4;
    info.m_flags1 = 7;
    info.m_version = 267;
    device.config().m_base.m_advancedFlags |= kCngInstallationFlag;
    page.fillFromConfig();
    EXPECT_EQ(page.versionField()->text(), "KARMEL A3  v 1.11.7");
    EXPECT_EQ(page.injectorsField()->text(), "2 x 4");
    EXPECT_EQ(page.totalUnitLabel()->text(), "[ m3 ]");
    EXPECT_EQ(page.perHourUnitLabel()->text(), "[ m3/h ]");
    EXPECT_TRUE(page.lockButton()->isHidden());

    info.m_version = 268;
    info.m_deviceID = 25;
    page.fillFromConfig();
    EXPECT_FALSE(page.lockButton()->isHidden());
    EXPECT_EQ(page.injectorsField()->text(), "4");
}

} // namespace
} // namespace torva
