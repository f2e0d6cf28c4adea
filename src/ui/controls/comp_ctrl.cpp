#include "ui/controls/comp_ctrl.h"

#include <QLayout>

namespace torva {

CCompCtrl::CCompCtrl(QWidget* parent) : QWidget(parent) {}

bool CCompCtrl::CreateFromStatic(const QString& placeholderName, QWidget* parent) {
    if (!parent || placeholderName.isEmpty()) {
        return false;
    }
    return CreateFromStatic(parent->findChild<QWidget*>(placeholderName));
}

bool CCompCtrl::CreateFromStatic(QWidget* placeholder) {
    if (!placeholder || placeholder == this || !placeholder->parentWidget()) {
        return false;
    }
    QWidget* host = placeholder->parentWidget();
    const bool visible = placeholder->isVisibleTo(host);
    setParent(host);
    setGeometry(placeholder->geometry());
    setSizePolicy(placeholder->sizePolicy());
    setMinimumSize(placeholder->minimumSize());
    setMaximumSize(placeholder->maximumSize());
    setObjectName(placeholder->objectName());
    if (QLayout* layout = host->layout()) {
        delete layout->replaceWidget(placeholder, this);
    }
    stackUnder(placeholder); // keeps the placeholder's place among overlapping siblings
    delete placeholder;
    setVisible(visible);
    return true;
}

} // namespace torva
