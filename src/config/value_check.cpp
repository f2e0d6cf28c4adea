#include "config/value_check.h"

#include "config/block_codec.h"
#include "config/rounding.h"
#include "config/settings_number.h"
#include "lang/cng_flag.h"
#include "lang/source_text.h"
#include "lang/translate_with.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <type_traits>
#include <unordered_map>
#include <vector>

namespace torva {

namespace {

// Where a number member sits in its block: the raw codes its field holds are rawLow to the
// width's top (the period fields keep code 0 for "no speed", which reads as a substitute).
struct SFieldLayout {
    EBlock block;
    std::size_t offset;
    int width; // bytes, little-endian
    std::uint32_t rawLow = 0;

    std::uint32_t rawHigh() const { return width == 1 ? 0xFF : 0xFFFF; }
};

using Layouts = std::unordered_map<std::string, SFieldLayout>;

void addScalars(Layouts& layouts) {
    using B = EBlock;
    const struct {
        const char* key;
        SFieldLayout layout;
    } scalars[] = {
        {"m_base.m_switchRPM", {B::Base, 0, 2, 1}},
        {"m_base.m_switchTempr", {B::Base, 4, 1}},
        {"m_base.m_switchPressure", {B::Base, 3, 1}},
        {"m_base.m_switchDelay", {B::Base, 5, 1}},
        {"m_base.m_pressureGain", {B::Base, 8, 1}},
        {"m_base.m_pressureRef", {B::Base, 7, 1}},
        {"m_base.m_pressAverageCount", {B::Base, 9, 1}},
        {"m_base.m_temprRef", {B::Base, 10, 1}},
        {"m_base.m_temprGain", {B::Base, 11, 1}},
        {"m_base.m_temprBottom", {B::Base, 12, 1}},
        {"m_base.m_temprUpper", {B::Base, 13, 1}},
        {"m_base.m_minVCC", {B::Base, 16, 1}},
        {"m_base.m_maxExhaustTemp", {B::Base, 14, 2}},
        {"m_adv.m_pwmOffset", {B::Advanced, 2, 2}},
        {"m_adv.m_pwm", {B::Advanced, 1, 1}},
        {"m_adv.m_injectorWarmingImpulse", {B::Advanced, 4, 2}},
        {"m_adv.m_warmingTime", {B::Advanced, 6, 1}},
        {"m_adv.m_warmingUpperTempr", {B::Advanced, 7, 1}},
        {"m_serviceSetup.m_tpsCutOff", {B::Service, 4, 2}},
        {"m_serviceSetup.m_tpsEmLimitDelay", {B::Service, 23, 1}},
        {"m_serviceSetup.m_maxRpm", {B::Service, 24, 2, 1}},
        {"m_serviceSetup.m_rpmTh", {B::Service, 29, 1}},
        {"m_serviceSetup.m_mapCutOff", {B::Service, 26, 2}},
        {"m_serviceSetup.m_crInjCutOffTime", {B::Service, 6, 2}},
        {"m_tempomatSetup.m_rpmDetect", {B::Tempomat, 0, 2, 1}},
        {"m_tempomatSetup.m_turboDetect", {B::Tempomat, 2, 2}},
        {"m_tempomatSetup.m_tpsAnalogDetect", {B::Tempomat, 4, 2}},
        {"m_tempomatSetup.m_tpsDigitalDetect", {B::Tempomat, 6, 2}},
        {"m_tempomatSetup.m_detectTime", {B::Tempomat, 10, 1}},
        {"m_tempomatSetup.m_tpsDigitCutOff", {B::Tempomat, 14, 2}},
        {"m_tempomatSetup.m_camshaftTh", {B::Tempomat, 11, 1}},
        {"m_tempomatSetup.m_injDelayAngle", {B::Tempomat, 12, 1}},
        {"m_tempomatSetup.m_vCppLitersToTank", {B::Tempomat, 16, 1}},
    };
    for (const auto& scalar : scalars)
        layouts.emplace(scalar.key, scalar.layout);
    for (std::size_t i = 0; i < kEmulatorChannels; ++i)
        layouts.emplace("m_serviceSetup.m_emuOffset[" + std::to_string(i) + "]",
                        SFieldLayout{B::Service, 12 + 2 * i, 2});
}

void addMapsAndAxes(Layouts& layouts) {
    using B = EBlock;
    const struct {
        const char* name;
        EBlock block;
    } maps[] = {{"m_mapTimeEmu1", B::TimeMap1},       {"m_mapEmu1", B::EmuMap1},
                {"m_mapTimeEmu2", B::TimeMap2},       {"m_mapEmu2", B::EmuMap2},
                {"m_mapTimeEmu3", B::TimeMap3},       {"m_mapEmu3", B::EmuMap3},
                {"m_mapTimeEmu4", B::TimeMap4},       {"m_mapEmu4", B::EmuMap4},
                {"m_mapTimeEmuTpsD", B::TimeMapTpsD}, {"m_mapEmuTpsD", B::EmuMapTpsD}};
    for (const auto& map : maps) {
        for (int r = 0; r < kMapRows; ++r) {
            for (int c = 0; c < kMapColumns; ++c)
                layouts.emplace(std::string(map.name) + "[" + std::to_string(r) + "][" +
                                    std::to_string(c) + "]",
                                SFieldLayout{map.block, std::size_t(r * kMapColumns + c), 1});
        }
    }
    const struct {
        const char* name;
        EBlock block;
    } axes[] = {{"m_mapCoordinatesEmu1", B::Axes1Rpm},
                {"m_mapCoordinatesEmu2", B::Axis2},
                {"m_mapCoordinatesEmu3", B::Axis3},
                {"m_mapCoordinatesEmu4", B::Axis4},
                {"m_mapCoordinatesEmuTpsD", B::AxisTpsD}};
    for (const auto& axis : axes) {
        for (int i = 0; i < kMapRows; ++i)
            layouts.emplace(std::string(axis.name) + "[" + std::to_string(i) + "]",
                            SFieldLayout{axis.block, std::size_t(2 * i), 2});
    }
    for (int i = 0; i < kMapColumns; ++i)
        layouts.emplace("m_mapRpmCoordinatesEmu1[" + std::to_string(i) + "]",
                        SFieldLayout{B::Axes1Rpm, std::size_t(2 * kMapRows + i), 1});
}

const SFieldLayout* layoutOf(const std::string& key) {
    static const Layouts layouts = [] {
        Layouts all;
        addScalars(all);
        addMapsAndAxes(all);
        return all;
    }();
    const auto found = layouts.find(key);
    return found == layouts.end() ? nullptr : &found->second;
}

// The probes encode and decode the base block, which refreshes the process-wide CNG flag; a
// check must leave the flag as the live record set it.
class CCngFlagKeeper {
public:
    CCngFlagKeeper() : m_cng(isCngInstallation()) {}
    ~CCngFlagKeeper() { setCngInstallation(m_cng); }
    CCngFlagKeeper(const CCngFlagKeeper&) = delete;
    CCngFlagKeeper& operator=(const CCngFlagKeeper&) = delete;

private:
    bool m_cng;
};

double& numberIn(CDeviceConfig& record, const SSettingsKey& key) {
    return *std::get<double*>(key.field(record));
}

std::uint32_t rawAt(const std::vector<std::uint8_t>& image, const SFieldLayout& layout) {
    std::uint32_t raw = image[layout.offset];
    if (layout.width == 2)
        raw |= static_cast<std::uint32_t>(image[layout.offset + 1]) << 8;
    return raw;
}

// Encoded images of one block and what they read back as, for probing one field's codes.
class CFieldProbe {
public:
    CFieldProbe(const CDeviceConfig& record, const SSettingsKey& key, const SFieldLayout& layout,
                const std::vector<std::uint8_t>& image)
        : m_scratch(record), m_key(key), m_layout(layout), m_image(image) {}

