#include "ui/pages/common/config_page.h"

#include "lang/source_text.h"
#include "lang/translation.h"
#include "link/lpg_device.h"
#include "ui/pages/common/live_only.h"

namespace torva {

CConfigPage::CConfigPage(CLPGDevice& device, QWidget* parent)
    : CMultiPageDialog(parent), m_device(device), m_editingArea(this) {}

namespace {

// Marks a control its firmware gate holds disabled.
constexpr const char* kFirmwareGate = "torvaFirmwareGate";

} // namespace

void CConfigPage::connectionChanged(bool connected) {
    if (m_editingArea != nullptr)
        m_editingArea->setEnabled(editingAllowed(connected));
    // The offline rule is lifted first, so that online the controller rule decides, and laid
    // again last while a settings file stands in for the controller.
    applyLiveOnly(this, m_device);
    for (const QPointer<QWidget>& control : m_controllerControls) {
        if (control != nullptr)
            control->setEnabled(connected && !gated(control));
    }
    applyLiveOnly(this, m_device);
}

void CConfigPage::gateByFirmware(QWidget* control, std::optional<std::int32_t> neededFirmware) {
    const bool gate = neededFirmware.has_value();
    control->setProperty(kFirmwareGate, gate);
    control->setToolTip(gate ? firmwareNeededText(*neededFirmware) : QString());
    control->setEnabled(!gate && (!controllerControl(control) || m_device.isConnected()));
}

bool CConfigPage::controllerControl(const QWidget* control) const {
    for (const QPointer<QWidget>& known : m_controllerControls) {
        if (known == control)
            return true;
    }
    return false;
}

bool CConfigPage::gated(const QWidget* control) {
    return control->property(kFirmwareGate).toBool();
}

void CConfigPage::needsController(std::initializer_list<QWidget*> controls) {
    for (QWidget* control : controls) {
        m_controllerControls.emplace_back(control);
        control->setEnabled(m_device.isConnected() && !gated(control));
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

QString firmwareNeededText(std::int32_t version) {
    const std::string number = std::to_string(version >> 8) + "." + std::to_string(version & 0xFF);
    return QString::fromStdString(
        translateNumbered(PL("Wymaga oprogramowania sterownika v %1 lub nowszego."), {number}));
}

} // namespace torva
