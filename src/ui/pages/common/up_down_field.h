#pragma once

#include "ui/pages/common/up_down_rule.h"

#include <QAbstractSpinBox>

namespace torva {

// A value with an up-down control. It shows what the page gives it in its rule's format and
// reports the user's clicks (arrows, Up/Down keys, wheel); the page applies the rule to the
// record, writes the block and shows the result. The text itself cannot be edited.
class CUpDownField : public QAbstractSpinBox {
    Q_OBJECT
public:
    explicit CUpDownField(const SUpDownRule& rule, QWidget* parent = nullptr);

    const SUpDownRule& rule() const { return m_rule; }
    // Another rule for the same field (a TPS threshold in volts or in per cent).
    void setRule(const SUpDownRule& rule) { m_rule = rule; }
    void showValue(double value);
    // An empty field: the controller holds no such value.
    void showNothing();

    void stepBy(int steps) override;

signals:
    // clicks > 0: up.
    void stepped(int clicks);

protected:
    StepEnabled stepEnabled() const override;

private:
    SUpDownRule m_rule;
};

} // namespace torva
