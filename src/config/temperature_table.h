#pragma once

#include <cstdint>

namespace torva {

// The controller's temperature codes: one byte per reading, one table column per sensor type
// (0-3), whole degrees Celsius falling as the code rises. Used by the configuration blocks and
// by the live sample.
constexpr int kTemperatureSensorTypes = 4;

// Degrees Celsius of a code for a sensor type. Types outside 0-3 (a damaged block or file) read
// with column 0, the factory sensor type, instead of running off the table.
double temperatureFromCode(std::uint8_t code, std::uint8_t sensorType);

// The smallest code whose temperature is at or below the wanted one. A temperature colder than
// the whole column gets the coldest code 255 (not code 0, which would mean the hottest), one a
// whole degree hotter than the column gets code 0; both count as clamped (rounding.h).
std::uint8_t codeFromTemperature(double celsius, std::uint8_t sensorType);

} // namespace torva
