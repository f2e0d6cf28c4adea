#include "platform/settings_store.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>

namespace torva {

namespace fs = std::filesystem;

CSettingsStore::CSettingsStore(std::string path)
    : m_path(path.empty() ? defaultPath() : std::move(path)) {
    load();
}

std::string CSettingsStore::defaultPath() {
    const char* xdg = std::getenv("XDG_CONFIG_HOME");
    const char* home = std::getenv("HOME");
    std::string base = xdg && *xdg ? xdg : std::string(home && *home ? home : "/tmp") + "/.config";
    return base + "/torva-diesel/settings";
}

void CSettingsStore::load() {
    std::ifstream in(m_path);
    std::string line;
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        const auto eq = line.find('=');
        if (eq != std::string::npos && eq > 0)
            m_values[line.substr(0, eq)] = line.substr(eq + 1);
    }
}

std::string CSettingsStore::value(const std::string& key) const {
    const auto it = m_values.find(key);
    return it == m_values.end() ? std::string() : it->second;
}

bool CSettingsStore::setValue(const std::string& key, const std::string& value) {
    m_values[key] = value;
    std::error_code ec;
    fs::create_directories(fs::path(m_path).parent_path(), ec);
    // Write beside and rename, so a crash never leaves a half-written file.
    const std::string temp = m_path + ".tmp";
    {
        std::ofstream out(temp, std::ios::trunc);
        for (const auto& [k, v] : m_values)
            out << k << '=' << v << '\n';
        if (!out.flush())
            return false;
    }
    fs::rename(temp, m_path, ec);
    return !ec;
}

} // namespace torva
