#include "link/device_identity.h"

#include "link/cipher.h"

#include <algorithm>
#include <chrono>
#include <cstdio>

namespace torva {

namespace {

bool isAsciiLetter(std::uint8_t byte) {
    return (byte >= 'A' && byte <= 'Z') || (byte >= 'a' && byte <= 'z');
}

bool isDigit(std::uint8_t byte) {
    return byte >= '0' && byte <= '9';
}

bool isPrintable(char byte) {
    return byte >= 0x20 && byte < 0x7F;
}

// The key string every controller enciphers its identifier under.
constexpr const char* kIdentifierKey = "6A1F4E2B-93C7-4d05-8E61-B7D2C48A90F3";

std::string upToFirstZero(const std::string& text) {
    return text.substr(0, text.find('\0'));
}

} // namespace

std::string productionDateText(std::uint16_t daysSinceStart) {
    using namespace std::chrono;
    const year_month_day date{sys_days{year{2004} / April / 1} + days{daysSinceStart}};
    char text[16];
    std::snprintf(text, sizeof text, "%02u/%02u/%04d", static_cast<unsigned>(date.day()),
                  static_cast<unsigned>(date.month()), static_cast<int>(date.year()));
    return text;
}

bool isPlainIdentifier(std::span<const std::uint8_t, kIdentifierSize> bytes) {
    return isAsciiLetter(bytes[0]) && isAsciiLetter(bytes[1]) && isAsciiLetter(bytes[2]) &&
           isDigit(bytes[3]) && bytes[15] == 0;
}

std::string decodeIdentifier(std::span<const std::uint8_t, kIdentifierSize> bytes) {
    const std::string raw(bytes.begin(), bytes.end());
    if (isPlainIdentifier(bytes))
        return upToFirstZero(raw);
    // The plain-text test misses plain identifiers of other shapes ("DI001"); deciphering one
    // gives bytes no identifier has, so anything but printable text means it was plain.
    const std::string deciphered = upToFirstZero(CCipher().decipher(kIdentifierKey, raw));
    if (!deciphered.empty() && std::all_of(deciphered.begin(), deciphered.end(), isPrintable))
        return deciphered;
    return upToFirstZero(raw);
}

} // namespace torva
