#pragma once

#include <cstdint>

namespace torva {

// What choosing an injector type loads into the advanced block: "Ograniczenie napięcia:"
// (m_pwm), "Impuls pełnego napięcia:" (m_pwmOffset) and m_injectorWarmingImpulse.
struct SInjectorPreset {
    double pwm;
    double pwmOffset;
    double warmingImpulse;

    bool operator==(const SInjectorPreset&) const = default;
};

// The 24-volt controllers (25, 37) take one preset for every type; unknown types take the
// general one.
SInjectorPreset injectorPreset(std::uint8_t injectorType, std::uint8_t deviceType);

} // namespace torva
