// axis: a channel's load axis (and the RPM axis) regenerated from its end points, as the axis
// dialogs do it.
#include "commands.h"
#include "config/axis_definition.h"
#include "document/axis_update.h"
#include "key_lookup.h"
#include "lang/source_text.h"
#include "lang/translation.h"
#include "settings_values.h"

#include "json_output.h"

#include <cstdio>
#include <iostream>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace torva::cli {

namespace {

constexpr const char* kWriteFailed = PL("Nie powiodło się wpisanie ustawień do urządzenia!");
constexpr const char* kRpmAxisName = "rpm";

struct SAxisArguments {
    std::string axis; // "1"-"5" or "rpm"
    double min = 0;
    double max = 0;
    bool precise = false;
    std::optional<double> rpmMin;
    std::optional<double> rpmMax;
};

std::string number(double value) {
    char text[32];
    std::snprintf(text, sizeof text, "%g", value);
    return text;
}

std::string rpmRisingAdvice(double minRpm) {
    const std::optional<double> smallest = smallestRisingMaxRpm(minRpm);
    if (!smallest)
        return "no maximum up to " + number(kRpmHighest) + " gives rising points from " +
               number(minRpm) + "; a span of " + number(kRpmSpanAlwaysRising) + " rpm always does";
    return "from " + number(minRpm) + " the maximum must be at least " + number(*smallest) +
           " (a span of " + number(*smallest - minRpm) + " rpm)";
}

// The refusal's text; the RPM options are named as the command takes them.
std::string describe(EAxisFault fault, double minRpm, const std::string& rpmMinOption,
                     const std::string& rpmMaxOption) {
    switch (fault) {
    case EAxisFault::None:
        break;
    case EAxisFault::MinValueOutOfRange:
        return "--min must be at least 0 and below " + number(kAxisValueLimit);
    case EAxisFault::MaxValueOutOfRange:
        return "--max must be from 0 to " + number(kAxisValueLimit);
    case EAxisFault::ValueSpanNotRising:
        return "--max must be above --min";
    case EAxisFault::MinRpmOutOfRange:
        return rpmMinOption + " must be from " + number(kMinRpmLowest) + " to " +
               number(kRpmHighest);
    case EAxisFault::MaxRpmOutOfRange:
        return rpmMaxOption + " must be from " + number(kMaxRpmLowest) + " to " +
               number(kRpmHighest);
    case EAxisFault::RpmSpanNegative:
        return rpmMaxOption + " must not be below " + rpmMinOption;
    case EAxisFault::RpmPointsNotRising:
        return "the RPM points, whole hundreds, would repeat: " + rpmRisingAdvice(minRpm);
    case EAxisFault::PointsNotRising:
        return "the points would not rise once the controller keeps them (the span is below "
               "one step per point); widen the range";
    }
    return {};
}

std::string loadAxisKey(EEmuChannel channel) {
    static constexpr const char* kKeys[kEmuChannelCount] = {
        "m_mapCoordinatesEmu1", "m_mapCoordinatesEmu2", "m_mapCoordinatesEmu3",
        "m_mapCoordinatesEmu4", "m_mapCoordinatesEmuTpsD"};
    return kKeys[static_cast<int>(channel)];
}

struct SPrintedAxis {
    std::string keyPrefix;
    int points;
};
const SPrintedAxis kRpmAxis{"m_mapRpmCoordinatesEmu1", kMapColumns};

// KEY<TAB>VALUE lines of the axes, as get prints those keys; with --json one object with an
// array of points per axis.
void printAxes(CSession& session, const std::vector<SPrintedAxis>& axes) {
    CDeviceConfig& config = session.device().config();
    nlohmann::json values = nlohmann::json::object();
    std::string text;
    for (const SPrintedAxis& axis : axes) {
        nlohmann::json points = nlohmann::json::array();
        for (int i = 0; i < axis.points; ++i) {
            const std::string key = axis.keyPrefix + "[" + std::to_string(i) + "]";
            const SettingsField field = requireSettingsKey(key).field(config);
            points.push_back(*std::get<double*>(field));
            text += key + '\t' + formatSettingsValue(field) + '\n';
        }
        values[axis.keyPrefix] = points;
    }
    if (session.options().json)
        printJson(values);
    else
        std::cout << text << std::flush;
}

// Checked against the connected controller's record: the scale and the TPS flag decide the
// encoding.
void refuseUnheldAxes(CSession& session, EEmuChannel channel, const SNewAxes& axes) {
    const EAxisFault fault = checkNewAxes(session.device().config(), channel, axes);
    if (fault != EAxisFault::None)
        fail(EExit::Usage, describe(fault, 0, "--rpm-min", "--rpm-max"));
}

void writeOrFail(CSession& session, EEmuChannel channel, const SNewAxes& axes) {
    if (updateLiveAxes(session.device(), channel, axes) == EAxisWrite::WriteFailed)
        fail(EExit::Refused, translate(kWriteFailed));
}

void defineRpmAxis(CSession& session, const SAxisArguments& arguments) {
    if (arguments.precise || arguments.rpmMin || arguments.rpmMax)
        fail(EExit::Usage, "axis rpm takes --min and --max only");
    const EAxisFault fault = checkRpmRange(arguments.min, arguments.max);
    if (fault != EAxisFault::None)
        fail(EExit::Usage, describe(fault, arguments.min, "--min", "--max"));
    SNewAxes axes;
    axes.rpm = generateRpmAxis(arguments.min, arguments.max);
    refuseUnheldAxes(session, EEmuChannel::Emu1, axes);
    writeOrFail(session, EEmuChannel::Emu1, axes);
    printAxes(session, {kRpmAxis});
}

void defineLoadAxis(CSession& session, const SAxisArguments& arguments) {
    const auto channel = static_cast<EEmuChannel>(std::stoi(arguments.axis) - 1);
    const bool withRpm = arguments.rpmMin.has_value();
    if (arguments.rpmMin.has_value() != arguments.rpmMax.has_value())
        fail(EExit::Usage, "--rpm-min and --rpm-max go together");
    if (withRpm && channel != EEmuChannel::Emu1)
        fail(EExit::Usage, "only channel 1 carries the RPM axis; use torvactl axis rpm");
    if (arguments.precise && channel == EEmuChannel::TpsDigital)
        fail(EExit::Usage, "the digital-TPS axis (5) is uniform only");

    SEmuDefinition definition;
    definition.minValue = arguments.min;
    definition.maxValue = arguments.max;
    definition.minRpm = arguments.rpmMin.value_or(0);
    definition.maxRpm = arguments.rpmMax.value_or(0);
    definition.scale = arguments.precise ? EAxisScale::Precise : EAxisScale::Uniform;
    const EAxisFault fault = withRpm ? checkEmuDefinition(definition, true)
                                     : checkLoadRange(definition.minValue, definition.maxValue);
    if (fault != EAxisFault::None)
        fail(EExit::Usage, describe(fault, definition.minRpm, "--rpm-min", "--rpm-max"));

    CLPGDevice& device = session.device();
    const SDevInfo& info = device.config().m_devInfo;
    if (!blockExists(axisBlockOf(channel), info.m_version, info.m_deviceID))
        fail(EExit::Usage, "this controller has no digital-TPS axis (5)");
    // Nothing is written when the digital-TPS axis keeps its end points.
    if (const std::optional<SNewAxes> axes =
            defineAxes(device.config(), channel, definition, withRpm)) {
        refuseUnheldAxes(session, channel, *axes);
        writeOrFail(session, channel, *axes);
    }

    std::vector<SPrintedAxis> printed{{loadAxisKey(channel), kMapRows}};
    if (withRpm)
        printed.push_back(kRpmAxis);
    printAxes(session, printed);
}

void defineAxis(CSession& session, const SAxisArguments& arguments) {
    if (arguments.axis == kRpmAxisName)
        defineRpmAxis(session, arguments);
    else
        defineLoadAxis(session, arguments);
}

} // namespace

