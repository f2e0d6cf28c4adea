#include "ui/controls/msm_menu_bar.h"

#include "ui/controls/msm_visual_manager.h"

namespace torva {

CMSMMenuBar::CMSMMenuBar(QWidget* parent) : QMenuBar(parent) {
    // Drawn inside the window on every platform, under the own caption bar.
    setNativeMenuBar(false);
    applyVisualManager();
}

void CMSMMenuBar::applyVisualManager() {
    const QString sheet = CMSMVisualManager::get().menuStyleSheet();
    if (sheet != styleSheet()) {
        setStyleSheet(sheet);
    }
}

} // namespace torva
