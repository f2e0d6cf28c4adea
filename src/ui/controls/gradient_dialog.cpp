#include "ui/controls/gradient_dialog.h"

#include "ui/controls/msm_visual_manager.h"

#include <QPainter>

namespace torva {

CGradientDialog::CGradientDialog(QWidget* parent) : QDialog(parent) {}

void CGradientDialog::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    CMSMVisualManager::get().fillBackground(painter, rect());
}

} // namespace torva
