#pragma once

#include <QDialog>

class QLabel;
class QPushButton;

namespace torva {

// Shown when no controller answered: start in demo mode (accept) or without a controller
// (reject). Texts are translated when the dialog is built.
class CNoConnectionDlg : public QDialog {
    Q_OBJECT
public:
    explicit CNoConnectionDlg(QWidget* parent = nullptr);

    // Shows the dialog modally; true when the user chose demo mode.
    static bool askForDemo(QWidget* parent);

    QPushButton* demoButton() const { return m_demo; }
    QPushButton* offlineButton() const { return m_offline; }

private:
    QLabel* m_text;
    QPushButton* m_demo;
    QPushButton* m_offline;
};

} // namespace torva
