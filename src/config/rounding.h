#pragma once

#include <cstdint>

namespace torva {

// Half-away-from-zero rounding to a whole number (round0) or to one, two or three decimals.
// Every raw <-> display conversion goes through these. The scaled value gets a relative guard of
// 1e-9 so that decimal halves which binary doubles hold a hair below the half (1.005, 0.285, ...)
// still round away from zero, as written. A result of zero is always +0.0, never -0.0, so that
// "%.1f" never shows "-0.0".
double round0(double x);
double round1(double x);
double round2(double x);
double round3(double x);

// Truncation toward zero with the same guard, for the fields the controller expects truncated
// (map values, the RPM axis, switch delay, pressure gain, exhaust temperature limit): 0.7 * 10
// must give 7 even when the double product is 6.9999999999999991.
double truncateTowardZero(double x);

// Stores an already whole value into a field of the given width. Values outside the field's
// range are clamped to it (NaN gives 0) rather than wrapped, so a stray value never turns into
// an unrelated one on the wire.
std::uint8_t toByte(double whole);
std::uint16_t toWord(double whole);
std::uint32_t toDword(double whole);

// How many values this thread has stored into a field that could not hold them (clamped, or
// NaN), counted since the thread started. A command line compares it around an encoding to
// refuse a value before anything is written; the encoders themselves never fail.
std::uint64_t clampedStoreCount();
// Counts one such value for a conversion that handles it without clamping.
void noteClampedStore();

} // namespace torva
