#pragma once

#include "config/axis_definition.h"

#include <optional>
#include <string>

// What the axis dialogs make of typed numbers, and the texts that say why they refuse a range.
namespace torva::calibration {

// A typed number; a decimal comma counts as a point. std::nullopt for anything else, including
// empty text and trailing characters.
std::optional<double> parseTypedNumber(std::string text);

// The translated explanation for a refused RPM range whose points, rounded to hundreds, would
// repeat: it names the smallest span that works from this minimum.
std::string rpmPointsRepeatText(double minRpm);

// The translated reason a dialog refuses its fields: the rule a field broke (empty for None);
// minRpm names the smallest working span when the RPM points would repeat.
std::string axisFaultText(EAxisFault fault, double minRpm);
// For a field that holds no number.
std::string notANumberText();

} // namespace torva::calibration
