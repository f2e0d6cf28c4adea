#pragma once

#include "ui/pages/common/value_list.h"

#include <QComboBox>

#include <optional>

namespace torva {

// A combo whose items carry the values of their list. The page shows the record with
// selectValue, reacts to the user's choice through valueChosen (a choice by the program never
// reaches it) and reads selectedValue(); retranslate() sets the texts in the new language and
// keeps the selection.
//
// valueChosen comes only when the chosen value differs from the one shown before: choosing
// the item that is already selected again changes nothing, so it must neither write nor reset.
class CValueCombo : public QComboBox {
    Q_OBJECT
public:
    explicit CValueCombo(QWidget* parent = nullptr);

    void setItems(const SValueList& list);
    const SValueList& items() const { return m_list; }
    // Selects the item with this value (the last one, where several spellings share a value,
    // as "GLP", "GPL" and "LPG" do); a value of no item leaves the combo without a selection
    // (it shows nothing the controller does not hold). False then.
    bool selectValue(int value);
    // Shows no item: the record holds no value of the list.
    void selectNothing();
    std::optional<int> selectedValue() const;
    void retranslate();

signals:
    // The user chose an item whose value differs from the one shown before.
    void valueChosen();

private:
    void onActivated();
    QString shownText(const SValueItem& item) const;

    SValueList m_list;
    std::optional<int> m_shown; // the value shown before the user's choice
};

} // namespace torva
