// identify: who the controller is.
#include "commands.h"

#include "json_output.h"

#include <iostream>

namespace torva::cli {

namespace {

std::string versionText(std::int32_t version) {
    return std::to_string((version >> 8) & 0xFF) + "." + std::to_string(version & 0xFF);
}

void identify(CSession& session) {
    CLPGDevice& device = session.device();
    const SDevInfo& info = device.config().m_devInfo;
    const bool liveDiagnostics = device.hasLiveDiagnostics();
    if (session.options().json) {
        const nlohmann::json identity = {
            {"model", info.m_modelName},         {"deviceID", info.m_deviceID},
            {"version", info.m_version},         {"versionText", versionText(info.m_version)},
            {"flags1", info.m_flags1},           {"flags2", info.m_flags2},
            {"injCount", info.m_injCount},       {"serial", info.m_serial},
            {"prodDate", info.m_prodDate},       {"liveDiag", liveDiagnostics},
            {"port", session.portDescription()},
        };
        printJson(identity);
        return;
    }
    std::cout << "model: " << printableText(info.m_modelName) << '\n'
              << "device-id: " << static_cast<int>(info.m_deviceID) << '\n'
              << "version: " << versionText(info.m_version) << '\n'
              << "flags1: " << info.m_flags1 << '\n'
              << "injectors: " << info.m_injCount << '\n'
              << "serial: " << printableText(info.m_serial) << '\n'
              << "production-date: " << printableText(info.m_prodDate) << '\n'
              << "live-diagnostics: " << (liveDiagnostics ? "yes" : "no") << '\n'
              << "port: " << session.portDescription() << std::endl;
}

} // namespace

void addIdentifyCommand(CLI::App& app, CSession& session, const CommandSink& sink) {
    CLI::App* command = addCommand(
        app, "identify",
        "Connect (identification and the whole configuration read) and show the controller's "
        "identity",
        "torvactl --port /dev/ttyUSB0 identify");
    command->callback([&session, sink] { sink([&session] { identify(session); }); });
}

} // namespace torva::cli
