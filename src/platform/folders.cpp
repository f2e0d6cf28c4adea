#include "platform/folders.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <system_error>

#ifndef TORVA_DATA_DIR
#define TORVA_DATA_DIR "/usr/local/share/torva-diesel"
#endif
#ifndef TORVA_DATA_DIR_FROM_BIN
#define TORVA_DATA_DIR_FROM_BIN "../share/torva-diesel"
#endif

namespace torva {

namespace fs = std::filesystem;

namespace {

std::string withSlash(std::string path) {
    if (path.empty() || path.back() != '/')
        path += '/';
    return path;
}

std::string homeFolder() {
    const char* home = std::getenv("HOME");
    return home && *home ? home : "/tmp";
}

std::string configHome() {
    const char* xdg = std::getenv("XDG_CONFIG_HOME");
    return xdg && *xdg ? xdg : homeFolder() + "/.config";
}

// Reads XDG_DOCUMENTS_DIR="$HOME/..." from user-dirs.dirs.
std::string documentsFromUserDirs() {
    std::ifstream in(configHome() + "/user-dirs.dirs");
    std::string line;
    const std::string key = "XDG_DOCUMENTS_DIR=";
    while (std::getline(in, line)) {
        if (line.rfind(key, 0) != 0)
            continue;
        std::string value = line.substr(key.size());
        if (value.size() >= 2 && value.front() == '"' && value.back() == '"')
            value = value.substr(1, value.size() - 2);
        if (value.rfind("$HOME", 0) == 0)
            value = homeFolder() + value.substr(5);
        // A documents folder equal to home means "not configured" to XDG.
        if (!value.empty() && fs::path(value) != fs::path(homeFolder()))
            return value;
    }
    return {};
}

} // namespace

std::string documentsFolder() {
    std::string folder = documentsFromUserDirs();
    if (folder.empty())
        folder = homeFolder() + "/Documents";
    return withSlash(folder);
}

std::string executableFolder() {
    std::error_code ec;
    fs::path exe = fs::read_symlink("/proc/self/exe", ec);
    if (ec)
        return withSlash(fs::current_path(ec).string());
    return withSlash(exe.parent_path().string());
}

std::string programDataFolder(const std::string& name) {
    std::error_code ec;
    const std::string beside = executableFolder() + name;
    if (fs::is_directory(beside, ec))
        return withSlash(beside);
    // Installed: relative to the program first, so a package unpacked elsewhere (a test root)
    // uses its own data rather than another installation's.
    const fs::path installed = fs::path(executableFolder()) / TORVA_DATA_DIR_FROM_BIN / name;
    if (fs::is_directory(installed, ec))
        return withSlash(installed.lexically_normal().string());
    return withSlash(std::string(TORVA_DATA_DIR) + "/" + name);
}

void createFolders(const std::string& folder) {
    std::error_code ec;
    fs::create_directories(folder, ec);
}

} // namespace torva
