// The calibration pages the main window builds for a configuration, and page 2's tempomat case.
#include "document/veko2012_doc.h"
#include "link/lpg_device.h"
#include "ui/controls/multi_page_ctrl.h"
#include "ui/pages/calibration/calibration_pages.h"
#include "ui/pages/common/up_down_field.h"
#include "ui/pages/common/value_combo.h"
#include "ui/shell/main_frame.h"
#include "ui/shell/main_view.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace torva {
namespace {

std::vector<std::string> calibrationPages(CMainFrame& frame) {
    frame.mainView()->createPages();
    std::vector<std::string> found;
    const CMultiPageCtrl* pages = frame.mainView()->pageCtrl();
    for (int index = 0; index < pages->getPageCount(); ++index) {
        if (auto* page = dynamic_cast<CCalibrationPage*>(pages->getPage(index)))
            found.push_back(page->pageTitle().toStdString());
    }
    return found;
}

TEST(CalibrationPageList, FollowsTheConfigurationAndPageTwoShowsTheTempomatCase) {
    CVeko2012Doc doc;
    doc.device().setDemo(true);
    doc.device().setConnected(true);
    CDeviceConfig& config = doc.device().config();
    config.m_devInfo.m_deviceID = 25;
    config.m_base.m_emuEnable = {1, 1, 1, 1};
    config.m_serviceSetup.m_advancedFlags2 = 0x10;
    config.m_serviceSetup.m_tpsDigitEmuEnable = 1;
    CMainFrame frame(doc, pageCatalogue());
    EXPECT_EQ(calibrationPages(frame),
              (std::vector<std::string>{"Mapa Map Sensor", "Mapa MAF", "Mapa TPS 1", "Mapa TPS 2",
                                        "Mapa TPS cyfr."}));

    // A 12-volt controller has no digital TPS page.
    config.m_devInfo.m_deviceID = 3;
    EXPECT_EQ(calibrationPages(frame).size(), 4u);

    config.m_tempomatSetup.m_tempomatFlags |= 1;
    frame.mainView()->createPages();
    CCalibration2* page = nullptr;
    const CMultiPageCtrl* pages = frame.mainView()->pageCtrl();
    for (int index = 0; index < pages->getPageCount() && page == nullptr; ++index)
        page = dynamic_cast<CCalibration2*>(pages->getPage(index));
    ASSERT_NE(page, nullptr);
    EXPECT_EQ(page->pageTitle(), "Mapa Tempomat");
    EXPECT_EQ(page->channelLabelText(), "Map Sensor");
    EXPECT_TRUE(page->emulationCombo()->isHidden());
    EXPECT_TRUE(page->offsetField()->isHidden());
}

} // namespace
} // namespace torva
