#include "ui/pages/common/page_texts.h"

#include "lang/translation.h"

#include <QAbstractButton>
#include <QGroupBox>
#include <QLabel>

namespace torva {

QString translatedText(const char* text) {
    return QString::fromStdString(translate(text));
}

void CPageTexts::retranslate() const {
    for (const auto& setter : m_setters)
        setter();
}

void CPageTexts::setText(QLabel* label, const QString& text) {
    label->setText(text);
}

void CPageTexts::setText(QAbstractButton* button, const QString& text) {
    button->setText(text);
}

void CPageTexts::setText(QGroupBox* group, const QString& text) {
    group->setTitle(text);
}

} // namespace torva
