// torva-sim: a controller on a pseudo-terminal, for practice without a car and for tests.
#include "sim/simulator.h"

#include <CLI/CLI.hpp>

#include <algorithm>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <ctime>
#include <iostream>
#include <optional>
#include <random>
#include <string>

using namespace torva::sim;

namespace {

// A number in decimal or with a 0x prefix that must fit below limit.
unsigned long parseNumber(const std::string& text, unsigned long limit, const std::string& what) {
    std::size_t used = 0;
    unsigned long value = 0;
    try {
        value = std::stoul(text, &used, 0);
    } catch (const std::exception&) {
        used = 0;
    }
    if (used == 0 || used != text.size() || text.front() == '-' || value > limit)
        throw CLI::ValidationError(what, "'" + text + "' is not a number from 0 to " +
                                             std::to_string(limit));
    return value;
}

// "1.47" (major.minor) or a raw version number such as 303 or 0x12F.
std::uint16_t parseVersion(const std::string& text) {
    const std::string plain = !text.empty() && text.front() == 'v' ? text.substr(1) : text;
    const std::size_t dot = plain.find('.');
    if (dot == std::string::npos)
        return static_cast<std::uint16_t>(parseNumber(plain, 0xFFFF, "--version"));
    const unsigned long major = parseNumber(plain.substr(0, dot), 255, "--version");
    const unsigned long minor = parseNumber(plain.substr(dot + 1), 255, "--version");
    return static_cast<std::uint16_t>((major << 8) | minor);
}

std::string oneLine(std::string text) {
    std::replace(text.begin(), text.end(), '\n', ' ');
    while (!text.empty() && text.back() == ' ')
        text.pop_back();
    return text;
}

struct Options {
    int model = 25;
    std::string version = "1.47";
    std::string liveDiagnostics = "0x55";
    std::string flags1 = "5";
    std::string flags2 = "0";
    int injectors = 6;
    int productionDays = 4312;
    std::string identifier = "DI001";
    bool enciphered = false;
    bool loader = false;
    bool compactSample = false;
    int modeDelayMs = 500;
    std::string link;
    bool pace = false;
    int dropPercent = 0;
    int corruptPercent = 0;
    int noisePercent = 0;
    int splitPercent = 0;
    int wrongCodePercent = 0;
    int noiseBytes = 2;
    int splitGapMs = 30;
    unsigned seed = 1;
    bool trace = false;
    std::string hangupEvery;
    int awayMs = 2000;
    std::string swapTo;
};

// "40-90" or "60": seconds between two hang-ups, chosen at random in the range.
struct SHangupRange {
    int minSeconds = 0;
    int maxSeconds = 0;
};

SHangupRange parseHangupRange(const std::string& text) {
    const std::size_t dash = text.find('-');
    SHangupRange range;
    range.minSeconds = static_cast<int>(parseNumber(text.substr(0, dash), 86400, "--hangup-every"));
    range.maxSeconds =
        dash == std::string::npos
            ? range.minSeconds
            : static_cast<int>(parseNumber(text.substr(dash + 1), 86400, "--hangup-every"));
    if (range.minSeconds < 1 || range.maxSeconds < range.minSeconds)
        throw CLI::ValidationError("--hangup-every",
                                   "'" + text + "' is no range of seconds such as 40-90");
    return range;
}

void addOptions(CLI::App& app, Options& o) {
    app.add_option("--model", o.model, "model code the controller reports (any 0-255)")
        ->check(CLI::Range(0, 255));
    app.add_option("--version", o.version, "firmware version, 1.47 or a number such as 0x12F");
    app.add_option("--live-diag", o.liveDiagnostics,
                   "byte 2 of the identification answer (0x55: live data available)");
    app.add_option("--flags1", o.flags1, "flag word 1 of the device information");
    app.add_option("--flags2", o.flags2, "flag word 2 of the device information");
    app.add_option("--injectors", o.injectors, "number of injectors")->check(CLI::Range(0, 255));
    app.add_option("--production-days", o.productionDays,
                   "production date, days since 1 April 2004")
        ->check(CLI::Range(0, 65535));
    app.add_option("--identifier", o.identifier,
                   "identifier (serial number), at most 16 characters")
        ->check([](const std::string& text) {
            return text.size() <= 16 ? std::string{} : "longer than 16 characters";
        });
    app.add_flag("--enciphered", o.enciphered, "report the identifier enciphered");
    app.add_flag("--loader", o.loader, "start without a valid application, in the loader");
    app.add_flag("--compact-sample", o.compactSample, "answer live samples in the older layout");
    app.add_option("--mode-delay-ms", o.modeDelayMs, "time a mode switch takes to show")
        ->check(CLI::Range(0, 60000));
    app.add_option("--link", o.link, "also make a symbolic link to the device at this path");
    app.add_flag("--pace", o.pace, "answer no faster than a 38400 baud line");
    auto percent = CLI::Range(0, 100);
    app.add_option("--drop-percent", o.dropPercent, "answers left out")->check(percent);
    app.add_option("--corrupt-percent", o.corruptPercent, "answers with a bad checksum")
        ->check(percent);
    app.add_option("--noise-percent", o.noisePercent, "answers with noise before the header")
        ->check(percent);
    app.add_option("--split-percent", o.splitPercent, "answers sent in two parts")->check(percent);
    app.add_option("--wrong-code-percent", o.wrongCodePercent, "answers with a wrong code")
        ->check(percent);
    app.add_option("--noise-bytes", o.noiseBytes, "noise bytes before a header")
        ->check(CLI::Range(1, 64));
    app.add_option("--split-gap-ms", o.splitGapMs, "gap inside a split answer")
        ->check(CLI::Range(0, 5000));
    app.add_option("--seed", o.seed, "seed of the simulator's random choices");
    app.add_flag("--trace", o.trace, "print every request and answer");
}

// What can change when the line comes back as another controller.
void addLineOptions(CLI::App& app, Options& o) {
    app.add_option("--hangup-every", o.hangupEvery,
                   "hang up every N seconds, or at a random time in MIN-MAX (SIGUSR1: now)");
    app.add_option("--away-ms", o.awayMs, "how long a hang-up lasts before the line comes back")
        ->check(CLI::Range(0, 3600000));
    app.add_option("--swap-to", o.swapTo,
                   "come back from every other hang-up as this controller, given by options "
                   "such as \"--model 40 --identifier TRV0099 --version 1.52\"");
}

SimConfig configFrom(const Options& o) {
    SimConfig config;
    SimIdentity& id = config.controller.identity;
    id.modelCode = static_cast<std::uint8_t>(o.model);
    id.version = parseVersion(o.version);
    id.liveDiagnostics =
        static_cast<std::uint8_t>(parseNumber(o.liveDiagnostics, 255, "--live-diag"));
    id.flags1 = static_cast<std::uint32_t>(parseNumber(o.flags1, 0xFFFFFFFF, "--flags1"));
    id.flags2 = static_cast<std::uint32_t>(parseNumber(o.flags2, 0xFFFFFFFF, "--flags2"));
    id.injectorCount = static_cast<std::uint8_t>(o.injectors);
    id.productionDays = static_cast<std::uint16_t>(o.productionDays);
    id.identifier = o.identifier;
    id.enciphered = o.enciphered;
    config.controller.noValidApplication = o.loader;
    config.controller.compactLiveSample = o.compactSample;
    config.controller.modeDelayMs = o.modeDelayMs;
    config.controller.seed = o.seed;
    config.pace = o.pace;
    config.linkPath = o.link;
    return config;
}

void applyFaults(CSimulator& sim, const Options& o) {
    sim.setFaultPercent(FaultKind::Drop, o.dropPercent);
    sim.setFaultPercent(FaultKind::CorruptChecksum, o.corruptPercent);
    sim.setFaultPercent(FaultKind::Noise, o.noisePercent);
    sim.setFaultPercent(FaultKind::Split, o.splitPercent);
    sim.setFaultPercent(FaultKind::WrongCode, o.wrongCodePercent);
    sim.setNoiseBytes(o.noiseBytes);
    sim.setSplitGapMs(o.splitGapMs);
}

using Clock = std::chrono::steady_clock;

struct SLinePlan {
    std::optional<SHangupRange> hangups;
    int awayMs = 0;
    ControllerSettings first;
    std::optional<ControllerSettings> swapped;
    unsigned seed = 1;
};

// Answers until a stop signal, hanging up when planned or on SIGUSR1 and coming back after the
// away time (as the other controller every other time, when there is one). Each hang-up and
// return is told on standard error with the seconds since start.
int runLine(CSimulator& sim, const SLinePlan& plan) {
    sigset_t signals;
    sigemptyset(&signals);
    for (int signal : {SIGINT, SIGTERM, SIGHUP, SIGUSR1})
        sigaddset(&signals, signal);
    std::mt19937 random(plan.seed + 3);
    const Clock::time_point started = Clock::now();
    const auto nextHangup = [&]() -> std::optional<Clock::time_point> {
        if (!plan.hangups)
            return std::nullopt;
        std::uniform_int_distribution<int> seconds(plan.hangups->minSeconds,
                                                   plan.hangups->maxSeconds);
        return Clock::now() + std::chrono::seconds(seconds(random));
    };
    const auto tell = [&](const char* what) {
        const auto seconds =
            std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - started).count();
        std::fprintf(stderr, "torva-sim: %.1f s: %s\n", seconds / 1000.0, what);
    };
    std::optional<Clock::time_point> hangupAt = nextHangup();
    std::optional<Clock::time_point> backAt;
    bool swappedIn = false;
    while (true) {
        const std::optional<Clock::time_point> due = backAt ? backAt : hangupAt;
        const auto waitMs =
            due ? std::max<std::int64_t>(
                      0, std::chrono::duration_cast<std::chrono::milliseconds>(*due - Clock::now())
                             .count())
                : 1000;
        const timespec wait{static_cast<time_t>(waitMs / 1000),
                            static_cast<long>(waitMs % 1000) * 1000000L};
        const int received = sigtimedwait(&signals, nullptr, &wait);
        if (received == SIGINT || received == SIGTERM || received == SIGHUP)
            break;
        const bool hangupNow =
            !backAt && (received == SIGUSR1 || (hangupAt && Clock::now() >= *hangupAt));
        if (hangupNow) {
            sim.hangUp();
            tell("hung up");
            backAt = Clock::now() + std::chrono::milliseconds(plan.awayMs);
            continue;
        }
        if (backAt && (received == SIGUSR1 || Clock::now() >= *backAt)) {
            if (plan.swapped) {
                swappedIn = !swappedIn;
                sim.replaceController(swappedIn ? *plan.swapped : plan.first);
            }
            try {
                sim.comeBack();
            } catch (const std::exception& error) {
                std::cerr << "torva-sim: cannot come back: " << oneLine(error.what()) << "\n";
                return 1;
            }
            tell(swappedIn ? "back as the other controller" : "back");
            backAt.reset();
            hangupAt = nextHangup();
        }
    }
    sim.stop();
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    CLI::App app{"torva-sim - a dual-fuel engine controller on a pseudo-terminal"};
    Options options;
    addOptions(app, options);
    addLineOptions(app, options);
    SimConfig config;
    try {
        app.parse(argc, argv);
        config = configFrom(options);
    } catch (const CLI::CallForHelp& help) {
        return app.exit(help);
    } catch (const CLI::Error& error) {
        std::cerr << "torva-sim: " << oneLine(error.what()) << " (see torva-sim --help)\n";
        return 2;
    }

