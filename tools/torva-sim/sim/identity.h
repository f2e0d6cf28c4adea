#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace torva::sim {

// Who the simulated controller says it is.
struct SimIdentity {
    std::uint8_t modelCode = 25;         // reported as is, also codes the PC does not know
    std::uint8_t liveDiagnostics = 0x55; // byte 2 of the identification answer
    std::uint16_t version = 0x012F;      // high byte major, low byte minor
    std::uint32_t flags1 = 5;
    std::uint32_t flags2 = 0;
    std::uint8_t injectorCount = 6;
    std::uint16_t productionDays = 4312; // days since 1 April 2004: 21/01/2016
    std::string identifier = "DI001";    // at most 16 characters
    bool enciphered = false;
    // Overrides of what the loader answers; by default they follow the model code.
    std::optional<std::uint8_t> loaderSubCode;
    std::optional<std::uint8_t> loaderIdentity;
};

// What a model code implies for the loader, the flash and the supply voltage.
struct ModelTraits {
    std::uint8_t loaderSubCode;
    std::uint8_t loaderIdentity;
    std::uint32_t flashEnd;   // in address units
    std::uint32_t eraseBlock; // in address units
    bool twentyFourVolt;
};

// Codes the PC does not know behave like the 24-volt A2 family.
ModelTraits modelTraits(std::uint8_t modelCode);

} // namespace torva::sim
