#include "ui/pages/common/value_combo.h"

#include "lang/translation.h"

#include <QSignalBlocker>

namespace torva {

CValueCombo::CValueCombo(QWidget* parent) : QComboBox(parent) {
    setFocusPolicy(Qt::StrongFocus);
    connect(this, &QComboBox::activated, this, &CValueCombo::onActivated);
}

void CValueCombo::onActivated() {
    const std::optional<int> chosen = selectedValue();
    if (!chosen)
        return;
    if (chosen == m_shown) {
        selectValue(*chosen); // another spelling of the same value shows as before
        return;
    }
    m_shown = chosen;
    emit valueChosen();
}

void CValueCombo::setItems(const SValueList& list) {
    const QSignalBlocker quiet(this);
    m_list = list;
    clear();
    for (const SValueItem& item : m_list.items)
        addItem(shownText(item), item.value);
    setCurrentIndex(-1);
    m_shown.reset();
}

bool CValueCombo::selectValue(int value) {
    const QSignalBlocker quiet(this);
    const std::optional<std::size_t> index = m_list.lastIndexOf(value);
    setCurrentIndex(index ? static_cast<int>(*index) : -1);
    m_shown = index ? std::optional<int>(value) : std::nullopt;
    return index.has_value();
}

void CValueCombo::selectNothing() {
    const QSignalBlocker quiet(this);
    setCurrentIndex(-1);
    m_shown.reset();
}

std::optional<int> CValueCombo::selectedValue() const {
    const int index = currentIndex();
    if (index < 0 || static_cast<std::size_t>(index) >= m_list.items.size())
        return std::nullopt;
    return m_list.items[static_cast<std::size_t>(index)].value;
}

void CValueCombo::retranslate() {
    if (!m_list.translated)
        return;
    const QSignalBlocker quiet(this);
    for (std::size_t i = 0; i < m_list.items.size(); ++i)
        setItemText(static_cast<int>(i), shownText(m_list.items[i]));
}

QString CValueCombo::shownText(const SValueItem& item) const {
    return QString::fromStdString(m_list.translated ? translate(item.text) : item.text);
}

} // namespace torva
