#pragma once

#include "ui/pages/common/value_list.h"

#include <QComboBox>

#include <optional>

namespace torva {

// A combo whose items carry the values of their list. The page reacts to the user's choice
// through QComboBox::activated (a choice by the program never reaches it) and reads
// selectedValue(); retranslate() sets the texts in the new language and keeps the selection.
class CValueCombo : public QComboBox {
public:
    explicit CValueCombo(QWidget* parent = nullptr);

    void setItems(const SValueList& list);
    const SValueList& items() const { return m_list; }
    // Selects the item with this value; a value of no item leaves the combo without a
    // selection (it shows nothing the controller does not hold). False then.
    bool selectValue(int value);
    std::optional<int> selectedValue() const;
    void retranslate();

private:
    QString shownText(const SValueItem& item) const;

    SValueList m_list;
};

} // namespace torva
