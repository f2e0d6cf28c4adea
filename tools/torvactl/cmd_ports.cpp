// ports: the serial ports present, as the port search sees them.
#include "commands.h"
#include "link/port_names.h"

#include <filesystem>
#include <fstream>
#include <iostream>

namespace torva::cli {

namespace {

std::string firstLineOf(const std::filesystem::path& path) {
    std::ifstream file(path);
    std::string line;
    std::getline(file, line);
    return line;
}

// The adapter's own name where the kernel knows it, else the kind of port.
std::string describePort(const std::string& devicePath) {
    const std::string name = std::filesystem::path(devicePath).filename().string();
    const std::filesystem::path device = "/sys/class/tty/" + name + "/device";
    std::error_code error;
    const std::filesystem::path usbInterface = std::filesystem::canonical(device, error);
    if (!error) {
        for (std::filesystem::path folder = usbInterface; folder.has_relative_path();
             folder = folder.parent_path()) {
            const std::string product = firstLineOf(folder / "product");
            if (!product.empty())
                return product;
        }
    }
    if (name.starts_with("ttyUSB"))
        return "USB serial adapter";
    if (name.starts_with("ttyACM"))
        return "USB CDC serial device";
    return "on-board serial port";
}

} // namespace

void addPortsCommand(CLI::App& app, CSession&, const CommandSink& sink) {
    CLI::App* command = addCommand(app, "ports", "List the serial ports present", "torvactl ports");
    command->callback([sink] {
        sink([] {
            for (const int number : presentPorts()) {
                const std::string path = devicePathForPort(number);
                std::cout << number << '\t' << path << '\t' << describePort(path) << '\n';
            }
        });
    });
}

} // namespace torva::cli
