#include "ui/controls/caption_wrap.h"

namespace torva {

SCaptionLines wrapCaption(const QFontMetrics& metrics, const QString& caption, int firstWidth,
                          int secondWidth) {
    // Judged by eliding itself: it rounds other than a plain width comparison would.
    if (metrics.elidedText(caption, Qt::ElideRight, firstWidth) == caption)
        return {caption, {}};
    for (qsizetype space = caption.lastIndexOf(u' '); space > 0;
         space = caption.lastIndexOf(u' ', space - 1)) {
        const QString first = caption.left(space);
        if (metrics.elidedText(first, Qt::ElideRight, firstWidth) == first)
            return {first, metrics.elidedText(caption.mid(space + 1), Qt::ElideRight, secondWidth)};
    }
    return {metrics.elidedText(caption, Qt::ElideRight, firstWidth), {}};
}

} // namespace torva
