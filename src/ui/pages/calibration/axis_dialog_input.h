#pragma once

#include <optional>
#include <string>

// What the axis dialogs make of typed numbers, and the text they show for an RPM range whose
// points would repeat.
namespace torva::calibration {

// A typed number; a decimal comma counts as a point. std::nullopt for anything else, including
// empty text and trailing characters.
std::optional<double> parseTypedNumber(std::string text);

// The translated explanation for a refused RPM range whose points, rounded to hundreds, would
// repeat: it names the smallest span that works from this minimum.
std::string rpmPointsRepeatText(double minRpm);

} // namespace torva::calibration
