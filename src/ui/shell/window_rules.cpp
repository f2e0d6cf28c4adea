#include "ui/shell/window_rules.h"

#include "ui/controls/dialog_scaling.h"

#include <cmath>

namespace torva {

QSize enforceMinimumFrameSize(const QSize& size) {
    QSize result = size;
    if (result.width() < 760) {
        result.setWidth(800);
    }
    if (result.height() < 530) {
        result.setHeight(530);
    }
    return result;
}

QSize normalFrameSize(const QSize& availableArea) {
    return QSize(1280, 800).boundedTo(availableArea).expandedTo(kMinimumFrameSize);
}

int topPaneHeight(int clientHeight) {
    return static_cast<int>(std::lround(clientHeight * kTopPaneRatio));
}

int captionFontPixelSize(const QSize& frameClientSize) {
    return areaFontPixelSize(frameClientSize, 60.0);
}

int mainViewFontPixelSize(const QSize& viewSize) {
    return areaFontPixelSize(viewSize, 53.0);
}

int readingsFontPixelSize(const QSize& pageSize) {
    return areaFontPixelSize(pageSize, 40.0);
}

} // namespace torva
