// Offline editing: a settings file opened in place of the controller until the window with its
// pages is painted (started with --offline, and opened from the File menu of a running window),
// and `torvactl --file F set K V` as a script runs it, from start to exit (the file written in
// one piece each time). Aims: under 0.3 s and under 50 ms.
#include "config/settings_io.h"
#include "lang/languages.h"
#include "lang/translation.h"
#include "ui/shell/main_frame.h"
#include "ui/shell/offline_commands.h"
#include "ui/shell/veko_app.h"

#include <QApplication>
#include <QPixmap>

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <memory>
#include <spawn.h>
#include <string>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

extern char** environ;

namespace torva {
namespace {

// The bench's home: the settings file, and whatever the program keeps in a home folder.
const std::filesystem::path& homeFolder() {
    static const std::filesystem::path folder =
        std::filesystem::temp_directory_path() /
        ("torva-offline-bench-" + std::to_string(::getpid()));
    return folder;
}

// A file from a 24-volt controller with every calibration page shown: the most pages to build.
std::string settingsFile() {
    static const std::string path = [] {
        const std::filesystem::path& folder = homeFolder();
        std::filesystem::create_directories(folder);
        CDeviceConfig record(std::uint8_t{25});
        record.m_timeStamp = "07-03-2014-15:04:09";
        record.m_devInfo.m_deviceID = 25;
        record.m_devInfo.m_version = 0x12F;
        record.m_devInfo.m_flags1 = 5;
        record.m_devInfo.m_serial = "DI001";
        record.m_base.m_emuEnable = {1, 1, 1, 1};
        record.m_serviceSetup.m_advancedFlags2 = 0x10;
        record.m_serviceSetup.m_tpsDigitEmuEnable = 1;
        const std::string file = (folder / "car.dsettings").string();
        writeSettings(file, record);
        return file;
    }();
    return path;
}

// Until the posted page rebuild has run and the frame is drawn.
void paint(CMainFrame& frame) {
    QApplication::processEvents();
    QApplication::processEvents();
    const QPixmap shown = frame.grab();
    benchmark::DoNotOptimize(shown.cacheKey());
}

void BM_StartOfflineToPaintedWindow(benchmark::State& state) {
    SAppOptions options;
    options.offlineFile = settingsFile();
    for (auto _ : state) {
        CVeko2012App app(options);
        if (!app.start()) {
            state.SkipWithError("the application did not start");
            return;
        }
        app.frame().resize(1280, 800);
        app.frame().show();
        paint(app.frame());
        state.PauseTiming();
        app.shutdown();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_StartOfflineToPaintedWindow)->Unit(benchmark::kMillisecond)->Iterations(5);

void BM_OpenOfflineInRunningWindow(benchmark::State& state) {
    SAppOptions options;
    options.offlineFile = settingsFile();
    CVeko2012App app(options);
    if (!app.start()) {
        state.SkipWithError("the application did not start");
        return;
    }
    app.frame().resize(1280, 800);
    app.frame().show();
    paint(app.frame());
    for (auto _ : state) {
        app.frame().offlineCommands().open(settingsFile());
        paint(app.frame());
    }
    app.shutdown();
}
BENCHMARK(BM_OpenOfflineInRunningWindow)->Unit(benchmark::kMillisecond)->Iterations(10);

double childCpuMs() {
    rusage usage{};
    ::getrusage(RUSAGE_CHILDREN, &usage);
    const auto ms = [](const timeval& time) {
        return time.tv_sec * 1000.0 + time.tv_usec / 1000.0;
    };
    return ms(usage.ru_utime) + ms(usage.ru_stime);
}

// The real program, as a script starts it; its home is the file's folder.
void BM_TorvactlFileSet(benchmark::State& state) {
    const std::string file = settingsFile();
    int rpm = 1200;
    const double cpuBefore = childCpuMs();
    for (auto _ : state) {
        rpm = rpm == 1200 ? 1500 : 1200;
        std::vector<std::string> words{TORVACTL_PROGRAM,     "--file",           file, "set",
                                       "m_base.m_switchRPM", std::to_string(rpm)};
        std::vector<char*> argv;
        for (std::string& word : words)
            argv.push_back(word.data());
        argv.push_back(nullptr);
        pid_t child = 0;
        if (::posix_spawn(&child, TORVACTL_PROGRAM, nullptr, nullptr, argv.data(), environ) != 0) {
            state.SkipWithError("torvactl could not be started");
            return;
        }
        int status = 0;
        ::waitpid(child, &status, 0);
        if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
            state.SkipWithError("torvactl failed");
            return;
        }
    }
    // The program's own processor time, apart from waiting for the disk and for a busy machine.
    state.counters["cpu_ms"] =
        benchmark::Counter((childCpuMs() - cpuBefore) / static_cast<double>(state.iterations()));
}
BENCHMARK(BM_TorvactlFileSet)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(20);

} // namespace
} // namespace torva

// Widgets need an application; without a display they draw offscreen.
int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    // Backups, the remembered port and the settings folder stay in a folder of the bench's own.
    const std::string home = torva::homeFolder().string();
    std::filesystem::create_directories(home);
    ::setenv("HOME", home.c_str(), 1);
    ::setenv("XDG_CONFIG_HOME", (home + "/.config").c_str(), 1);
    QApplication application(argc, argv);
    torva::openLanguageFiles();
    torva::selectLanguage(torva::kPolishLanguage);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) {
        return 1;
    }
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    std::filesystem::remove_all(torva::homeFolder());
    return 0;
}
