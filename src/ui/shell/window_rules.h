#pragma once

#include <QSize>

namespace torva {

// Sizing rules of the main window, apart from any widget.

// A frame narrower than 760 pixels is widened to 800; one lower than 530 is raised to 530.
QSize enforceMinimumFrameSize(const QSize& size);
// The smallest frame the pages fit in; set on the window itself, so that the window system
// keeps to it while the user drags the frame, not only inside resize events.
inline constexpr QSize kMinimumFrameSize(800, 530);
// The frame's size when it is not maximized (maximizing not honoured, a restore): 1280 x 800
// within the screen's available area, never below the minimum.
QSize normalFrameSize(const QSize& availableArea);

// The readings pane takes this share of the frame's client height.
constexpr double kTopPaneRatio = 0.2;
int topPaneHeight(int clientHeight);

// Pixel heights of the fonts that grow with their window's area.
int captionFontPixelSize(const QSize& frameClientSize); // caption (bold) and menu
int mainViewFontPixelSize(const QSize& viewSize);
int readingsFontPixelSize(const QSize& pageSize);

} // namespace torva
