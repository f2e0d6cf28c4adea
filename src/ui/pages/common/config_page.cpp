#include "ui/pages/common/config_page.h"

#include "link/lpg_device.h"
#include "ui/pages/common/live_only.h"

namespace torva {

CConfigPage::CConfigPage(CLPGDevice& device, QWidget* parent)
    : CMultiPageDialog(parent), m_device(device) {}

void CConfigPage::connectionChanged(bool connected) {
    // The offline rule is lifted first, so that online the controller rule decides, and laid
    // again last while a settings file stands in for the controller.
    applyLiveOnly(this, m_device);
    for (const QPointer<QWidget>& control : m_controllerControls) {
        if (control != nullptr)
            control->setEnabled(connected);
    }
    applyLiveOnly(this, m_device);
}

void CConfigPage::needsController(std::initializer_list<QWidget*> controls) {
    for (QWidget* control : controls) {
        m_controllerControls.emplace_back(control);
        control->setEnabled(m_device.isConnected());
    }
}

void CConfigPage::onActivate() {
    fillFromConfig();
}

void fillConfigPage(QWidget* page, bool connected) {
    if (auto* editing = dynamic_cast<IConfigPage*>(page)) {
        editing->fillFromConfig();
        editing->connectionChanged(connected);
    }
}

void tellConnectionChanged(QWidget* page, bool connected) {
    if (auto* editing = dynamic_cast<IConfigPage*>(page))
        editing->connectionChanged(connected);
}

} // namespace torva
