#pragma once

#include <map>
#include <string>

namespace torva {

// A small key=value file under the XDG config folder ($XDG_CONFIG_HOME/torva-diesel/settings),
// standing in for the per-user registry key. Every set writes the file at once.
class CSettingsStore {
public:
    // Uses path when given (tests), else the per-user file.
    explicit CSettingsStore(std::string path = {});

    // The stored text, or an empty text when the key is absent.
    std::string value(const std::string& key) const;
    // Stores value; returns false when the file could not be written.
    bool setValue(const std::string& key, const std::string& value);
    const std::string& path() const { return m_path; }

    static std::string defaultPath();

private:
    void load();
    std::string m_path;
    std::map<std::string, std::string> m_values;
};

} // namespace torva
