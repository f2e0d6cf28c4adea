#pragma once

#include <QObject>

namespace torva {

// The application-wide rule for the mouse wheel: a wheel over a spin box or combo that does not
// have the keyboard focus scrolls whatever holds it (the page) and changes nothing. A control
// changes its value only after a click, a key, or a wheel while it has the focus, so scrolling a
// long page never rewrites the settings under the pointer.
class CWheelGuard : public QObject {
    Q_OBJECT
public:
    using QObject::QObject;

    // Installs one guard on the application (once; later calls do nothing).
    static void install();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
};

} // namespace torva