    std::optional<SHangupRange> hangups;
    std::optional<ControllerSettings> swapped;
    try {
        if (!options.hangupEvery.empty())
            hangups = parseHangupRange(options.hangupEvery);
        if (!options.swapTo.empty()) {
            CLI::App other{"the controller that comes back"};
            Options otherOptions = options;
            addOptions(other, otherOptions);
            other.parse(options.swapTo, false);
            swapped = configFrom(otherOptions).controller;
        }
    } catch (const CLI::Error& error) {
        std::cerr << "torva-sim: " << oneLine(error.what()) << " (see torva-sim --help)\n";
        return 2;
    }

    // Block the stop and hang-up signals before the answering thread starts, so only
    // sigtimedwait sees them.
    sigset_t signals;
    sigemptyset(&signals);
    for (int signal : {SIGINT, SIGTERM, SIGHUP, SIGUSR1})
        sigaddset(&signals, signal);
    pthread_sigmask(SIG_BLOCK, &signals, nullptr);

    CSimulator sim(config);
    applyFaults(sim, options);
    if (options.trace)
        sim.setObserver([](const TranscriptEntry& entry) {
            std::fprintf(stderr, "%s\n", CTranscript::format(entry).c_str());
        });
    try {
        sim.start();
    } catch (const std::exception& error) {
        std::cerr << "torva-sim: cannot start: " << oneLine(error.what()) << "\n";
        return 1;
    }
    std::cout << sim.devicePath() << std::endl;
    std::cerr << "torva-sim: model code " << options.model << ", firmware " << options.version
              << (options.loader ? ", no valid application (loader)" : "") << "; open "
              << (config.linkPath.empty() ? sim.devicePath() : config.linkPath)
              << " as the serial port; Ctrl+C stops\n";
    return runLine(sim, {hangups, options.awayMs, config.controller, swapped, options.seed});
}