    // What the field reads back as with this code in its place.
    double decoded(std::uint32_t raw) {
        m_image[m_layout.offset] = static_cast<std::uint8_t>(raw);
        if (m_layout.width == 2)
            m_image[m_layout.offset + 1] = static_cast<std::uint8_t>(raw >> 8);
        decodeBlock(m_layout.block, m_image.data(), m_image.size(), m_scratch);
        return numberIn(m_scratch, m_key);
    }

    // The nearest holdable value other than held, going from raw in direction (+1 or -1).
    std::optional<double> nextDistinct(std::uint32_t raw, int direction, double held) {
        for (std::int64_t code = std::int64_t(raw) + direction;
             code >= m_layout.rawLow && code <= m_layout.rawHigh(); code += direction) {
            const double value = decoded(static_cast<std::uint32_t>(code));
            if (value != held)
                return value;
        }
        return std::nullopt;
    }

    void range(double& lowest, double& highest) {
        const double first = decoded(m_layout.rawLow);
        const double last = decoded(m_layout.rawHigh());
        lowest = std::min(first, last);
        highest = std::max(first, last);
    }

private:
    CDeviceConfig m_scratch;
    const SSettingsKey& m_key;
    const SFieldLayout& m_layout;
    std::vector<std::uint8_t> m_image;
};

bool nearlyEqual(double a, double b) {
    return std::fabs(a - b) <= 1e-9 * std::max(1.0, std::fabs(b));
}

// Whether value, encoded into image (whose field reads back as held), lies within the field's
// resolution of held: no other holdable value lies between them, and at either end of the field
// it lies less than a step beyond.
bool readsBackWithinResolution(CFieldProbe& probe, std::uint32_t raw, double value, double held) {
    const std::optional<double> up = probe.nextDistinct(raw, +1, held);
    const std::optional<double> down = probe.nextDistinct(raw, -1, held);
    std::optional<double> above;
    std::optional<double> below;
    for (const std::optional<double>& neighbour : {up, down}) {
        if (neighbour && *neighbour > held)
            above = above ? std::min(*above, *neighbour) : *neighbour;
        if (neighbour && *neighbour < held)
            below = below ? std::max(*below, *neighbour) : *neighbour;
    }
    if (!above && !below)
        return true; // a field of one value
    const double stepAbove = above ? *above - held : held - *below;
    const double stepBelow = below ? held - *below : *above - held;
    return value >= held ? value - held < stepAbove : held - value < stepBelow;
}

std::uint64_t clampsEncoding(EBlock block, const CDeviceConfig& record,
                             std::vector<std::uint8_t>* image = nullptr) {
    const std::uint64_t before = clampedStoreCount();
    std::vector<std::uint8_t> encoded = encodeBlock(block, record);
    const std::uint64_t clamps = clampedStoreCount() - before;
    if (image)
        *image = std::move(encoded);
    return clamps;
}

SValueRefusal notHeld(const std::string& key, double value, CFieldProbe& probe) {
    SValueRefusal refusal{key, value};
    probe.range(refusal.lowest, refusal.highest);
    return refusal;
}

// One number member against the image its block encodes to in record (whose member holds
// value) and what that image reads back as.
std::optional<SValueRefusal> checkEncodedNumber(const CDeviceConfig& record,
                                                const SSettingsKey& key, const SFieldLayout& layout,
                                                const std::vector<std::uint8_t>& image,
                                                std::uint64_t blockClamps, double held) {
    const double value = numberIn(const_cast<CDeviceConfig&>(record), key);
    if (std::isfinite(value) && nearlyEqual(value, held))
        return std::nullopt;
    CFieldProbe probe(record, key, layout, image);
    if (!std::isfinite(value))
        return notHeld(key.key, value, probe);
    if (blockClamps > 0) {
        // The block clamped somewhere: this member did when putting what it reads back as in
        // its place clamps less.
        CDeviceConfig withHeld = record;
        numberIn(withHeld, key) = held;
        if (clampsEncoding(layout.block, withHeld) < blockClamps)
            return notHeld(key.key, value, probe);
    }
    if (!readsBackWithinResolution(probe, rawAt(image, layout), value, held))
        return notHeld(key.key, value, probe);
    return std::nullopt;
}

template <class TInteger>
std::optional<SValueRefusal> checkWholeNumber(const std::string& key, double value) {
    const double lowest = static_cast<double>(std::numeric_limits<TInteger>::min());
    const double highest = static_cast<double>(std::numeric_limits<TInteger>::max());
    const double whole = std::trunc(value);
    if (std::isfinite(value) && whole >= lowest && whole <= highest)
        return std::nullopt;
    SValueRefusal refusal{key, value};
    refusal.lowest = lowest;
    refusal.highest = highest;
    return refusal;
}

// Points of one axis, encoded, must rise; the first that does not is refused.
std::optional<SValueRefusal> checkAxisRises(const CDeviceConfig& record, const char* name,
                                            int points, const std::vector<std::uint8_t>& image,
                                            std::size_t offset, int width) {
    CDeviceConfig readBack = record;
    // The RPM axis shares channel 1's block; any axis key of the block decodes both.
    const std::string firstKey = std::string(name) + "[0]";
    decodeBlock(layoutOf(firstKey)->block, image.data(), image.size(), readBack);
    const auto rawOf = [&](int point) {
        std::uint32_t raw = image[offset + width * point];
        if (width == 2)
            raw |= static_cast<std::uint32_t>(image[offset + width * point + 1]) << 8;
        return raw;
    };
    for (const SSettingsKey& key : settingsKeys()) {
        if (!key.key.starts_with(std::string(name) + "["))
            continue;
        const int point = std::stoi(key.key.substr(std::string(name).size() + 1));
        if (point == 0 || point >= points || rawOf(point) > rawOf(point - 1))
            continue;
        SValueRefusal refusal{key.key, numberIn(const_cast<CDeviceConfig&>(record), key),
                              EValueFault::AxisNotRising};
        const SSettingsKey* previous = &key - 1;
        refusal.previous = numberIn(readBack, *previous);
        return refusal;
    }
    return std::nullopt;
}

std::optional<SValueRefusal> checkAxesOf(EBlock block, const CDeviceConfig& record,
                                         const std::vector<std::uint8_t>& image) {
    switch (block) {
    case EBlock::Axes1Rpm:
        if (auto refusal = checkAxisRises(record, "m_mapCoordinatesEmu1", kMapRows, image, 0, 2))
            return refusal;
        return checkAxisRises(record, "m_mapRpmCoordinatesEmu1", kMapColumns, image, 2 * kMapRows,
                              1);
    case EBlock::Axis2:
        return checkAxisRises(record, "m_mapCoordinatesEmu2", kMapRows, image, 0, 2);
    case EBlock::Axis3:
        return checkAxisRises(record, "m_mapCoordinatesEmu3", kMapRows, image, 0, 2);
    case EBlock::Axis4:
        return checkAxisRises(record, "m_mapCoordinatesEmu4", kMapRows, image, 0, 2);
    case EBlock::AxisTpsD:
        return checkAxisRises(record, "m_mapCoordinatesEmuTpsD", kMapRows, image, 0, 2);
    default:
        return std::nullopt;
    }
}

constexpr const char* kFileOnlyKey = "m_serviceSetup.m_tpsJump";

} // namespace

std::optional<SValueRefusal> checkMemberValue(const CDeviceConfig& context, const SSettingsKey& key,
                                              double value) {
    CDeviceConfig probe = context;
    return std::visit(
        [&](auto* member) -> std::optional<SValueRefusal> {
            using Member = std::remove_pointer_t<decltype(member)>;
            if constexpr (std::is_same_v<Member, std::string>) {
                return std::nullopt;
            } else if constexpr (std::is_integral_v<Member>) {
                return checkWholeNumber<Member>(key.key, value);
            } else {
                *member = value;
                const SFieldLayout* layout = layoutOf(key.key);
                if (layout == nullptr) {
                    if (std::isfinite(value))
                        return std::nullopt;
                    SValueRefusal refusal{key.key, value};
                    refusal.lowest = 1; // any finite number
                    return refusal;
                }
                const CCngFlagKeeper keepCng;
                std::vector<std::uint8_t> image;
                const std::uint64_t clamps = clampsEncoding(layout->block, probe, &image);
                CDeviceConfig readBack = probe;
                decodeBlock(layout->block, image.data(), image.size(), readBack);
                return checkEncodedNumber(probe, key, *layout, image, clamps,
                                          numberIn(readBack, key));
            }
        },
        key.field(probe));
}

std::optional<SValueRefusal> checkBlockValues(const CDeviceConfig& record,
                                              std::span<const EBlock> blocks) {
    const CCngFlagKeeper keepCng;
    struct SEncoded {
        std::vector<std::uint8_t> image;
        std::uint64_t clamps = 0;
        CDeviceConfig readBack;
    };
    std::vector<std::optional<SEncoded>> encoded(kBlockCount);
    for (const EBlock block : blocks) {
        SEncoded& entry = encoded[static_cast<std::size_t>(block)].emplace();
        entry.clamps = clampsEncoding(block, record, &entry.image);
        entry.readBack = record;
        decodeBlock(block, entry.image.data(), entry.image.size(), entry.readBack);
    }
    CDeviceConfig& editable = const_cast<CDeviceConfig&>(record);
    for (const SSettingsKey& key : settingsKeys()) {
        if (!std::holds_alternative<double*>(key.field(editable)))
            continue;
        const SFieldLayout* layout = layoutOf(key.key);
        if (layout == nullptr)
            continue;
        std::optional<SEncoded>& entry = encoded[static_cast<std::size_t>(layout->block)];
        if (!entry)
            continue;
        if (auto refusal = checkEncodedNumber(record, key, *layout, entry->image, entry->clamps,
                                              numberIn(entry->readBack, key)))
            return refusal;
    }
    for (const EBlock block : blocks) {
        if (auto refusal = checkAxesOf(block, record, encoded[std::size_t(block)]->image))
            return refusal;
    }
    return std::nullopt;
}

std::optional<SValueRefusal> checkRecordValues(const CDeviceConfig& record) {
    // A block the controller lacks is never written: its values cannot reach a field.
    std::vector<EBlock> blocks;
    for (const SBlockInfo& info : blockTable()) {
        if (blockExists(info.block, record.m_devInfo.m_version, record.m_devInfo.m_deviceID))
            blocks.push_back(info.block);
    }
    if (auto refusal = checkBlockValues(record, blocks))
        return refusal;
    const double fileOnly = record.m_serviceSetup.m_tpsJump;
    if (!std::isfinite(fileOnly)) {
        SValueRefusal refusal{kFileOnlyKey, fileOnly};
        refusal.lowest = 1;
        return refusal;
    }
    return std::nullopt;
}

namespace {

// Whole numbers with every digit (a field's 15000000 rpm, a counter's 4294967295), others as a
// settings file writes them.
std::string numberText(double value) {
    if (std::isfinite(value) && value == std::trunc(value) && std::fabs(value) < 1e15)
        return formatSettingsInteger(static_cast<std::int64_t>(value));
    return formatSettingsNumber(value);
}

} // namespace

std::string describeValueRefusal(const SValueRefusal& refusal) {
    const std::string value = numberText(refusal.value);
    if (refusal.fault == EValueFault::AxisNotRising)
        return translateWith(PL("%s: %s nie jest powyżej poprzedniego punktu osi (%s)"),
                             {refusal.key, value, numberText(refusal.previous)});
    if (refusal.lowest > refusal.highest)
        return translateWith(PL("%s: %s nie jest liczbą skończoną"), {refusal.key, value});
    return translateWith(
        PL("%s: %s nie mieści się w polu (od %s do %s)"),
        {refusal.key, value, numberText(refusal.lowest), numberText(refusal.highest)});
}

} // namespace torva
