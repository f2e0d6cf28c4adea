#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>

namespace torva {

// How the controller's identity fields become text.

constexpr std::size_t kIdentifierSize = 16;

// The production date of the device information record: a count of days since 1 April 2004,
// as "%d/%m/%Y" (calendar days, so no daylight-saving shift can move the date).
std::string productionDateText(std::uint16_t daysSinceStart);

// The identifier is plain text when it starts with three ASCII letters and a digit and its last
// byte is zero; otherwise it is enciphered.
bool isPlainIdentifier(std::span<const std::uint8_t, kIdentifierSize> bytes);

// The identifier's text: the plain bytes, or the bytes deciphered under the controllers' key
// string, up to the first zero. When deciphering gives anything but printable text the
// identifier was plain after all, and its bytes are the text.
std::string decodeIdentifier(std::span<const std::uint8_t, kIdentifierSize> bytes);

} // namespace torva
