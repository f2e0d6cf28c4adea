#pragma once

#include "config/block_table.h"
#include "ui/pages/common/up_down_rule.h"

#include <optional>
#include <string>

namespace torva {

class CDeviceConfig;

// The settings page's value fields with up-downs.
enum class ESettingsSpin {
    SwitchRpm,       // "Obroty automatycznego przełączenia:"
    TorvaDivider,    // "Dzielnik:"
    SwitchTempr,     // "Temp. automatycznego przełączenia:"
    PressureRef,     // "Ciśnienie robocze:" (bar)
    SwitchPressure,  // "Ciśnienie minimalne:" (bar)
    MinVcc,          // "Minimalne napięcie zasilania:"
    Pwm,             // "Ograniczenie napięcia:"
    PwmOffset,       // "Impuls pełnego napięcia:"
    RpmTh,           // "Próg dla sygnału obrotów:"
    MaxRpm,          // "Maksymalne obroty na gazie:"
    CrInjCutOffTime, // "Czas wtrysku CR przy cut-off [ms]"
    TpsCutOff,       // "Próg TPS odcięcia paliwa" (field by TPS type)
    TpsDetect,       // "Próg TPS" (field by TPS type)
    TurboDetect,     // "Próg Map sensor"
    RpmDetect,       // "Próg RPM"
    DetectTime,      // "Czas wykrycia"
    CamshaftTh,      // "Próg dla sygnału"
    InjDelayAngle,   // "Opóźnienie wtrysku gazu [st]"
    MinGasTempr,     // "Minimalna temperatura gazu:"
};

// What a step outside the range does: clamp limits the result to the range, refuse leaves the
// field as it was.
enum class ESpinLimit { Clamp, Refuse };

// One up-down: step per click, range and limit in display units, printf format of the shown
// value, and the block that holds the field.
struct SSpinRule {
    double step;
    double min;
    double max;
    ESpinLimit limit;
    const char* format;
    EBlock block;
};

// The rule in force for the connected controller: ranges depend on the device type, the TPS
// fields on the TPS type, and the pressure ranges on what the firmware's one-byte field holds.
SSpinRule spinRule(ESettingsSpin spin, const CDeviceConfig& config);

// The field in display units (the pressures in bar).
double spinValue(ESettingsSpin spin, const CDeviceConfig& config);
// Stores a display value into the live configuration's field.
void setSpinValue(ESettingsSpin spin, CDeviceConfig& config, double value);

// The value one click in direction (+1 up, -1 down) gives from current, or nullopt when the
// rule refuses it or nothing would change.
std::optional<double> steppedValue(const SSpinRule& rule, double current, int direction);

// One click on the live configuration; true when the field changed (the caller then writes
// the rule's block).
bool stepSpin(ESettingsSpin spin, CDeviceConfig& config, int direction);

// The rule as an up-down field shows it.
SUpDownRule upDownRule(const SSpinRule& rule);

// The field as the page shows it.
std::string formatSpinValue(ESettingsSpin spin, const CDeviceConfig& config);

} // namespace torva
