#include "ui/controls/app_visual_manager.h"

namespace torva {

CAppVisualManager::CAppVisualManager() : CMSMVisualManager(appColours()) {}

SVisualColours CAppVisualManager::appColours() {
    SVisualColours colours;
    colours.window = QColor(205, 205, 205);
    colours.caption = QColor(205, 205, 205);
    colours.accent = QColor(160, 0, 0);
    return colours;
}

} // namespace torva
