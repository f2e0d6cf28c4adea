// The exhaust temperature and knock page against the simulated controller, and its gates.
#include "page_sim_rig.h"

#include "config/document/veko2012_doc.h"
#include "ui/controls/multi_page_ctrl.h"
#include "ui/pages/common/up_down_field.h"
#include "ui/pages/common/value_combo.h"
#include "ui/pages/devdata/dev_data_dlg.h"
#include "ui/pages/egt/egt_dlg.h"
#include "ui/shell/main_frame.h"
#include "ui/shell/main_view.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QLineEdit>

#include <gtest/gtest.h>

namespace torva {
namespace {

constexpr std::uint8_t kBaseWrite = 3;
constexpr std::uint8_t kServiceWrite = 33;
constexpr std::uint8_t kTempomatWrite = 40;
constexpr std::uint8_t kResetAction = 10;
constexpr std::uint8_t kExhaustQuery = 62;

sim::SimIdentity knockController() {
    sim::SimIdentity identity;
    identity.modelCode = 37;
    identity.version = 300;
    return identity;
}

class EgtAgainstSimulator : public test::CPageSimRig {
protected:
    CEGTDlg& page() {
        if (!m_page) {
            m_page = std::make_unique<CEGTDlg>(device());
            m_page->fillFromConfig();
        }
        return *m_page;
    }
    void TearDown() override {
        m_page.reset();
        CPageSimRig::TearDown();
    }
    void choose(CValueCombo* combo, int index) {
        combo->setCurrentIndex(index);
        emit combo->activated(index);
    }

