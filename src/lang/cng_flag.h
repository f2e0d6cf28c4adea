#pragma once

namespace torva {

// Process-wide: the installation runs on CNG (bit 0x40 of the base block's advanced flags).
// Refreshed whenever the base block is read from or written to the controller; translation
// reads it to show "CNG" where a text says "LPG".
bool isCngInstallation();
void setCngInstallation(bool cng);

} // namespace torva
