#include "ui/pages/common/up_down_field.h"

#include <QLineEdit>

namespace torva {

CUpDownField::CUpDownField(const SUpDownRule& rule, QWidget* parent)
    : QAbstractSpinBox(parent), m_rule(rule) {
    lineEdit()->setReadOnly(true);
    setFocusPolicy(Qt::StrongFocus);
}

void CUpDownField::showValue(double value) {
    lineEdit()->setText(QString::fromStdString(m_rule.text(value)));
}

void CUpDownField::showNothing() {
    lineEdit()->clear();
}

void CUpDownField::stepBy(int steps) {
    if (steps != 0)
        emit stepped(steps);
}

QAbstractSpinBox::StepEnabled CUpDownField::stepEnabled() const {
    return isEnabled() ? (StepUpEnabled | StepDownEnabled) : StepNone;
}

} // namespace torva
