#pragma once

#include <QDialog>

class QLabel;
class QPushButton;

namespace torva {

// Shown when no controller answered: start in demo mode (accept) or without a controller
// (reject). Takes its texts already translated.
class CNoConnectionDlg : public QDialog {
    Q_OBJECT
public:
    struct STexts {
        QString text;
        QString caption;
        QString demoButton;
        QString withoutButton;
    };

    explicit CNoConnectionDlg(const STexts& texts, QWidget* parent = nullptr);

    QPushButton* demoButton() const { return m_demo; }
    QPushButton* withoutButton() const { return m_without; }

private:
    QLabel* m_text;
    QPushButton* m_demo;
    QPushButton* m_without;
};

} // namespace torva
