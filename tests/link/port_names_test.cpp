#include "link/port_names.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <unistd.h>

using namespace torva;
namespace fs = std::filesystem;

TEST(PortNames, NumbersAndPathsMapBothWays) {
    const std::vector<std::pair<int, std::string>> pairs{
        {1, "/dev/ttyS0"},     {32, "/dev/ttyS31"},  {33, "/dev/ttyUSB0"},
        {96, "/dev/ttyUSB63"}, {97, "/dev/ttyACM0"}, {160, "/dev/ttyACM63"},
    };
    for (const auto& [number, path] : pairs) {
        EXPECT_EQ(devicePathForPort(number), path);
        EXPECT_EQ(portForDevicePath(path), number);
    }
    for (const int number : {-1, 0, 161, 256})
        EXPECT_EQ(devicePathForPort(number), "") << number;
    for (const char* path : {"/dev/ttyS32", "/dev/ttyS01", "/dev/ttyUSB", "/dev/ttyUSB-1",
                             "/dev/pts/3", "/tmp/ttyS0", "ttyS0", ""})
        EXPECT_EQ(portForDevicePath(path), 0) << path;
    EXPECT_EQ(portForDevicePath("/dev/../dev/ttyS2"), 3);
}

TEST(PortNames, PresentPortsSkipLegacyUartsWithoutHardware) {
    const fs::path root = fs::temp_directory_path() / ("ports-" + std::to_string(getpid()));
    const fs::path sys = root / "sys";
    const fs::path dev = root / "dev";
    const auto addTty = [&](const std::string& name, bool device, const char* type, bool node) {
        fs::create_directories(sys / name);
        if (device)
            fs::create_directories(sys / name / "device");
        if (type)
            std::ofstream(sys / name / "type") << type << '\n';
        if (node) {
            fs::create_directories(dev);
            std::ofstream(dev / name).put('\0');
        }
    };
    addTty("ttyS0", true, "4", true);     // a 16550A: present
    addTty("ttyS1", true, "0", true);     // legacy node, no UART
    addTty("ttyS2", false, "4", true);    // no device behind it
    addTty("ttyS3", true, nullptr, true); // no type reported
    addTty("ttyUSB1", true, nullptr, true);
    addTty("ttyACM0", true, nullptr, false); // no device node
    addTty("ttyACM5", true, nullptr, true);
    addTty("tty7", true, nullptr, true);

    EXPECT_EQ(presentPorts(sys.string(), dev.string()), (std::vector<int>{1, 34, 102}));
    fs::remove_all(root);
}
