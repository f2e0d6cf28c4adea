#pragma once

#include "platform/user_interface.h"
#include "ui/shell/no_connection_dlg.h"

#include <QPointer>

class QProgressDialog;
class QWidget;

namespace torva {

// The desktop application's user interface: translated message boxes, questions and file
// dialogs over the main window, a progress dialog, the wait cursor and waits that keep the
// window painting.
//
// Calls may come from any thread. Messages, progress and the cursor from another thread are
// passed to the window's thread without waiting for them (that thread may itself be waiting
// for the caller, e.g. while polling stops). A question from another thread waits for the
// answer; only operations that the window's thread runs responsively ask questions.
class CQtUserInterface : public IUserInterface {
public:
    CQtUserInterface() = default;
    ~CQtUserInterface() override;

    // The window dialogs are centred on; nullptr centres them on the screen.
    void setOwner(QWidget* owner) { m_owner = owner; }

    void message(const std::string& text, const std::string& caption, EIcon icon) override;
    EAnswer question(const std::string& text, const std::string& caption, EButtons buttons,
                     EIcon icon) override;
    std::string chooseFile(const SFileChoice& choice) override;
    // CNoConnectionDlg: Ok for demo mode, Cancel for work without a controller.
    EAnswer noConnectionChoice(const std::string& text, const std::string& caption,
                               const std::string& demoButton,
                               const std::string& withoutButton) override;
    void progress(const std::string& text, int done, int total) override;
    void setWaitCursor(bool on) override;
    // On the window's thread: processes pending events (user input excepted, so no second
    // command starts inside the first) until ms have passed. Elsewhere: a plain sleep.
    void responsiveWait(int ms) override;
    // On the window's thread: the exchange runs on a helper thread while the window paints
    // (runResponsively). Elsewhere: it runs here.
    void runExchange(const std::function<void()>& exchange) override;

private:
    void showMessage(const QString& text, const QString& caption, EIcon icon);
    EAnswer ask(const QString& text, const QString& caption, EButtons buttons, EIcon icon);
    EAnswer askNoConnection(const CNoConnectionDlg::STexts& texts);
    void showProgress(const QString& text, int done, int total);
    void applyWaitCursor(bool on);

    QPointer<QWidget> m_owner;
    QPointer<QProgressDialog> m_progress;
    int m_waitCursorDepth = 0;
};

// True when called on the thread that runs the application's windows.
bool onWindowThread();

} // namespace torva
