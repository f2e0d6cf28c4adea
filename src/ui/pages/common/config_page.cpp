#include "ui/pages/common/config_page.h"

#include "link/lpg_device.h"

namespace torva {

CConfigPage::CConfigPage(CLPGDevice& device, QWidget* parent)
    : CMultiPageDialog(parent), m_device(device), m_editingArea(this) {}

void CConfigPage::connectionChanged(bool connected) {
    if (m_editingArea != nullptr)
        m_editingArea->setEnabled(editingAllowed(connected));
    for (const QPointer<QWidget>& control : m_controllerControls) {
        if (control != nullptr)
            control->setEnabled(connected);
    }
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
