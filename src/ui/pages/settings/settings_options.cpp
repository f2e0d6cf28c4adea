#include "ui/pages/settings/settings_options.h"

#include "config/device_config.h"
#include "config/device_type.h"
#include "lang/source_text.h"

#include <cstdio>

namespace torva {

namespace {

constexpr std::uint8_t kDigitalTpsFlag = 0x10; // m_serviceSetup.m_advancedFlags2

constexpr std::uint16_t kMultiPulseSequence = 0x02;
constexpr std::uint16_t kSinglePulseSequence = 0x20;
constexpr std::uint16_t kCrInjectorSignal = 0x80;
constexpr std::uint16_t kInjectionControlBits =
    kMultiPulseSequence | kSinglePulseSequence | kCrInjectorSignal;

} // namespace

const ComboOptions& fuelTypeOptions() {
    static const ComboOptions options{{PL("GLP"), 0}, {PL("GPL"), 0}, {PL("LPG"), 0},
                                      {PL("GNV"), 1}, {PL("CGN"), 1}, {PL("CNG"), 1}};
    return options;
}

const ComboOptions& rpmSignalTypeOptions() {
    static const ComboOptions options{{PL("12V"), 0}, {PL("5V"), 1}};
    return options;
}

const ComboOptions& tpsTypeOptions() {
    static const ComboOptions options{
        {PL("Analogowy"), 0}, {PL("Cyfrowy"), 1}, {PL("Zewnętrzny"), 2}};
    return options;
}

const ComboOptions& pressureSensorOptions() {
    static const ComboOptions options{{PL("Standard MPXHZ6400A"), 1}, {PL("PS4250DP"), 0}};
    return options;
}

const ComboOptions& temperatureSensorOptions() {
    static const ComboOptions options{
        {PL("10 kOhm"), 0}, {PL("2.2 kOhm"), 3}, {PL("4.7 kOhm"), 2}, {PL("6.8 kOhm"), 1}};
    return options;
}

const ComboOptions& emulatorOptions() {
    static const ComboOptions options{{PL("Wyłączony"), 0}, {PL("Włączony"), 1}};
    return options;
}

const ComboOptions& injectionControlOptions() {
    static const ComboOptions options{{PL("Brak sekwencji (STD)"), 0},
                                      {PL("Sekwencja-wiele impulsów na cykl"), 2},
                                      {PL("Sekwencja-1 impuls na cykl"), 32},
                                      {PL("Sygnał wtryskiwacza CR"), 128}};
    return options;
}

const ComboOptions& ignitionOrderOptions() {
    static const ComboOptions options{{PL("R4 1-3-4-2"), 1},     {PL("R4 1-2-4-3"), 2},
                                      {PL("R6 1-5-3-6-2-4"), 4}, {PL("R6 1-4-2-6-3-5"), 5},
                                      {PL("V6 1-4-2-5-3-6"), 6}, {PL("V6 1-6-3-5-2-4"), 7}};
    return options;
}

const ComboOptions& injectorTypeOptions() {
    static const ComboOptions options{{PL("APIS SOLO 1.6 Ohm"), 14},
                                      {PL("Barracuda 1.9 Ohm"), 26},
                                      {PL("Hana 1.9 Ohm"), 18},
                                      {PL("TYPE 34"), 32}};
    return options;
}

ComboOptions mountedInjectorOptions(std::uint8_t deviceType, int injectorCount) {
    ComboOptions options;
    for (int n = 1; n <= injectorCount; ++n) {
        char text[16];
        std::snprintf(text, sizeof text, deviceType == kDeviceType37 ? "2 x %d" : "%d", n);
        options.push_back({text, n});
    }
    return options;
}

ComboOptions fuelSensorOptions(std::int32_t firmwareVersion) {
    ComboOptions options{{PL("CPP"), 0},
                         {PL("AEB 1050"), 1},
                         {PL("10 - 90 Ohm (1090)"), 4},
                         {PL("OMB 0 90 Ohm"), 11}};
    if (firmwareVersion >= kVirtualFuelSensorVersion)
        options.push_back({PL("Wirtualny"), kVirtualFuelSensor});
    options.insert(options.end(), {{PL("AEB 806"), 22},
                                   {PL("AEB 807A"), 23},
                                   {PL("CB08P CNG"), 24},
                                   {PL("Napięciowy - CNG"), 10}});
    return options;
}

int optionIndex(const ComboOptions& options, int value) {
    for (std::size_t i = 0; i < options.size(); ++i)
        if (options[i].value == value)
            return static_cast<int>(i);
    return -1;
}

ETpsType tpsType(const CDeviceConfig& config) {
    if ((config.m_serviceSetup.m_advancedFlags2 & kDigitalTpsFlag) != 0)
        return ETpsType::Digital;
    return config.tpsValuesAreRawCounts() ? ETpsType::External : ETpsType::Analog;
}

int injectionControlValue(std::uint16_t tempomatFlags) {
    if ((tempomatFlags & kMultiPulseSequence) != 0)
        return kMultiPulseSequence;
    if ((tempomatFlags & kSinglePulseSequence) != 0)
        return kSinglePulseSequence;
    if ((tempomatFlags & kCrInjectorSignal) != 0)
        return kCrInjectorSignal;
    return 0;
}

std::uint16_t withInjectionControl(std::uint16_t tempomatFlags, int value) {
    const auto bits = static_cast<std::uint16_t>(value) & kInjectionControlBits;
    return static_cast<std::uint16_t>((tempomatFlags & ~kInjectionControlBits) | bits);
}

} // namespace torva
