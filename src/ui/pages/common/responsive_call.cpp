#include "ui/pages/common/responsive_call.h"

#include <QApplication>
#include <QThread>

#include <chrono>
#include <exception>
#include <future>
#include <thread>

namespace torva {

namespace {

int g_running = 0;

bool onWindowThread() {
    return qApp != nullptr && QThread::currentThread() == qApp->thread();
}

// The wait cursor for a scope on the window's thread.
class CWaitCursor {
public:
    CWaitCursor() : m_shown(onWindowThread()) {
        if (m_shown) {
            QApplication::setOverrideCursor(Qt::WaitCursor);
        }
    }
    ~CWaitCursor() {
        if (m_shown) {
            QApplication::restoreOverrideCursor();
        }
    }
    CWaitCursor(const CWaitCursor&) = delete;
    CWaitCursor& operator=(const CWaitCursor&) = delete;

private:
    bool m_shown;
};

// Runs operation on a helper thread and processes the window's events of the given kinds until
// it has ended; its exception is raised here again.
void runOnHelperThread(const std::function<void()>& operation,
                       QEventLoop::ProcessEventsFlags eventsMeanwhile) {
    ++g_running;
    std::packaged_task<void()> task(operation);
    std::future<void> done = task.get_future();
    std::thread worker(std::move(task));
    using namespace std::chrono_literals;
    while (done.wait_for(10ms) != std::future_status::ready) {
        QCoreApplication::processEvents(eventsMeanwhile, 10);
    }
    worker.join();
    --g_running;
    done.get();
}

} // namespace

bool responsiveCallRunning() {
    return g_running > 0;
}

void runResponsively(const std::function<void()>& operation) {
    if (!onWindowThread()) {
        operation();
        return;
    }
    CWaitCursor cursor;
    runOnHelperThread(operation, QEventLoop::ExcludeUserInputEvents);
}

void runInBackground(const std::function<void()>& operation) {
    if (!onWindowThread()) {
        operation();
        return;
    }
    runOnHelperThread(operation, QEventLoop::AllEvents);
}

} // namespace torva
