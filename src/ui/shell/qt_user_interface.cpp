#include "ui/shell/qt_user_interface.h"

#include "lang/source_text.h"
#include "lang/translation.h"
#include "platform/clock.h"
#include "ui/pages/common/responsive_call.h"
#include "ui/shell/file_filter.h"

#include <QApplication>
#include <QDeadlineTimer>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <QProgressDialog>
#include <QThread>

namespace torva {

namespace {

QString translated(const std::string& text) {
    return QString::fromStdString(translate(text));
}

QMessageBox::Icon boxIcon(EIcon icon) {
    switch (icon) {
    case EIcon::Information:
        return QMessageBox::Information;
    case EIcon::Warning:
        return QMessageBox::Warning;
    case EIcon::Error:
        return QMessageBox::Critical;
    case EIcon::Question:
        return QMessageBox::Question;
    case EIcon::None:
        break;
    }
    return QMessageBox::NoIcon;
}

// Runs f on the window's thread later, without waiting.
template <typename F> void post(F&& f) {
    QMetaObject::invokeMethod(qApp, std::forward<F>(f), Qt::QueuedConnection);
}

} // namespace

bool onWindowThread() {
    return qApp != nullptr && QThread::currentThread() == qApp->thread();
}

CQtUserInterface::~CQtUserInterface() {
    delete m_progress;
    while (m_waitCursorDepth > 0) {
        applyWaitCursor(false);
    }
}

void CQtUserInterface::message(const std::string& text, const std::string& caption, EIcon icon) {
    const QString shown = translated(text);
    const QString title = translated(caption);
    if (onWindowThread()) {
        showMessage(shown, title, icon);
    } else if (qApp != nullptr) {
        post([this, shown, title, icon] { showMessage(shown, title, icon); });
    }
}

void CQtUserInterface::showMessage(const QString& text, const QString& caption, EIcon icon) {
    QMessageBox box(boxIcon(icon), caption, text, QMessageBox::Ok, m_owner);
    box.exec();
}

EAnswer CQtUserInterface::question(const std::string& text, const std::string& caption,
                                   EButtons buttons, EIcon icon) {
    const QString shown = translated(text);
    const QString title = translated(caption);
    if (onWindowThread()) {
        return ask(shown, title, buttons, icon);
    }
    EAnswer answer = buttons == EButtons::YesNo ? EAnswer::No : EAnswer::Cancel;
    if (qApp != nullptr) {
        QMetaObject::invokeMethod(
            qApp, [&] { answer = ask(shown, title, buttons, icon); }, Qt::BlockingQueuedConnection);
    }
    return answer;
}

EAnswer CQtUserInterface::ask(const QString& text, const QString& caption, EButtons buttons,
                              EIcon icon) {
    QMessageBox box(boxIcon(icon), caption, text, QMessageBox::NoButton, m_owner);
    switch (buttons) {
    case EButtons::Ok:
        box.setStandardButtons(QMessageBox::Ok);
        break;
    case EButtons::OkCancel:
        box.setStandardButtons(QMessageBox::Ok | QMessageBox::Cancel);
        box.setDefaultButton(QMessageBox::Ok);
        break;
    case EButtons::YesNo:
        // The questions ask before something that cannot be undone: No is the safe default.
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
        box.setDefaultButton(QMessageBox::No);
        break;
    }
    switch (box.exec()) {
    case QMessageBox::Ok:
        return EAnswer::Ok;
    case QMessageBox::Yes:
        return EAnswer::Yes;
    case QMessageBox::No:
        return EAnswer::No;
    default:
        return buttons == EButtons::YesNo ? EAnswer::No : EAnswer::Cancel;
    }
}

EAnswer CQtUserInterface::noConnectionChoice(const std::string& text, const std::string& caption,
                                             const std::string& demoButton,
                                             const std::string& withoutButton) {
    const CNoConnectionDlg::STexts texts{translated(text), translated(caption),
                                         translated(demoButton), translated(withoutButton)};
    if (onWindowThread()) {
        return askNoConnection(texts);
    }
    EAnswer answer = EAnswer::Cancel;
    if (qApp != nullptr) {
        QMetaObject::invokeMethod(
            qApp, [&] { answer = askNoConnection(texts); }, Qt::BlockingQueuedConnection);
    }
    return answer;
}

EAnswer CQtUserInterface::askNoConnection(const CNoConnectionDlg::STexts& texts) {
    // The search that asks runs under the wait cursor; the choice is the user's turn.
    QApplication::setOverrideCursor(Qt::ArrowCursor);
    CNoConnectionDlg dialog(texts, m_owner);
    const bool demo = dialog.exec() == QDialog::Accepted;
    QApplication::restoreOverrideCursor();
    return demo ? EAnswer::Ok : EAnswer::Cancel;
}

std::string CQtUserInterface::chooseFile(const SFileChoice& choice) {
    if (!onWindowThread()) {
        std::string chosen;
        if (qApp != nullptr) {
            QMetaObject::invokeMethod(
                qApp, [&] { chosen = chooseFile(choice); }, Qt::BlockingQueuedConnection);
        }
        return chosen;
    }
    const QString folder = QString::fromStdString(choice.folder);
    const QString start =
        choice.defaultName.empty() ? folder : folder + QString::fromStdString(choice.defaultName);
    const QString filter = toDialogFilter(translated(choice.filter));
    QString path = choice.save ? QFileDialog::getSaveFileName(m_owner, QString(), start, filter)
                               : QFileDialog::getOpenFileName(m_owner, QString(), start, filter);
    if (path.isEmpty()) {
        return {};
    }
    if (choice.save && !choice.defaultExtension.empty() && QFileInfo(path).suffix().isEmpty()) {
        path += QLatin1Char('.') + QString::fromStdString(choice.defaultExtension);
    }
    return path.toStdString();
}

void CQtUserInterface::progress(const std::string& text, int done, int total) {
    // The one long run that reports progress, firmware programming, names no step of its own.
    const QString shown = translated(text.empty() ? PL("Programowanie sterownika...") : text);
    if (onWindowThread()) {
        showProgress(shown, done, total);
    } else if (qApp != nullptr) {
        post([this, shown, done, total] { showProgress(shown, done, total); });
    }
}

void CQtUserInterface::showProgress(const QString& text, int done, int total) {
    if (total <= 0) {
        delete m_progress;
        return;
    }
    if (m_progress == nullptr) {
        m_progress = new QProgressDialog(m_owner);
        m_progress->setWindowTitle(QStringLiteral("TORVA"));
        m_progress->setCancelButton(nullptr);
        m_progress->setWindowModality(Qt::ApplicationModal);
        m_progress->setMinimumDuration(0);
        m_progress->setAutoClose(false);
        m_progress->setAutoReset(false);
    }
    m_progress->setLabelText(text);
    m_progress->setRange(0, total);
    m_progress->setValue(std::clamp(done, 0, total));
    m_progress->show();
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

void CQtUserInterface::setWaitCursor(bool on) {
    if (onWindowThread()) {
        applyWaitCursor(on);
    } else if (qApp != nullptr) {
        post([this, on] { applyWaitCursor(on); });
    }
}

void CQtUserInterface::applyWaitCursor(bool on) {
    if (on) {
        ++m_waitCursorDepth;
        QApplication::setOverrideCursor(Qt::WaitCursor);
    } else if (m_waitCursorDepth > 0) {
        --m_waitCursorDepth;
        QApplication::restoreOverrideCursor();
    }
}

void CQtUserInterface::responsiveWait(int ms) {
    if (!onWindowThread()) {
        appClock().sleepMs(ms);
        return;
    }
    QDeadlineTimer deadline(std::max(0, ms));
    while (!deadline.hasExpired()) {
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents,
                                        static_cast<int>(deadline.remainingTime()));
        QThread::msleep(std::min<qint64>(5, deadline.remainingTime()));
    }
}

void CQtUserInterface::runExchange(const std::function<void()>& exchange) {
    runResponsively(exchange);
}

} // namespace torva
