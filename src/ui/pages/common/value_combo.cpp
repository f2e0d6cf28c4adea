#include "ui/pages/common/value_combo.h"

#include "lang/translation.h"

#include <QSignalBlocker>

namespace torva {

CValueCombo::CValueCombo(QWidget* parent) : QComboBox(parent) {
    setFocusPolicy(Qt::StrongFocus);
}

void CValueCombo::setItems(const SValueList& list) {
    const QSignalBlocker quiet(this);
    m_list = list;
    clear();
    for (const SValueItem& item : m_list.items)
        addItem(shownText(item), item.value);
    setCurrentIndex(-1);
}

bool CValueCombo::selectValue(int value) {
    const QSignalBlocker quiet(this);
    const std::optional<std::size_t> index = m_list.indexOf(value);
    setCurrentIndex(index ? static_cast<int>(*index) : -1);
    return index.has_value();
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
