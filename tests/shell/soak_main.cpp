// torva-soak --port PATH [--minutes N] [--record FILE]: the application, offscreen, on a
// controller whose line drops answers, corrupts them and hangs up now and then (scripts/soak.sh
// starts one), recording the whole time while the injection map of the first map page is
// stepped as a fitter steps it. At the end it prints how many lost links were survived, whether
// the recording holds a line for every sample polled, and whether the controller holds every
// acknowledged edit. Exit status 0 when all of that holds, 1 when not, 2 for bad arguments.
#include "modal_answerer.h"

#include "config/block_table.h"
#include "diag/lpg_thread_manager.h"
#include "diag/poll_counters.h"
#include "diag/polling_control.h"
#include "document/veko2012_doc.h"
#include "lang/languages.h"
#include "lang/translation.h"
#include "link/lpg_device.h"
#include "maps/map_array.h"
#include "ui/controls/cell_array.h"
#include "ui/controls/multi_page_ctrl.h"
#include "ui/pages/calibration/calibration_page.h"
#include "ui/pages/maps/map_grid.h"
#include "ui/shell/main_frame.h"
#include "ui/shell/main_view.h"
#include "ui/shell/veko_app.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QKeyEvent>
#include <QPointer>
#include <QTimer>

#include <cmath>
#include <cstdio>
#include <fstream>
#include <random>
#include <string>
#include <vector>

namespace {

using namespace torva;

struct SOptions {
    std::string port;
    double minutes = 30;
    std::string recording = "/tmp/torva-soak.oscd";
};

bool parse(int argc, char** argv, SOptions& options) {
    for (int i = 1; i + 1 < argc; i += 2) {
        const std::string name = argv[i];
        if (name == "--port")
            options.port = argv[i + 1];
        else if (name == "--minutes")
            options.minutes = std::stod(argv[i + 1]);
        else if (name == "--record")
            options.recording = argv[i + 1];
        else
            return false;
    }
    return argc % 2 == 1 && !options.port.empty() && options.minutes > 0;
}

void processEventsFor(int ms) {
    QElapsedTimer timer;
    timer.start();
    while (timer.elapsed() < ms)
        QApplication::processEvents(QEventLoop::AllEvents, 20);
}

CCalibrationPage* mapPage(CMainFrame& frame) {
    const CMultiPageCtrl* pages = frame.mainView()->pageCtrl();
    for (int i = 0; pages != nullptr && i < pages->getPageCount(); ++i) {
        if (auto* page = dynamic_cast<CCalibrationPage*>(pages->getPage(i)))
            return page;
    }
    return nullptr;
}

// Time-map values as the controller stores them: tenths of a millisecond.
bool sameOnTheLine(double a, double b) {
    return std::lround(a * 10) == std::lround(b * 10);
}

std::size_t linesIn(const std::string& path) {
    std::ifstream in(path);
    std::size_t lines = 0;
    for (std::string line; std::getline(in, line);)
        ++lines;
    return lines;
}

// The stepping fitter and what came of each step.
class CDriver {
public:
    CDriver(CVeko2012App& app, test::CModalAnswerer& user) : m_app(app), m_user(user) {}

    void step() {
        CLPGDevice& device = m_app.doc().device();
        CCalibrationPage* page = mapPage(m_app.frame());
        if (page == nullptr || !page->isEnabled() || !device.isConnected() ||
            !m_app.doc().polling().isPolling() || m_app.frame().connectionWatch().attempting())
            return;
        const int row = static_cast<int>(m_random() % kMapRows);
        const int column = static_cast<int>(m_random() % kMapColumns);
        const double before = device.config().m_mapTimeEmu1[row][column];
        const bool up = before < 1.0 || (before < 19.0 && m_random() % 2 == 0);
        const int boxes = m_user.boxTexts.size();
        page->timeGrid().map().pressCell(column, row);
        QKeyEvent key(QEvent::KeyPress, up ? Qt::Key_Up : Qt::Key_Down, Qt::ControlModifier);
        QApplication::sendEvent(&page->timeGrid().view(), &key);
        ++sent;
        const double after = device.config().m_mapTimeEmu1[row][column];
        if (m_user.boxTexts.size() > boxes)
            ++failed;
        else if (after != before)
            acknowledged.push_back({row, column});
    }

    struct SCell {
        int row;
        int column;
    };
    int sent = 0;
    int failed = 0;
    std::vector<SCell> acknowledged;

private:
    CVeko2012App& m_app;
    test::CModalAnswerer& m_user;
    std::mt19937 m_random{20260115};
};

} // namespace