void addAxisCommand(CLI::App& app, CSession& session, const CommandSink& sink) {
    const auto arguments = std::make_shared<SAxisArguments>();
    CLI::App* axis = addCommand(
        app, "axis",
        "Connect, read, regenerate an axis from its end points, write its block and print the "
        "new axis as get prints it. AXIS 1-4 is an emulator channel's load axis, 5 the digital "
        "TPS axis (whole numbers, uniform only), rpm the shared RPM axis (15 points, whole "
        "hundreds). Channel 1 also takes the RPM range, which it writes with its block; "
        "without it the RPM axis stays as it is. A refused range exits 2 with nothing written; "
        "so does one whose points would not rise strictly once the controller keeps them "
        "(for example --min 0 --max 0.01, or 0 to 15 on the digital-TPS axis)",
        "torvactl axis 1 --min 0.5 --max 4.5 --rpm-min 800 --rpm-max 4000\n"
        "  torvactl axis 3 --min 0 --max 100 --precise\n  torvactl axis rpm --min 800 "
        "--max 4000");
    axis->add_option("AXIS", arguments->axis, "1, 2, 3, 4, 5 or rpm")
        ->required()
        ->check(CLI::IsMember({"1", "2", "3", "4", "5", kRpmAxisName}));
    axis->add_option("--min", arguments->min, "first point (volts, percent or rpm)")->required();
    axis->add_option("--max", arguments->max, "last point")->required();
    axis->add_flag("--precise", arguments->precise,
                   "fine steps over the first quarter of the span, coarse ones above (default: "
                   "equal steps)");
    axis->add_option("--rpm-min", arguments->rpmMin, "channel 1: first RPM point (500-6000)");
    axis->add_option("--rpm-max", arguments->rpmMax, "channel 1: last RPM point (1500-6000)");
    axis->callback([&session, sink, arguments] {
        sink([&session, arguments] { defineAxis(session, *arguments); });
    });
}

} // namespace torva::cli
