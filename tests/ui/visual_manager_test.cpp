#include "ui/controls/app_visual_manager.h"
#include "ui/controls/msm_caption_bar.h"
#include "ui/controls/msm_menu_bar.h"

#include <QApplication>

#include <gtest/gtest.h>

namespace torva {
namespace {

// Puts the default scheme back, so other tests do not see the one installed here.
class CVisualManagerTest : public ::testing::Test {
protected:
    ~CVisualManagerTest() override { CMSMVisualManager::install(nullptr); }
};

TEST_F(CVisualManagerTest, AppSchemeColoursTheWholeApplication) {
    CMSMMenuBar menuBar;
    const QString before = menuBar.styleSheet();

    CMSMVisualManager::install(std::make_unique<CAppVisualManager>());

    const SVisualColours& colours = CMSMVisualManager::get().colours();
    EXPECT_EQ(colours.window, QColor(205, 205, 205));
    EXPECT_EQ(colours.caption, QColor(205, 205, 205));
    EXPECT_EQ(colours.accent, QColor(160, 0, 0));
    const QPalette palette = QApplication::palette();
    EXPECT_EQ(palette.color(QPalette::Window), QColor(205, 205, 205));
    EXPECT_EQ(palette.color(QPalette::Highlight), QColor(160, 0, 0));

    // The menu bar made before the installation follows the new scheme.
    EXPECT_NE(menuBar.styleSheet(), before);
    EXPECT_TRUE(menuBar.styleSheet().contains("#a00000"));
    EXPECT_TRUE(menuBar.styleSheet().contains("#cdcdcd"));
}

TEST_F(CVisualManagerTest, CaptionBarShowsItsTextInTheCaptionColour) {
    CMSMVisualManager::install(std::make_unique<CAppVisualManager>());
    CMSMCaptionBar bar;
    bar.setCaptionText("TORVA  KT1  v 1.44   firmware: v 1.47     POŁĄCZONY");
    QFont font = bar.captionFont();
    font.setBold(true);
    font.setPixelSize(18);
    bar.setCaptionFont(font);
    bar.resize(1000, bar.sizeHint().height());
    EXPECT_GE(bar.height(), 18);

    const QImage image = bar.grab().toImage();
    // Right of the text, before the window buttons: the plain caption background.
    const QColor background = image.pixelColor(800, image.height() / 2);
    EXPECT_NEAR(background.red(), 205, 20);
    EXPECT_EQ(background.red(), background.green());
    // Somewhere in the text there is dark ink.
    int ink = 0;
    for (int x = 8; x < 400; ++x) {
        ink += image.pixelColor(x, image.height() / 2).lightness() < 100 ? 1 : 0;
    }
    EXPECT_GT(ink, 10);
}

} // namespace
} // namespace torva