int main(int argc, char** argv) {
    using namespace torva;
    SOptions options;
    if (!parse(argc, argv, options)) {
        std::fprintf(stderr, "usage: torva-soak --port PATH [--minutes N] [--record FILE]\n");
        return 2;
    }
    openLanguageFiles();
    selectLanguage(kPolishLanguage);
    lpgThreadManager();
    QApplication application(argc, argv);

    test::CModalAnswerer user;
    user.chooseDemo = false;
    SAppOptions appOptions;
    appOptions.port = options.port;
    CVeko2012App app(appOptions);
    if (!app.start() || !app.doc().device().isConnected()) {
        std::fprintf(stderr, "soak: no controller on %s\n", options.port.c_str());
        return 1;
    }
    app.show();
    CLPGDevice& device = app.doc().device();
    CPollingControl& polling = app.doc().polling();
    if (mapPage(app.frame()) == nullptr) {
        std::fprintf(stderr, "soak: the controller has no map page to step (emulator 1 off)\n");
        return 1;
    }

    polling.startRecording(options.recording);
    const std::int64_t samplesBefore = storedSamples().load();

    int drops = 0;
    int returns = 0;
    int rebuilds = 0;
    bool connected = true;
    QPointer<CMultiPageCtrl> pages = app.frame().mainView()->pageCtrl();
    QTimer watch;
    QObject::connect(&watch, &QTimer::timeout, [&] {
        if (connected != device.isConnected()) {
            connected = !connected;
            ++(connected ? returns : drops);
        }
        if (pages.isNull()) {
            ++rebuilds;
            pages = app.frame().mainView()->pageCtrl();
        }
    });
    watch.start(50);
    CDriver driver(app, user);
    QTimer stepping;
    QObject::connect(&stepping, &QTimer::timeout, [&] { driver.step(); });
    stepping.start(1500);

    const int runMs = static_cast<int>(options.minutes * 60000);
    QElapsedTimer clock;
    clock.start();
    for (qint64 minute = 0; clock.elapsed() < runMs;) {
        processEventsFor(1000);
        if (clock.elapsed() / 60000 > minute) {
            minute = clock.elapsed() / 60000;
            std::fprintf(stderr, "soak: minute %lld, drops %d, edits %d\n",
                         static_cast<long long>(minute), drops, driver.sent);
        }
    }
    stepping.stop();

    // The end: the controller back on the line, the recording closed, its map read back.
    QElapsedTimer settle;
    settle.start();
    while ((!device.isConnected() || !polling.isPolling()) && settle.elapsed() < 180000)
        processEventsFor(200);
    watch.stop();
    const bool backAtEnd = device.isConnected();
    polling.stopPolling();
    const std::int64_t samples = storedSamples().load() - samplesBefore;
    const std::size_t lines = linesIn(options.recording);
    const MapValues window = device.configCopy().m_mapTimeEmu1;
    bool readBack = false;
    for (int attempt = 0; attempt < 5 && !readBack; ++attempt)
        readBack = device.readBlock(EBlock::TimeMap1);
    const MapValues held = device.configCopy().m_mapTimeEmu1;
    int heldEdits = 0;
    for (const CDriver::SCell& cell : driver.acknowledged)
        heldEdits += sameOnTheLine(held[cell.row][cell.column], window[cell.row][cell.column]);
    int differing = 0;
    for (int row = 0; row < kMapRows; ++row) {
        for (int column = 0; column < kMapColumns; ++column) {
            if (sameOnTheLine(held[row][column], window[row][column]))
                continue;
            ++differing;
            std::printf("  cell row %d column %d: window %.1f, controller %.1f\n", row, column,
                        window[row][column], held[row][column]);
        }
    }

    std::printf("soak: %.1f minutes on %s\n", clock.elapsed() / 60000.0, options.port.c_str());
    std::printf("link drops: %d, survived: %d%s\n", drops, returns,
                backAtEnd ? "" : " (not connected at the end)");
    std::printf("recording: %zu lines for %lld samples polled while connected (%lld missing)\n",
                lines, static_cast<long long>(samples),
                static_cast<long long>(samples) - static_cast<long long>(lines));
    std::printf("edits: %d sent, %zu acknowledged, %d refused by the line; acknowledged edits "
                "held by the controller: %d of %zu%s\n",
                driver.sent, driver.acknowledged.size(), driver.failed, heldEdits,
                driver.acknowledged.size(), readBack ? "" : " (map could not be read back)");
    std::printf("map cells where the window and the controller differ: %d\n", differing);
    std::printf("pages rebuilt: %d; messages shown: %lld\n", rebuilds,
                static_cast<long long>(user.boxTexts.size()));
    QStringList seen;
    for (const QString& text : user.boxTexts) {
        if (!seen.contains(text)) {
            seen << text;
            std::printf("  message: %s\n", qPrintable(QString(text).replace('\n', ' ')));
        }
    }
    const bool good = backAtEnd && readBack && drops == returns &&
                      lines == static_cast<std::size_t>(samples) &&
                      heldEdits == static_cast<int>(driver.acknowledged.size()) && differing == 0;
    std::printf("result: %s\n", good ? "PASS" : "FAIL");
    app.shutdown();
    return good ? 0 : 1;
}