    std::unique_ptr<CEGTDlg> m_page;
};

TEST_F(EgtAgainstSimulator, EachHandlerWritesItsBlockAndNothingWhenUnchanged) {
    connect(knockController());
    device().withConfig([](CDeviceConfig& c) { c.m_base.m_maxExhaustTemp = 799; });
    page().maxExhaustField()->stepBy(1);
    EXPECT_EQ(controllerView(EBlock::Base).m_base.m_maxExhaustTemp, 800);
    page().maxExhaustField()->stepBy(1);
    EXPECT_EQ(requests(kBaseWrite), 1u) << "800 stays 800";
    EXPECT_EQ(page().maxExhaustField()->text(), "800");

    const bool internal = page().internalThermocoupleBox()->isChecked();
    page().internalThermocoupleBox()->click();
    EXPECT_EQ(controllerView(EBlock::Base).m_base.m_advancedFlags & 0x01, internal ? 0x01 : 0x00);

    // A watched thermocouple resets the controller; none watched does not.
    page().thermocoupleBox(2)->click();
    EXPECT_EQ(controllerView(EBlock::Tempomat).m_tempomatSetup.m_extExhaustTemprMask, 0x0004);
    EXPECT_EQ(requests(2, kResetAction), 1u);
    page().thermocoupleBox(2)->click();
    EXPECT_EQ(controllerView(EBlock::Tempomat).m_tempomatSetup.m_extExhaustTemprMask, 0);
    EXPECT_EQ(requests(kTempomatWrite), 2u);
    EXPECT_EQ(requests(2, kResetAction), 1u);

    const double signal = device().config().m_serviceSetup.m_knockMaxSignal;
    page().knockMaxField()->stepBy(-1);
    page().knockMaxField()->stepBy(2);
    // The wire carries ADC counts: a few millivolts apart from the volts shown.
    EXPECT_NEAR(controllerView(EBlock::Service).m_serviceSetup.m_knockMaxSignal,
                std::max(signal - 0.05, 0.0) + 0.10, 0.005);

    const std::size_t serviceWrites = requests(kServiceWrite);
    choose(page().knockFreqCombo(), device().config().m_serviceSetup.m_knockFreq);
    EXPECT_EQ(requests(kServiceWrite), serviceWrites) << "the stored item sends nothing";
    choose(page().knockFreqCombo(), 63);
    choose(page().knockIntTimeCombo(), 31);
    choose(page().knockGainCombo(), 0);
    const SServiceSetup held = controllerView(EBlock::Service).m_serviceSetup;
    EXPECT_EQ(held.m_knockFreq, 63);
    EXPECT_EQ(held.m_knockIntTime, 31);
    EXPECT_EQ(held.m_knockGain, 0);
    EXPECT_TRUE(m_ui.messages().empty());
}

TEST_F(EgtAgainstSimulator, ShowsKnockLevelsWithoutThermocouplesAndOnlyWatchedTemperatures) {
    connect(knockController());
    ASSERT_EQ(device().config().m_tempomatSetup.m_extExhaustTemprMask, 0);
    page().refresh();
    EXPECT_EQ(requests(2, kExhaustQuery), 1u);
    EXPECT_GT(page().knockLevelField(7)->text().toDouble(), 0) << "the engine knocks a little";
    EXPECT_EQ(page().temperatureField(0)->text(), "");

    device().withConfig([](CDeviceConfig& c) { c.m_tempomatSetup.m_extExhaustTemprMask = 0x0001; });
    page().refresh();
    EXPECT_GT(page().temperatureField(0)->text().toInt(), 0);
    EXPECT_EQ(page().temperatureField(1)->text(), "") << "not watched";
}

TEST_F(EgtAgainstSimulator, WithoutKnockOrThermocouplesAsksNothing) {
    sim::SimIdentity identity;
    identity.version = 303; // type 25: knock from 304 on
    connect(identity);
    page().refresh();
    EXPECT_TRUE(page().knockGroup()->isHidden());
    EXPECT_EQ(requests(2, kExhaustQuery), 0u);
}

TEST(EgtGates, KnockFromItsFirmwareAndWritesOnlyWithAController) {
    CLPGDevice device;
    CEGTDlg page(device);
    SDevInfo& info = device.config().m_devInfo;
    info.m_version = 0x10A;
    const auto knockVisibleAt = [&](std::uint8_t type, std::int32_t version) {
        info.m_deviceID = type;
        info.m_version = version;
        page.fillFromConfig();
        return !page.knockGroup()->isHidden();
    };
    EXPECT_FALSE(knockVisibleAt(25, 303));
    EXPECT_TRUE(knockVisibleAt(25, 304));
    EXPECT_FALSE(knockVisibleAt(37, 299));
    EXPECT_TRUE(knockVisibleAt(37, 300));
    EXPECT_FALSE(knockVisibleAt(40, 400));

    EXPECT_FALSE(page.thermocoupleBox(0)->isEnabled());
    EXPECT_FALSE(page.knockFreqCombo()->isEnabled());
    page.connectionChanged(true);
    EXPECT_TRUE(page.thermocoupleBox(0)->isEnabled());
    EXPECT_TRUE(page.knockFreqCombo()->isEnabled());
    info.m_version = 0x109; // no tempomat block, so nowhere to keep the thermocouples
    page.fillFromConfig();
    EXPECT_FALSE(page.thermocoupleBox(0)->isEnabled());
}

TEST(EgtGates, TabGoesDownTheLeftColumnThenThroughTheThermocouples) {
    CLPGDevice device;
    CEGTDlg page(device);
    std::vector<QWidget*> expected{page.maxExhaustField(),   page.internalThermocoupleBox(),
                                   page.knockMaxField(),     page.knockFreqCombo(),
                                   page.knockIntTimeCombo(), page.knockGainCombo()};
    for (std::size_t i = 0; i < kThermocouples; ++i)
        expected.push_back(page.thermocoupleBox(i));
    std::vector<QWidget*> chain{expected.front()};
    for (QWidget* next = expected.front()->nextInFocusChain(); next != expected.front();
         next = next->nextInFocusChain()) {
        if ((next->focusPolicy() & Qt::TabFocus) != 0 && next->focusProxy() == nullptr &&
            std::find(expected.begin(), expected.end(), next) != expected.end())
            chain.push_back(next);
    }
    EXPECT_EQ(chain, expected);
}

TEST(MainWindowPages, EndWithTheProtectionAndDeviceDataPages) {
    selectLanguage(kPolishLanguage);
    CVeko2012Doc doc;
    doc.device().setDemo(true);
    doc.device().setConnected(true);
    CMainFrame frame(doc, pageCatalogue());
    frame.mainView()->createPages();
    const CMultiPageCtrl* pages = frame.mainView()->pageCtrl();
    const int count = pages->getPageCount();
    ASSERT_GE(count, 2);
    EXPECT_EQ(pages->getTitle(count - 2), "Zabezpieczenia");
    EXPECT_NE(dynamic_cast<CEGTDlg*>(pages->getPage(count - 2)), nullptr);
    EXPECT_EQ(pages->getTitle(count - 1), "Dane ECU");
    EXPECT_NE(dynamic_cast<CDevDataDlg*>(pages->getPage(count - 1)), nullptr);
}

} // namespace
} // namespace torva
