#include "ui/controls/wheel_guard.h"

#include <QAbstractSpinBox>
#include <QApplication>
#include <QComboBox>
#include <QWheelEvent>

namespace torva {

namespace {

// The spin box or combo a wheel over watched would change: watched itself or the control its
// inner part (the text of a spin box or editable combo) belongs to.
QWidget* valueControl(QObject* watched) {
    auto* widget = qobject_cast<QWidget*>(watched);
    for (int level = 0; widget != nullptr && level < 2; ++level) {
        if (qobject_cast<QAbstractSpinBox*>(widget) || qobject_cast<QComboBox*>(widget))
            return widget;
        if (widget->isWindow())
            break;
        widget = widget->parentWidget();
    }
    return nullptr;
}

} // namespace

void CWheelGuard::install() {
    static CWheelGuard* guard = nullptr;
    if (guard == nullptr && qApp != nullptr) {
        guard = new CWheelGuard(qApp);
        qApp->installEventFilter(guard);
    }
}

bool CWheelGuard::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::Wheel)
        return false;
    QWidget* control = valueControl(watched);
    if (control == nullptr || control->hasFocus() || control->isWindow())
        return false;
    // Passed up as if the control were not there, until a parent takes it (the page's scroll
    // area); Qt itself passes only the wheel events the window system sends.
    const auto* wheel = static_cast<QWheelEvent*>(event);
    for (QWidget* parent = control->parentWidget(); parent != nullptr;
         parent = parent->parentWidget()) {
        QWheelEvent passed(parent->mapFromGlobal(wheel->globalPosition()), wheel->globalPosition(),
                           wheel->pixelDelta(), wheel->angleDelta(), wheel->buttons(),
                           wheel->modifiers(), wheel->phase(), wheel->inverted(), wheel->source());
        QCoreApplication::sendEvent(parent, &passed);
        if (passed.isAccepted() || parent->isWindow() ||
            parent->testAttribute(Qt::WA_NoMousePropagation))
            break;
    }
    return true;
}

} // namespace torva
