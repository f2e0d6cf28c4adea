#include "ui/controls/cell_overlay.h"

#include <algorithm>

namespace torva {

void CCellOverlay::reset(int rows, int columns) {
    m_rows = rows;
    m_columns = columns;
    m_cells.assign(static_cast<std::size_t>(rows * columns), SOverlayCell{});
}

QColor overlayShadeColor(double shade) {
    // Green, so it stays apart from the maps' red and yellow, the blue selection and the dark
    // red live cell; even the lightest shade must differ from an unshaded cell.
    const double strength = std::clamp(shade, 0.0, 1.0);
    return {0, 150, 80, static_cast<int>(45 + 170 * strength)};
}

QColor overlayShadeOnWhite(double shade) {
    const QColor tint = overlayShadeColor(shade);
    const auto over = [&tint](int channel) {
        return static_cast<int>(255 + (channel - 255) * tint.alphaF() + 0.5);
    };
    return {over(tint.red()), over(tint.green()), over(tint.blue())};
}

QBrush overlayEmptyMark() {
    return QColor(96, 96, 96, 105);
}

} // namespace torva
