#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

namespace torva {

// A controller model as the tool knows it: the code it is stored under (the device type) and its
// name, which firmware files must carry.
struct SControllerModel {
    std::uint8_t code;
    std::string_view name;

    bool operator==(const SControllerModel&) const = default;
};

// The model behind a code reported by identification or the device information; several codes
// stand for one model. std::nullopt for a code the tool does not know.
std::optional<SControllerModel> modelFromReportedCode(std::uint8_t reported);

// The model behind a loader identity answer (query sub-code and value), as reported by a
// controller without a valid application. std::nullopt for any other pair.
std::optional<SControllerModel> modelFromLoaderIdentity(std::uint8_t subCode, std::uint8_t value);

// Whether a loader identity value is one the loader of some model answers with.
bool isKnownLoaderIdentity(std::uint8_t value);

// The loader identity query sub-codes.
constexpr std::uint8_t kLoaderQueryA1 = 197;
constexpr std::uint8_t kLoaderQueryOthers = 196;

} // namespace torva
