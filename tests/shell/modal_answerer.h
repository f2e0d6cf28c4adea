#pragma once

#include "ui/shell/no_connection_dlg.h"

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QStringList>
#include <QTimer>

namespace torva::test {

// Stands in front of the screen: answers every modal window the application opens and notes
// what it said.
class CModalAnswerer {
public:
    CModalAnswerer() {
        QObject::connect(&m_timer, &QTimer::timeout, [this] { answer(); });
        m_timer.start(10);
    }

    bool chooseDemo = true;
    QMessageBox::StandardButton questionAnswer = QMessageBox::Yes;
    QStringList boxTexts;
    int noConnectionDialogs = 0;

private:
    void answer() {
        QWidget* modal = QApplication::activeModalWidget();
        if (auto* box = qobject_cast<QMessageBox*>(modal)) {
            boxTexts << box->text();
            QAbstractButton* button = box->button(questionAnswer);
            (button != nullptr ? button : box->buttons().first())->click();
        } else if (auto* choice = qobject_cast<CNoConnectionDlg*>(modal)) {
            ++noConnectionDialogs;
            (chooseDemo ? choice->demoButton() : choice->withoutButton())->click();
        }
    }

    QTimer m_timer;
};

} // namespace torva::test
