#pragma once

#include <QDialog>

namespace torva {

// The program icon, the program name with its version, and OK.
class CAboutDlg : public QDialog {
    Q_OBJECT
public:
    explicit CAboutDlg(QWidget* parent = nullptr);
};

} // namespace torva
