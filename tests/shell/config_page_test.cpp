// The editing pages' life in the main window, and the value combo they share.
#include "support/fake_clock.h"
#include "support/recording_ui.h"
#include "support/responding_serial.h"

#include "document/veko2012_doc.h"
#include "lang/languages.h"
#include "lang/translation.h"
#include "link/lpg_device.h"
#include "ui/controls/multi_page_ctrl.h"
#include "ui/pages/common/block_write.h"
#include "ui/pages/common/config_page.h"
#include "ui/pages/common/value_combo.h"
#include "ui/shell/main_frame.h"
#include "ui/shell/main_view.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QPointer>
#include <QTimer>

#include <atomic>
#include <chrono>
#include <optional>
#include <thread>

#include <gtest/gtest.h>

namespace torva {
namespace {

class CProbePage : public CConfigPage {
public:
    explicit CProbePage(CLPGDevice& device) : CConfigPage(device), combo(new CValueCombo(this)) {
        needsController({combo});
    }
    void fillFromConfig() override { ++fills; }

    int fills = 0;
    CValueCombo* combo;
};

TEST(ConfigPages, AreFilledWhenBuiltFollowTheLinkAndAreRebuiltOnlyAfterTheHandler) {
    CVeko2012Doc doc;
    doc.device().setDemo(true);
    doc.device().setConnected(true);
    std::vector<QPointer<CProbePage>> built;
    SPageCatalogue catalogue = pageCatalogue();
    catalogue.mainPages[EPage::Settings] = [&built](CVeko2012Doc& owner) -> CMultiPageDialog* {
        auto* page = new CProbePage(owner.device());
        built.emplace_back(page);
        return page;
    };
    CMainFrame frame(doc, catalogue);
    frame.mainView()->createPages();
    ASSERT_EQ(built.size(), 1u);
    EXPECT_GE(built[0]->fills, 1);
    EXPECT_TRUE(built[0]->combo->isEnabled());

    frame.showConnectionState(false);
    EXPECT_FALSE(built[0]->combo->isEnabled()) << "a write needs the controller";
    frame.showConnectionState(true);
    EXPECT_TRUE(built[0]->combo->isEnabled());

    // A handler asking for new pages keeps its own page until it has returned.
    doc.refreshPages();
    EXPECT_EQ(built.size(), 1u);
    QElapsedTimer timer;
    timer.start();
    while (built.size() < 2 && timer.elapsed() < 5000)
        QApplication::processEvents(QEventLoop::AllEvents, 20);
    ASSERT_EQ(built.size(), 2u);
    EXPECT_TRUE(built[0].isNull());
    EXPECT_GE(built[1]->fills, 1);
}

// A page's write on a slow link: the window goes on painting and, once the write has lasted
// over 300 ms, shows the wait cursor, which goes when the write has ended.
TEST(ConfigPages, ASlowWriteKeepsTheWindowPaintingAndShowsTheWaitCursor) {
    test::CFakeClock clock; // unanswered attempts after the first take no time
    test::CRecordingUi ui;
    std::atomic<bool> painted{false};
    std::atomic<bool> cursorShown{false};
    std::atomic<bool> first{true};
    CLPGDevice device(std::make_unique<test::CRespondingSerial>([&](const test::SSeenRequest&) {
        // The first answer is late: long enough for both signs of work to appear.
        for (int waited = 0; first && waited < 5000 && !(painted && cursorShown); waited += 10) {
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
            cursorShown = QApplication::overrideCursor() != nullptr;
        }
        first = false;
        return std::optional<test::CRespondingSerial::Bytes>();
    }));
    device.setConnected(true);
    QTimer::singleShot(0, [&] { painted = true; });
    EXPECT_FALSE(writeBlockShowingFailure(device, ui, EBlock::Base, page_message::kWriteFailed));
    EXPECT_TRUE(painted);
    EXPECT_TRUE(cursorShown);
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
    EXPECT_EQ(ui.messages().size(), 1u);
}

TEST(ValueCombo, SelectsByStoredValueShowsNothingUnknownAndKeepsItAcrossLanguages) {
    CValueCombo combo;
    combo.setItems({.items = {{"POŁĄCZONY", 9}, {"BRAK POŁĄCZENIA", 4}}});
    EXPECT_TRUE(combo.selectValue(4));
    EXPECT_EQ(combo.currentIndex(), 1);
    EXPECT_EQ(combo.selectedValue(), 4);
    EXPECT_FALSE(combo.selectValue(3));
    EXPECT_FALSE(combo.selectedValue());

    combo.selectValue(4);
    if (!isLanguageAvailable(kEnglishLanguage))
        GTEST_SKIP() << "no English language file beside the test";
    selectLanguage(kEnglishLanguage);
    combo.retranslate();
    selectLanguage(kPolishLanguage);
    EXPECT_EQ(combo.currentText(), "NO CONNECTION");
    EXPECT_EQ(combo.selectedValue(), 4);
}

} // namespace
} // namespace torva
