#pragma once

#include <QFontMetrics>
#include <QString>

namespace torva {

struct SCaptionLines {
    QString first;
    QString second; // empty when the caption fits the first line
};

// Lays a caption out on two lines of different widths: broken at the last space that lets the
// first line fit, the rest elided to the second line's width. Longer translations (Bulgarian,
// Greek) stay readable instead of losing their ends. A caption with no such space is elided
// on the first line alone.
SCaptionLines wrapCaption(const QFontMetrics& metrics, const QString& caption, int firstWidth,
                          int secondWidth);

} // namespace torva
