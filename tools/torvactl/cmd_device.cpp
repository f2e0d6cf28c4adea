// faults, stats and mode: the controller's stored faults, running times and fuel mode.
#include "commands.h"
#include "lang/source_text.h"
#include "lang/translation.h"
#include "link/device_errors.h"

#include "json_output.h"

#include <cstdio>
#include <iostream>
#include <memory>

namespace torva::cli {

namespace {

constexpr const char* kFaultReadFailed = PL("Nie można wczytać błędów urządzenia");
constexpr const char* kFaultClearFailed = PL("Nie powiodło się skasowanie błędów!");
constexpr const char* kGasFailed = PL("Nie powiodło się przełączenie na LPG!");
constexpr const char* kDieselFailed = PL("Nie powiodło się przełączenie na diesla!");
constexpr const char* kAutoFailed = PL("Nie powiodło się przełączenie w tryb AUTO!");

void faults(CSession& session, bool clear) {
    CLPGDevice& device = session.device();
    if (clear) {
        // The controller's reset is what clears its stored faults.
        if (!device.resetDevice())
            fail(EExit::Refused, translate(kFaultClearFailed));
        return;
    }
    const CDeviceErrorList decoders;
    const std::optional<std::vector<std::string>> texts = device.readErrorTexts(decoders);
    if (!texts)
        fail(EExit::Refused, translate(kFaultReadFailed));
    if (session.options().json) {
        printJson(nlohmann::json{{"faults", *texts}});
        return;
    }
    for (std::size_t i = 0; i < texts->size(); ++i)
        std::cout << i + 1 << '\t' << (*texts)[i] << '\n';
    std::cout << std::flush;
}

// Half-seconds as "%4d h: %02d min".
std::string runningTime(std::uint32_t halfSeconds) {
    const auto seconds = static_cast<long long>(halfSeconds * 0.5);
    const long long hours = seconds / 3600;
    const long long minutes = seconds / 60 - hours * 60;
    char text[48];
    std::snprintf(text, sizeof text, "%4lld h: %02lld min", hours, minutes);
    return text;
}

void stats(CSession& session) {
    CLPGDevice& device = session.device();
    if (!device.readStatistics())
        fail(EExit::Refused, "the controller did not send its statistics");
    const SStatistic& statistic = device.config().m_devInfo.m_statistic;
    if (session.options().json) {
        const nlohmann::json values = {
            {"diesel", runningTime(statistic.gas)},
            {"gas", runningTime(statistic.lpg)},
            {"dieselHalfSeconds", statistic.gas},
            {"gasHalfSeconds", statistic.lpg},
        };
        printJson(values);
        return;
    }
    std::cout << "diesel: " << runningTime(statistic.gas) << '\n'
              << "gas: " << runningTime(statistic.lpg) << std::endl;
}

void mode(CSession& session, const std::string& wanted) {
    CLPGDevice& device = session.device();
    if (wanted == "gas") {
        if (!device.switchToGas())
            fail(EExit::Refused, translate(kGasFailed));
    } else if (wanted == "diesel") {
        if (!device.switchToDiesel())
            fail(EExit::Refused, translate(kDieselFailed));
    } else if (!device.switchToAuto()) {
        fail(EExit::Refused, translate(kAutoFailed));
    }
}

} // namespace

void addDeviceCommands(CLI::App& app, CSession& session, const CommandSink& sink) {
    const auto clear = std::make_shared<bool>(false);
    CLI::App* faultsCommand = addCommand(
        app, "faults", "Read the controller's fault list (number from 1, TAB, text), or clear it",
        "torvactl --lang 1 faults\n  torvactl faults --clear");
    faultsCommand->add_flag("--clear", *clear, "clear the stored faults instead of reading them");
    faultsCommand->callback(
        [&session, sink, clear] { sink([&session, clear] { faults(session, *clear); }); });

    CLI::App* statsCommand = addCommand(
        app, "stats", "Read the running-time statistics (diesel and gas)", "torvactl stats");
    statsCommand->callback([&session, sink] { sink([&session] { stats(session); }); });

    const auto wanted = std::make_shared<std::string>();
    CLI::App* modeCommand = addCommand(app, "mode", "Switch the fuel mode", "torvactl mode diesel");
    modeCommand->add_option("MODE", *wanted, "diesel, gas or auto")
        ->required()
        ->check(CLI::IsMember({"diesel", "gas", "auto"}));
    modeCommand->callback(
        [&session, sink, wanted] { sink([&session, wanted] { mode(session, *wanted); }); });
}

} // namespace torva::cli
