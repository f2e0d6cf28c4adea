#pragma once

#include <QRect>
#include <QSize>

class QWidget;

namespace torva {

// designRect, laid out for a window of designSize, scaled to a window of actualSize. An empty
// design size leaves the rectangle as it is.
QRect scaleDesignRect(const QRect& designRect, const QSize& designSize, const QSize& actualSize);

// The pixel height of a font that grows with a window's area: sqrt(width × height) / divisor,
// truncated, at least 1. Pages and bars use it to keep their text in proportion on resize.
int areaFontPixelSize(const QSize& size, double divisor);

// The smallest text the windows show: 8 pt at the widget's resolution, in pixels. What cannot
// fit at this size scrolls instead of shrinking its text further.
int readableFontPixelSize(const QWidget& widget);

} // namespace torva
