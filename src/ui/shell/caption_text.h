#pragma once

#include <cstdint>
#include <string>

namespace torva {

class CDeviceConfig;

// The program's own version, shown in the caption and the About dialog.
constexpr const char* kProgramVersion = "v 1.44";

// A firmware version word as "v major.minor": the high byte, then the low byte in decimal.
std::string firmwareVersionText(std::int32_t version);

// The main window's caption: program, controller family, program version, firmware version
// and connection state, with " DEMO" appended in demo mode. Translated texts are looked up now.
std::string captionText(const CDeviceConfig& config, bool connected, bool demo);

// The caption while a settings file stands in for the controller: the file's name (with "*"
// while it has unsaved changes) where the connection state stands.
std::string offlineCaptionText(const CDeviceConfig& config, const std::string& fileName,
                               bool modified);

} // namespace torva
