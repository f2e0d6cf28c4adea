#include "link/port_names.h"

#include <array>
#include <charconv>
#include <filesystem>
#include <fstream>

namespace torva {

namespace {

struct SPortRange {
    const char* prefix; // device name without the number
    int firstPort;
    int count;
    bool legacyUart; // nodes exist whether or not a UART is fitted
};

constexpr std::array<SPortRange, 3> kRanges{{
    {"ttyS", 1, 32, true},
    {"ttyUSB", 33, 64, false},
    {"ttyACM", 97, 64, false},
}};

constexpr const char* kDevFolder = "/dev";
constexpr const char* kSysClassTty = "/sys/class/tty";

std::string deviceName(int portNumber) {
    for (const auto& range : kRanges) {
        const int index = portNumber - range.firstPort;
        if (index >= 0 && index < range.count)
            return range.prefix + std::to_string(index);
    }
    return {};
}

bool isLegacyUart(int portNumber) {
    return portNumber >= kRanges[0].firstPort &&
           portNumber < kRanges[0].firstPort + kRanges[0].count;
}

// The number a device name like "ttyUSB3" stands for, or 0.
int portForDeviceName(const std::string& name) {
    for (const auto& range : kRanges) {
        const std::string prefix = range.prefix;
        if (name.size() <= prefix.size() || name.compare(0, prefix.size(), prefix) != 0)
            continue;
        int index = -1;
        const char* first = name.data() + prefix.size();
        const char* last = name.data() + name.size();
        const auto [end, error] = std::from_chars(first, last, index);
        const bool parsed = error == std::errc() && end == last;
        if (parsed && index >= 0 && index < range.count &&
            name == range.prefix + std::to_string(index))
            return range.firstPort + index;
    }
    return 0;
}

int portForCanonicalPath(const std::filesystem::path& path) {
    if (path.parent_path() != kDevFolder)
        return 0;
    return portForDeviceName(path.filename().string());
}

// A serial-core port reports its UART type; 0 means the kernel found no UART at that address.
bool hasUart(const std::filesystem::path& ttyFolder) {
    std::ifstream typeFile(ttyFolder / "type");
    int type = 0;
    return typeFile >> type && type != 0;
}

} // namespace

std::string devicePathForPort(int portNumber) {
    const std::string name = deviceName(portNumber);
    return name.empty() ? std::string() : std::string(kDevFolder) + "/" + name;
}

int portForDevicePath(const std::string& devicePath) {
    namespace fs = std::filesystem;
    const fs::path path(devicePath);
    if (const int port = portForCanonicalPath(path.lexically_normal()))
        return port;
    std::error_code error;
    const fs::path resolved = fs::canonical(path, error);
    return error ? 0 : portForCanonicalPath(resolved);
}

std::vector<int> presentPorts() {
    return presentPorts(kSysClassTty, kDevFolder);
}

std::vector<int> presentPorts(const std::string& sysClassTty, const std::string& devFolder) {
    namespace fs = std::filesystem;
    std::vector<int> ports;
    std::error_code error;
    for (int port = kFirstPortNumber; port <= kLastPortNumber; ++port) {
        const std::string name = deviceName(port);
        const fs::path ttyFolder = fs::path(sysClassTty) / name;
        if (!fs::exists(fs::path(devFolder) / name, error) ||
            !fs::exists(ttyFolder / "device", error))
            continue;
        if (isLegacyUart(port) && !hasUart(ttyFolder))
            continue;
        ports.push_back(port);
    }
    return ports;
}

} // namespace torva
