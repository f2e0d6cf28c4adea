#include "ui/controls/dialog_scaling.h"

#include <QWidget>

#include <algorithm>
#include <cmath>

namespace torva {

QRect scaleDesignRect(const QRect& designRect, const QSize& designSize, const QSize& actualSize) {
    if (designSize.width() <= 0 || designSize.height() <= 0) {
        return designRect;
    }
    const double sx = double(actualSize.width()) / designSize.width();
    const double sy = double(actualSize.height()) / designSize.height();
    const int left = int(std::lround(designRect.left() * sx));
    const int top = int(std::lround(designRect.top() * sy));
    const int right = int(std::lround((designRect.left() + designRect.width()) * sx));
    const int bottom = int(std::lround((designRect.top() + designRect.height()) * sy));
    return {left, top, right - left, bottom - top};
}

int areaFontPixelSize(const QSize& size, double divisor) {
    if (divisor <= 0 || size.width() <= 0 || size.height() <= 0) {
        return 1;
    }
    const double pixels = std::sqrt(double(size.width()) * size.height()) / divisor;
    return std::max(1, int(pixels));
}

int readableFontPixelSize(const QWidget& widget) {
    constexpr double kSmallestPoints = 8.0;
    return static_cast<int>(std::ceil(kSmallestPoints * widget.logicalDpiY() / 72.0));
}

} // namespace torva
