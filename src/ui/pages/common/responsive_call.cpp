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
    ++g_running;
    std::packaged_task<void()> task(operation);
    std::future<void> done = task.get_future();
    std::thread worker(std::move(task));
    using namespace std::chrono_literals;
    while (done.wait_for(10ms) != std::future_status::ready) {
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents, 10);
    }
    worker.join();
    --g_running;
    done.get();
}

} // namespace torva
