#include "link/demo_engine.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <numbers>

namespace torva {

namespace {

// (second of the drive, rpm, pedal) points; between them the engine eases from one to the next.
struct SDrivePoint {
    double second;
    double rpm;
    double pedal;
};

constexpr std::array<SDrivePoint, 14> kDrive{{
    {0, 800, 0.0},    // idle
    {6, 820, 0.0},    //
    {9, 1800, 0.55},  // pulling away
    {13, 2700, 0.8},  // accelerating
    {16, 2100, 0.35}, // next gear
    {24, 2250, 0.4},  // cruising
    {28, 3300, 0.95}, // overtaking
    {33, 3700, 0.65}, //
    {38, 2400, 0.3},  // cruising again
    {46, 2600, 0.5},  // a hill
    {50, 1900, 0.1},  // slowing down
    {56, 1000, 0.0},  //
    {60, 800, 0.0},   // idle until the drive starts again
    {kDemoDriveSeconds, 800, 0.0},
}};

struct SDriveInput {
    double rpm;
    double pedal;
};

SDriveInput driveAt(double seconds) {
    const double t = std::fmod(std::max(seconds, 0.0), kDemoDriveSeconds);
    const auto next =
        std::upper_bound(kDrive.begin(), kDrive.end(), t,
                         [](double at, const SDrivePoint& p) { return at < p.second; });
    const SDrivePoint& to = next == kDrive.end() ? kDrive.back() : *next;
    const SDrivePoint& from = next == kDrive.begin() ? kDrive.front() : *(next - 1);
    const double span = to.second - from.second;
    const double x = span > 0 ? (t - from.second) / span : 0.0;
    const double ease = (1.0 - std::cos(std::numbers::pi * x)) / 2.0;
    return {from.rpm + (to.rpm - from.rpm) * ease, from.pedal + (to.pedal - from.pedal) * ease};
}

// The engine's load behind the pedal: the turbo needs a moment, and a faster engine breathes more.
double loadAt(double seconds) {
    constexpr int kSteps = 6;
    constexpr double kLagSeconds = 0.4;
    double pedal = 0;
    for (int i = 0; i < kSteps; ++i)
        pedal += driveAt(seconds - i * kLagSeconds).pedal;
    pedal /= kSteps;
    const double rpm = driveAt(seconds).rpm;
    return std::clamp(0.1 + 0.78 * pedal + 0.08 * (rpm - 800.0) / 2900.0, 0.0, 1.0);
}

// A first-order rise from start to target with the given time constant.
double warming(double seconds, double start, double target, double timeConstant) {
    return target - (target - start) * std::exp(-std::max(seconds, 0.0) / timeConstant);
}

} // namespace

SDemoEngineState demoEngineAt(double secondsSinceStart) {
    const double t = std::max(secondsSinceStart, 0.0);
    const SDriveInput drive = driveAt(t);
    SDemoEngineState state;
    // A running engine never holds its speed to the rpm: a small wobble keeps it alive.
    state.rpm = drive.rpm + 15.0 * std::sin(t * 2.3) + 8.0 * std::sin(t * 5.1);
    state.pedal =
        std::clamp(drive.pedal + (drive.pedal > 0 ? 0.01 * std::sin(t * 3.7) : 0.0), 0.0, 1.0);
    state.load = loadAt(t);
    state.engineTemperature = warming(t, 20.0, 86.0, 150.0);
    state.gasTemperature = warming(t, 15.0, 38.0, 240.0);
    // The exhaust follows the load over a few seconds, and starts cold.
    double recentLoad = 0;
    constexpr int kExhaustSteps = 8;
    for (int i = 0; i < kExhaustSteps; ++i)
        recentLoad += loadAt(t - i * 0.75);
    recentLoad /= kExhaustSteps;
    state.exhaustTemperature = warming(t, 40.0, 190.0 + 430.0 * recentLoad, 40.0);
    return state;
}

} // namespace torva
