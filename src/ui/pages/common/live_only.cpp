#include "ui/pages/common/live_only.h"

#include "link/lpg_device.h"
#include "ui/pages/common/page_texts.h"

#include <QVariant>
#include <QWidget>

namespace torva {

namespace {

// The reason (a Polish source text), and what the control had before offline mode took it.
constexpr const char* kReason = "torvaLiveOnlyReason";
constexpr const char* kTaken = "torvaLiveOnlyTaken";
constexpr const char* kKeptToolTip = "torvaLiveOnlyToolTip";

void apply(QWidget* control, bool offline) {
    const bool taken = control->property(kTaken).toBool();
    if (offline) {
        if (!taken) {
            control->setProperty(kKeptToolTip, control->toolTip());
            control->setProperty(kTaken, true);
        }
        control->setEnabled(false);
        // Translated now, so a language change while offline is followed on the next apply.
        const char* reason = static_cast<const char*>(control->property(kReason).value<void*>());
        control->setToolTip(translatedText(reason));
        return;
    }
    if (taken) {
        control->setEnabled(true);
        control->setToolTip(control->property(kKeptToolTip).toString());
        control->setProperty(kTaken, false);
    }
}

} // namespace

void markLiveOnly(QWidget* control, const char* reason) {
    control->setProperty(kReason,
                         QVariant::fromValue(static_cast<void*>(const_cast<char*>(reason))));
}

void applyLiveOnly(QWidget* root, const CLPGDevice& device) {
    const bool offline = device.isOffline();
    if (root->property(kReason).isValid())
        apply(root, offline);
    for (QWidget* control : root->findChildren<QWidget*>()) {
        if (control->property(kReason).isValid())
            apply(control, offline);
    }
}

} // namespace torva
