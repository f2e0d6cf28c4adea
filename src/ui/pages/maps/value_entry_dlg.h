#pragma once

#include "ui/controls/gradient_dialog.h"

#include <optional>
#include <string>

class QLabel;
class QLineEdit;
class QPushButton;

namespace torva {

// The range a map tool takes, with its ends as the map shows them ("0.0", "20.0").
struct SEntryRange {
    double min = 0;
    double max = 0;
    std::string minText;
    std::string maxText;
};

// The typed text as a number within the range (a decimal comma counts as a point), or
// std::nullopt when it is no number or lies outside.
std::optional<double> valueInRange(const std::string& typed, const SEntryRange& range);
// Why such an entry is refused, translated, naming the range.
std::string valueRangeText(const SEntryRange& range);

// Asks for the number of a map tool ("Ustaw wartość...", "Dodaj...", "Pomnóż o procent...").
// The field takes any text, so nothing typed is dropped unseen; OK accepts only a number within
// the range, and otherwise says why and stays open.
class CValueEntryDlg : public CGradientDialog {
    Q_OBJECT
public:
    CValueEntryDlg(const QString& title, const QString& label, const QString& start,
                   SEntryRange range, QWidget* parent = nullptr);

    // After OK.
    double value() const { return m_value; }

    QLineEdit* field() const { return m_field; }
    QPushButton* okButton() const { return m_ok; }
    QLabel* problemLabel() const { return m_problem; }

private:
    void OnOK();

    SEntryRange m_range;
    double m_value = 0;
    QLineEdit* m_field = nullptr;
    QLabel* m_problem = nullptr;
    QPushButton* m_ok = nullptr;
};

} // namespace torva
