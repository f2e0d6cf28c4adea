#pragma once

#include <string>

namespace torva {

class CSettingsStore;

// The port the controller last answered on, remembered for the next start. The number alone
// does not survive a renumbered USB adapter or a pseudo-terminal, so the device path is kept
// beside it.
struct SLastPort {
    int number = 0;   // 0: none, or a device without a port number
    std::string path; // empty: none remembered
};

inline constexpr const char* kLastPortNumberKey = "LastRsNr";
inline constexpr const char* kLastPortPathKey = "LastRsPath";

// A missing or empty value reads as 0; otherwise its leading digits are the number
// (text without them reads as 0).
SLastPort readLastPort(const CSettingsStore& store);
// False when the store could not be written.
bool storeLastPort(CSettingsStore& store, const SLastPort& port);

} // namespace torva
