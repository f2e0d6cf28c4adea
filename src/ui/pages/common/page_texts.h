#pragma once

#include <QString>

#include <functional>
#include <vector>

class QAbstractButton;
class QGroupBox;
class QLabel;

namespace torva {

// The translated form of a Polish source text, for a widget.
QString translatedText(const char* text);

// The fixed texts of a page: each widget is given its text now and again on every
// retranslate(), so a language change reaches every caption without a list kept by hand.
class CPageTexts {
public:
    template <class Widget> Widget* track(Widget* widget, const char* text) {
        m_setters.emplace_back([widget, text] { setText(widget, translatedText(text)); });
        m_setters.back()();
        return widget;
    }
    // A caption made of the translated word and a number: "Termopara 3".
    template <class Widget> Widget* trackNumbered(Widget* widget, const char* word, int number) {
        m_setters.emplace_back([widget, word, number] {
            setText(widget, translatedText(word) + QStringLiteral(" %1").arg(number));
        });
        m_setters.back()();
        return widget;
    }
    void retranslate() const;

private:
    static void setText(QLabel* label, const QString& text);
    static void setText(QAbstractButton* button, const QString& text);
    static void setText(QGroupBox* group, const QString& text);

    std::vector<std::function<void()>> m_setters;
};

} // namespace torva
