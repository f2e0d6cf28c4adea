#include "link/last_port.h"

#include "platform/settings_store.h"

#include <cctype>
#include <climits>

namespace torva {

namespace {

// atoi's rule without its overflow: optional blanks and sign, then the digits.
int leadingNumber(const std::string& text) {
    std::size_t i = 0;
    while (i < text.size() && std::isspace(static_cast<unsigned char>(text[i])))
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-'))
        negative = text[i++] == '-';
    long long value = 0;
    for (; i < text.size() && std::isdigit(static_cast<unsigned char>(text[i])); ++i) {
        value = value * 10 + (text[i] - '0');
        if (value > INT_MAX)
            return 0; // no port has such a number
    }
    return static_cast<int>(negative ? -value : value);
}

} // namespace

SLastPort readLastPort(const CSettingsStore& store) {
    return {leadingNumber(store.value(kLastPortNumberKey)), store.value(kLastPortPathKey)};
}

bool storeLastPort(CSettingsStore& store, const SLastPort& port) {
    const bool numberStored = store.setValue(kLastPortNumberKey, std::to_string(port.number));
    const bool pathStored = store.setValue(kLastPortPathKey, port.path);
    return numberStored && pathStored;
}

} // namespace torva
