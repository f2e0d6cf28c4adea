#pragma once

#include <vector>

namespace torva {

// How much of a bar gauge is filled: value's place between minimum and maximum, limited to
// 0…1. A range that is empty or reversed, and a value that is not a number, fill nothing.
double barFraction(double value, double minimum, double maximum);

// Where the marks of a scale with the given number of divisions sit, as fractions of the
// scale's length from 0 to 1 inclusive; no marks for fewer than one division.
std::vector<double> scaleMarks(int divisions);

} // namespace torva
