#include "ui/pages/egt/egt_rules.h"

#include "config/device_config.h"
#include "config/device_type.h"

#include <cstdio>

namespace torva {

namespace {

constexpr std::int32_t kKnockVersionType37 = 300;
constexpr std::int32_t kKnockVersionType25 = 304;

} // namespace

bool knockShown(const SDevInfo& info) {
    return (info.m_deviceID == kDeviceType37 && info.m_version >= kKnockVersionType37) ||
           (info.m_deviceID == kDeviceType25 && info.m_version >= kKnockVersionType25);
}

bool thermocouplesEditable(const SDevInfo& info) {
    return info.m_version >= kTempomatBlockVersion;
}

bool exhaustReadDue(std::uint16_t mask, bool knockVisible) {
    return mask != 0 || knockVisible;
}

bool thermocoupleWatched(std::uint16_t mask, std::size_t thermocouple) {
    return (mask >> thermocouple & 1U) != 0;
}

std::uint16_t withThermocouple(std::uint16_t mask, std::size_t thermocouple, bool watched) {
    const auto bit = static_cast<std::uint16_t>(1U << thermocouple);
    return static_cast<std::uint16_t>(watched ? mask | bit : mask & ~bit);
}

std::string temperatureText(std::uint16_t degrees) {
    return std::to_string(degrees);
}

std::string knockLevelText(std::uint16_t level) {
    char text[16];
    std::snprintf(text, sizeof text, "%.2f", knockVolts(level));
    return text;
}

const SValueList& knockFrequencies() {
    static const SValueList list = SValueList::positional(
        {"1.22",  "1.26",  "1.31",  "1.35",  "1.40",  "1.45",  "1.51",  "1.57",  "1.63",  "1.71",
         "1.78",  "1.87",  "1.96",  "2.07",  "2.18",  "2.31",  "2.46",  "2.54",  "2.62",  "2.71",
         "2.81",  "2.92",  "3.03",  "3.15",  "3.28",  "3.43",  "3.59",  "3.76",  "3.95",  "4.16",
         "4.39",  "4.66",  "4.95",  "5.12",  "5.29",  "5.48",  "5.68",  "5.90",  "6.12",  "6.37",
         "6.64",  "6.94",  "7.27",  "7.63",  "8.02",  "8.46",  "8.95",  "9.50",  "10.12", "10.46",
         "10.83", "11.22", "11.65", "12.10", "12.60", "13.14", "13.72", "14.36", "15.07", "15.84",
         "16.71", "17.67", "18.76", "19.98"});
    return list;
}

const SValueList& knockIntegrationTimes() {
    static const SValueList list = SValueList::positional(
        {"40",  "45",  "50",  "55",  "60",  "65",  "70",  "75",  "80",  "90",  "100",
         "110", "120", "130", "140", "150", "160", "180", "200", "220", "240", "260",
         "280", "300", "320", "360", "400", "440", "480", "520", "560", "600"});
    return list;
}

const SValueList& knockGains() {
    static const SValueList list = SValueList::positional(
        {"2.000", "1.882", "1.778", "1.684", "1.600", "1.523", "1.455", "1.391", "1.333", "1.280",
         "1.231", "1.185", "1.143", "1.063", "1.000", "0.944", "0.895", "0.850", "0.810", "0.773",
         "0.739", "0.708", "0.680", "0.654", "0.630", "0.607", "0.586", "0.567", "0.548", "0.500",
         "0.471", "0.444", "0.421", "0.400", "0.381", "0.364", "0.348", "0.333", "0.320", "0.308",
         "0.296", "0.286", "0.276", "0.267", "0.258", "0.250", "0.236", "0.222", "0.211", "0.200",
         "0.190", "0.182", "0.174", "0.167", "0.160", "0.154", "0.148", "0.143", "0.138", "0.133",
         "0.129", "0.125", "0.118", "0.111"});
    return list;
}

} // namespace torva
