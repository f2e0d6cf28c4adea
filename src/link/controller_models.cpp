#include "link/controller_models.h"

#include "config/device_type.h"

#include <algorithm>
#include <array>

namespace torva {

namespace {

constexpr SControllerModel kA1{kDeviceType3, "KARMEL A1"};
constexpr SControllerModel kA2{kDeviceType25, "KARMEL A2"};
constexpr SControllerModel kB1{kDeviceType40, "KARMEL B1"};
constexpr SControllerModel kB2{kDeviceType37, "KARMEL B2"};

struct SReportedCode {
    std::uint8_t reported;
    SControllerModel model;
};

constexpr std::array<SReportedCode, 9> kReportedCodes{{
    {2, kA1},
    {3, kA1},
    {25, kA2},
    {26, kA2},
    {30, kA2},
    {40, kB1},
    {41, kB1},
    {37, kB2},
    {38, kB2},
}};

struct SLoaderIdentity {
    std::uint8_t subCode;
    std::uint8_t value;
    SControllerModel model;
};

constexpr std::array<SLoaderIdentity, 4> kLoaderIdentities{{
    {kLoaderQueryA1, 250, kA1},
    {kLoaderQueryOthers, 239, kA2},
    {kLoaderQueryOthers, 228, kB1},
    {kLoaderQueryOthers, 230, kB2},
}};

} // namespace

std::optional<SControllerModel> modelFromReportedCode(std::uint8_t reported) {
    const auto it =
        std::find_if(kReportedCodes.begin(), kReportedCodes.end(),
                     [reported](const auto& entry) { return entry.reported == reported; });
    return it == kReportedCodes.end() ? std::nullopt : std::optional(it->model);
}

std::optional<SControllerModel> modelFromLoaderIdentity(std::uint8_t subCode, std::uint8_t value) {
    const auto it =
        std::find_if(kLoaderIdentities.begin(), kLoaderIdentities.end(), [&](const auto& entry) {
            return entry.subCode == subCode && entry.value == value;
        });
    return it == kLoaderIdentities.end() ? std::nullopt : std::optional(it->model);
}

bool isKnownLoaderIdentity(std::uint8_t value) {
    return std::any_of(kLoaderIdentities.begin(), kLoaderIdentities.end(),
                       [value](const auto& entry) { return entry.value == value; });
}

} // namespace torva
