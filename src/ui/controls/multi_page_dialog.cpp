#include "ui/controls/multi_page_dialog.h"

#include "ui/controls/dialog_scaling.h"
#include "ui/controls/msm_visual_manager.h"

#include <QPainter>

namespace torva {

CMultiPageDialog::CMultiPageDialog(QWidget* parent) : QWidget(parent) {}

void CMultiPageDialog::init() {
    if (m_initialised) {
        return;
    }
    m_initialised = true;
    onInit();
}

void CMultiPageDialog::activate() {
    m_active = true;
    show();
    onActivate();
}

void CMultiPageDialog::deactivate() {
    m_active = false;
    hide();
    onDeactivate();
}

void CMultiPageDialog::focus() {
    for (QWidget* widget = nextInFocusChain(); widget && widget != this;
         widget = widget->nextInFocusChain()) {
        if (isAncestorOf(widget) && widget->isVisibleTo(this) && widget->isEnabled() &&
            (widget->focusPolicy() & Qt::TabFocus)) {
            widget->setFocus(Qt::OtherFocusReason);
            return;
        }
    }
    setFocus(Qt::OtherFocusReason);
}

QRect CMultiPageDialog::dialog2AppSize(const QRect& designRect) const {
    return scaleDesignRect(designRect, m_designSize, size());
}

void CMultiPageDialog::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    CMSMVisualManager::get().fillBackground(painter, rect());
}

} // namespace torva
