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

// An exchange this short passes without a sign; a longer one shows the wait cursor.
constexpr auto kQuietTime = std::chrono::milliseconds(300);

bool onWindowThread() {
    return qApp != nullptr && QThread::currentThread() == qApp->thread();
}

// The wait cursor for the rest of a scope on the window's thread, once shown.
class CLateWaitCursor {
public:
    CLateWaitCursor() = default;
    ~CLateWaitCursor() {
        if (m_shown) {
            QApplication::restoreOverrideCursor();
        }
    }
    CLateWaitCursor(const CLateWaitCursor&) = delete;
    CLateWaitCursor& operator=(const CLateWaitCursor&) = delete;

    void show() {
        if (!m_shown) {
            m_shown = true;
            QApplication::setOverrideCursor(Qt::WaitCursor);
        }
    }

private:
    bool m_shown = false;
};

// Runs operation on a helper thread and processes the window's events of the given kinds until
// it has ended; its exception is raised here again. cursor (when given) is shown once the
// operation has taken longer than kQuietTime.
void runOnHelperThread(const std::function<void()>& operation,
                       QEventLoop::ProcessEventsFlags eventsMeanwhile, CLateWaitCursor* cursor) {
    ++g_running;
    std::packaged_task<void()> task(operation);
    std::future<void> done = task.get_future();
    std::thread worker(std::move(task));
    using namespace std::chrono_literals;
    const auto started = std::chrono::steady_clock::now();
    while (done.wait_for(10ms) != std::future_status::ready) {
        if (cursor != nullptr && std::chrono::steady_clock::now() - started > kQuietTime) {
            cursor->show();
        }
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
    CLateWaitCursor cursor;
    runOnHelperThread(operation, QEventLoop::ExcludeUserInputEvents, &cursor);
}

void runInBackground(const std::function<void()>& operation) {
    if (!onWindowThread()) {
        operation();
        return;
    }
    runOnHelperThread(operation, QEventLoop::AllEvents, nullptr);
}

} // namespace torva
