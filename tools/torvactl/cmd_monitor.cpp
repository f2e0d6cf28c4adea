// monitor: live polling, each stored sample printed (and recorded) as a recording line.
#include "commands.h"
#include "diag/diag_file.h"
#include "lang/source_text.h"
#include "lang/translation.h"
#include "platform/clock.h"

#include <csignal>
#include <iostream>
#include <memory>

namespace torva::cli {

namespace {

constexpr int kDrainPeriodMs = 20;

volatile std::sig_atomic_t g_interrupted = 0;

extern "C" void onInterrupt(int) {
    g_interrupted = 1;
}

struct SMonitorOptions {
    int count = 0; // 0: until interrupted
    std::string record;
};

// Prints and records the samples stored since lastSeq; returns how many.
int drainSamples(CLPGDevice& device, CDiagFile& file, std::int32_t& lastSeq, int wanted) {
    std::vector<DiagSample> samples;
    device.diagData().copyRange(device.diagData().count(), 0, samples);
    int shown = 0;
    for (const DiagSample& sample : samples) {
        if (sample.m_seq <= lastSeq || (wanted > 0 && shown >= wanted))
            continue;
        std::cout << formatDiagLine(sample, device.config());
        if (file.isOpen())
            file.appendLine(sample, device.config());
        lastSeq = sample.m_seq;
        ++shown;
    }
    std::cout << std::flush;
    return shown;
}

void monitor(CSession& session, const SMonitorOptions& options) {
    if (!options.record.empty() && !hasRecordingExtension(options.record))
        fail(EExit::Usage, "the recording's name must end in oscd: " + options.record);
    CVeko2012Doc& doc = session.connect();
    CLPGDevice& device = doc.device();
    CDiagFile file;
    if (!options.record.empty() && !file.open(options.record))
        fail(EExit::Refused, options.record + ": cannot be created");
    if (!device.hasLiveDiagnostics())
        fail(EExit::Refused, "the controller has no live diagnostics");

    g_interrupted = 0;
    const auto previousInterrupt = std::signal(SIGINT, onInterrupt);
    const auto previousTerminate = std::signal(SIGTERM, onInterrupt);
    CPollingControl& polling = doc.polling();
    if (!polling.startPolling(std::string()))
        fail(EExit::Refused, "live polling could not be started");

    std::int32_t lastSeq = 0;
    int shown = 0;
    bool lost = false;
    while (g_interrupted == 0) {
        // Read the flag first, so samples stored before the polling gave up are still shown.
        const bool stillPolling = polling.isPolling();
        const int remaining = options.count > 0 ? options.count - shown : 0;
        shown += drainSamples(device, file, lastSeq, remaining);
        // Nobody reads the output any more (main reports why).
        if (!std::cout || (options.count > 0 && shown >= options.count))
            break;
        if (!stillPolling) {
            lost = true;
            break;
        }
        appClock().sleepMs(kDrainPeriodMs);
    }
    polling.stopPolling();
    file.close();
    std::signal(SIGINT, previousInterrupt);
    std::signal(SIGTERM, previousTerminate);
    if (lost)
        fail(EExit::NoController, translate(PL("Brak połączenia")));
}

} // namespace

void addMonitorCommand(CLI::App& app, CSession& session, const CommandSink& sink) {
    const auto options = std::make_shared<SMonitorOptions>();
    CLI::App* command = addCommand(
        app, "monitor",
        "Poll live samples and print each stored sample as a recording line (28 columns); stop "
        "after --count samples or when interrupted. A lost link exits 3",
        "torvactl monitor --count 50 --record drive.oscd");
    command->add_option("--count", options->count, "stop after N stored samples")
        ->check(CLI::PositiveNumber);
    command->add_option("--record", options->record,
                        "also write the samples to FILE as a recording (name ends in oscd)");
    command->callback(
        [&session, sink, options] { sink([&session, options] { monitor(session, *options); }); });
}

} // namespace torva::cli
