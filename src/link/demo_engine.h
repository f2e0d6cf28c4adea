#pragma once

namespace torva {

// The demo car's engine: a drive that repeats every kDemoDriveSeconds (idle, pulling away,
// cruising, an overtake, slowing down to idle) on an engine that warms up after its start. It is
// a function of the time since the start alone, so a test on a fake clock sees the drive a
// fitter sees.
constexpr double kDemoDriveSeconds = 64.0;

struct SDemoEngineState {
    double rpm = 0;
    double pedal = 0;              // accelerator pedal, 0...1
    double load = 0;               // engine load, 0...1; follows the pedal a little late
    double engineTemperature = 0;  // coolant at the reducer, °C
    double gasTemperature = 0;     // °C
    double exhaustTemperature = 0; // °C
};

SDemoEngineState demoEngineAt(double secondsSinceStart);

} // namespace torva
