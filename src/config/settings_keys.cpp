#include "config/settings_keys.h"

#include <unordered_set>

namespace torva {

namespace {

using G = ESettingsGroup;

class CKeyListBuilder {
public:
    std::vector<SSettingsKey> build() {
        addOne(std::string(kTimeStampKey), G::TimeStamp,
               [](CDeviceConfig& c) -> SettingsField { return &c.m_timeStamp; });
        addDevInfo();
        addBase();
        addAdvanced();
        addSensors();
        addService();
        addTempomat();
        addMaps();
        return std::move(m_keys);
    }

private:
    void addOne(std::string key, G group, std::function<SettingsField(CDeviceConfig&)> field) {
        m_keys.push_back({std::move(key), group, std::move(field)});
    }

    // A plain member of one of the record's groups: key = prefix + name.
    template <class TGroup, class TField>
    void add(G group, const std::string& prefix, TGroup CDeviceConfig::*groupMember,
             const std::string& name, TField TGroup::*member) {
        addOne(prefix + name, group, [groupMember, member](CDeviceConfig& c) -> SettingsField {
            return &(c.*groupMember.*member);
        });
    }

    // Elements 0..N-1 of an array member: key = prefix + name + "[i]".
    template <class TGroup, class TElement, std::size_t N>
    void addArray(G group, const std::string& prefix, TGroup CDeviceConfig::*groupMember,
                  const std::string& name, std::array<TElement, N> TGroup::*member) {
        for (std::size_t i = 0; i < N; ++i) {
            addOne(prefix + name + "[" + std::to_string(i) + "]", group,
                   [groupMember, member, i](CDeviceConfig& c) -> SettingsField {
                       return &(c.*groupMember.*member)[i];
                   });
        }
    }

    void addDevInfo() {
        const std::string p = "m_devInfo.";
        const auto info = &CDeviceConfig::m_devInfo;
        add(G::DevInfo, p, info, "m_version", &SDevInfo::m_version);
        add(G::DevInfo, p, info, "m_injCount", &SDevInfo::m_injCount);
        add(G::DevInfo, p, info, "m_serial", &SDevInfo::m_serial);
        add(G::DevInfo, p, info, "m_prodDate", &SDevInfo::m_prodDate);
        add(G::DevInfo, p, info, "m_flags1", &SDevInfo::m_flags1);
        add(G::DevInfo, p, info, "m_flags2", &SDevInfo::m_flags2);
        addOne(std::string(kDeviceTypeKey), G::DeviceType,
               [](CDeviceConfig& c) -> SettingsField { return &c.m_devInfo.m_deviceID; });
        addOne(p + "m_statistic.gas", G::DevInfo,
               [](CDeviceConfig& c) -> SettingsField { return &c.m_devInfo.m_statistic.gas; });
        addOne(p + "m_statistic.lpg", G::DevInfo,
               [](CDeviceConfig& c) -> SettingsField { return &c.m_devInfo.m_statistic.lpg; });
    }

    void addBase() {
        const std::string p = "m_base.";
        const auto base = &CDeviceConfig::m_base;
        add(G::Base, p, base, "m_switchRPM", &SBaseSetup::m_switchRPM);
        add(G::Base, p, base, "m_switchTempr", &SBaseSetup::m_switchTempr);
        add(G::Base, p, base, "m_torvaDivider", &SBaseSetup::m_torvaDivider);
        add(G::Base, p, base, "m_switchPressure", &SBaseSetup::m_switchPressure);
        add(G::Base, p, base, "m_switchDelay", &SBaseSetup::m_switchDelay);
        add(G::Base, p, base, "m_flags", &SBaseSetup::m_flags);
        add(G::Base, p, base, "m_advancedFlags", &SBaseSetup::m_advancedFlags);
        add(G::Base, p, base, "m_pressureGain", &SBaseSetup::m_pressureGain);
        add(G::Base, p, base, "m_pressureRef", &SBaseSetup::m_pressureRef);
        add(G::Base, p, base, "m_pressAverageCount", &SBaseSetup::m_pressAverageCount);
        add(G::Base, p, base, "m_temprRef", &SBaseSetup::m_temprRef);
        add(G::Base, p, base, "m_temprGain", &SBaseSetup::m_temprGain);
        add(G::Base, p, base, "m_temprBottom", &SBaseSetup::m_temprBottom);
        add(G::Base, p, base, "m_temprUpper", &SBaseSetup::m_temprUpper);
        add(G::Base, p, base, "m_minVCC", &SBaseSetup::m_minVCC);
        add(G::Base, p, base, "m_maxExhaustTemp", &SBaseSetup::m_maxExhaustTemp);
        addArray(G::Base, p, base, "m_emuEnable", &SBaseSetup::m_emuEnable);
    }

    void addAdvanced() {
        const std::string p = "m_adv.";
        const auto adv = &CDeviceConfig::m_adv;
        add(G::Advanced, p, adv, "m_pwmOffset", &SAdvancedSetup::m_pwmOffset);
        add(G::Advanced, p, adv, "m_pwm", &SAdvancedSetup::m_pwm);
        add(G::Advanced, p, adv, "m_injectorWarmingImpulse",
            &SAdvancedSetup::m_injectorWarmingImpulse);
        add(G::Advanced, p, adv, "m_warmingTime", &SAdvancedSetup::m_warmingTime);
        add(G::Advanced, p, adv, "m_warmingUpperTempr", &SAdvancedSetup::m_warmingUpperTempr);
        add(G::Advanced, p, adv, "m_injectorType", &SAdvancedSetup::m_injectorType);
        add(G::Advanced, p, adv, "m_injMounted", &SAdvancedSetup::m_injMounted);
        add(G::Advanced, p, adv, "m_flags", &SAdvancedSetup::m_flags);
    }

    void addSensors() {
        const std::string p = "m_sensorsSetup.";
        const auto sensors = &CDeviceConfig::m_sensorsSetup;
        add(G::Sensors, p, sensors, "m_fuelFull", &SSensorsSetup::m_fuelFull);
        add(G::Sensors, p, sensors, "m_fuelHgw", &SSensorsSetup::m_fuelHgw);
        add(G::Sensors, p, sensors, "m_fuelHalf", &SSensorsSetup::m_fuelHalf);
        add(G::Sensors, p, sensors, "m_fuelQuarter", &SSensorsSetup::m_fuelQuarter);
        add(G::Sensors, p, sensors, "m_fuelRes", &SSensorsSetup::m_fuelRes);
        add(G::Sensors, p, sensors, "m_fuelType", &SSensorsSetup::m_fuelType);
        add(G::Sensors, p, sensors, "m_temprEngineSensor", &SSensorsSetup::m_temprEngineSensor);
        add(G::Sensors, p, sensors, "m_temprLPGSensor", &SSensorsSetup::m_temprLPGSensor);
    }

    // The knock settings (m_knockMaxSignal, m_knockFreq, m_knockIntTime, m_knockGain) stay with
    // the controller and are not part of the file.
    void addService() {
        const std::string p = "m_serviceSetup.";
        const auto service = &CDeviceConfig::m_serviceSetup;
        add(G::Service, p, service, "m_serviceInterval", &SServiceSetup::m_serviceInterval);
        add(G::Service, p, service, "m_advancedFlags2", &SServiceSetup::m_advancedFlags2);
        add(G::Service, p, service, "m_tpsCutOff", &SServiceSetup::m_tpsCutOff);
        add(G::Service, p, service, "m_tpsJump", &SServiceSetup::m_tpsJump);
        add(G::Service, p, service, "m_tpsEmLimitDelay", &SServiceSetup::m_tpsEmLimitDelay);
        add(G::Service, p, service, "m_tpsEmLimitFlag", &SServiceSetup::m_tpsEmLimitFlag);
        add(G::Service, p, service, "m_maxRpm", &SServiceSetup::m_maxRpm);
        add(G::Service, p, service, "m_rpmTh", &SServiceSetup::m_rpmTh);
        add(G::Service, p, service, "m_tpsDigitEmuEnable", &SServiceSetup::m_tpsDigitEmuEnable);
        add(G::Service, p, service, "m_mapCutOff", &SServiceSetup::m_mapCutOff);
        add(G::Service, p, service, "m_crInjCutOffTime", &SServiceSetup::m_crInjCutOffTime);
        addArray(G::Service, p, service, "m_emuOffset", &SServiceSetup::m_emuOffset);
    }

    // m_minGasTempr is not part of the file.
    void addTempomat() {
        const std::string p = "m_tempomatSetup.";
        const auto tempomat = &CDeviceConfig::m_tempomatSetup;
        add(G::Tempomat, p, tempomat, "m_rpmDetect", &STempomatSetup::m_rpmDetect);
        add(G::Tempomat, p, tempomat, "m_turboDetect", &STempomatSetup::m_turboDetect);
        add(G::Tempomat, p, tempomat, "m_tpsAnalogDetect", &STempomatSetup::m_tpsAnalogDetect);
        add(G::Tempomat, p, tempomat, "m_tpsDigitalDetect", &STempomatSetup::m_tpsDigitalDetect);
        add(G::Tempomat, p, tempomat, "m_detectTime", &STempomatSetup::m_detectTime);
        add(G::Tempomat, p, tempomat, "m_tempomatFlags", &STempomatSetup::m_tempomatFlags);
        add(G::Tempomat, p, tempomat, "m_tpsDigitCutOff", &STempomatSetup::m_tpsDigitCutOff);
        add(G::Tempomat, p, tempomat, "m_camshaftTh", &STempomatSetup::m_camshaftTh);
        add(G::Tempomat, p, tempomat, "m_injDelayAngle", &STempomatSetup::m_injDelayAngle);
        add(G::Tempomat, p, tempomat, "m_ignitionOrder", &STempomatSetup::m_ignitionOrder);
        add(G::Tempomat, p, tempomat, "m_vCppLitersToTank", &STempomatSetup::m_vCppLitersToTank);
        add(G::Tempomat, p, tempomat, "m_extExhaustTemprMask",
            &STempomatSetup::m_extExhaustTemprMask);
    }

    // Element keys "<name>[row][column]", rows outer, columns inner.
    void addMap(G group, const std::string& name, MapValues CDeviceConfig::*map) {
        for (int r = 0; r < kMapRows; ++r) {
            for (int c = 0; c < kMapColumns; ++c) {
                addOne(name + "[" + std::to_string(r) + "][" + std::to_string(c) + "]", group,
                       [map, r, c](CDeviceConfig& config) -> SettingsField {
                           return &(config.*map)[r][c];
                       });
            }
        }
    }

    template <std::size_t N>
    void addAxis(G group, const std::string& name, std::array<double, N> CDeviceConfig::*axis) {
        for (std::size_t i = 0; i < N; ++i) {
            addOne(
                name + "[" + std::to_string(i) + "]", group,
                [axis, i](CDeviceConfig& config) -> SettingsField { return &(config.*axis)[i]; });
        }
    }

    void addMaps() {
        addMap(G::Maps, "m_mapTimeEmu1", &CDeviceConfig::m_mapTimeEmu1);
        addMap(G::Maps, "m_mapEmu1", &CDeviceConfig::m_mapEmu1);
        addAxis(G::Maps, "m_mapCoordinatesEmu1", &CDeviceConfig::m_mapCoordinatesEmu1);
        addAxis(G::Maps, "m_mapRpmCoordinatesEmu1", &CDeviceConfig::m_mapRpmCoordinatesEmu1);
        addMap(G::Maps, "m_mapTimeEmu2", &CDeviceConfig::m_mapTimeEmu2);
        addMap(G::Maps, "m_mapEmu2", &CDeviceConfig::m_mapEmu2);
        addAxis(G::Maps, "m_mapCoordinatesEmu2", &CDeviceConfig::m_mapCoordinatesEmu2);
        addMap(G::Maps, "m_mapTimeEmu3", &CDeviceConfig::m_mapTimeEmu3);
        addMap(G::Maps, "m_mapEmu3", &CDeviceConfig::m_mapEmu3);
        addAxis(G::Maps, "m_mapCoordinatesEmu3", &CDeviceConfig::m_mapCoordinatesEmu3);
        addMap(G::Maps, "m_mapTimeEmu4", &CDeviceConfig::m_mapTimeEmu4);
        addMap(G::Maps, "m_mapEmu4", &CDeviceConfig::m_mapEmu4);
        addAxis(G::Maps, "m_mapCoordinatesEmu4", &CDeviceConfig::m_mapCoordinatesEmu4);
        addMap(G::TpsDigitalMaps, "m_mapTimeEmuTpsD", &CDeviceConfig::m_mapTimeEmuTpsD);
        addMap(G::TpsDigitalMaps, "m_mapEmuTpsD", &CDeviceConfig::m_mapEmuTpsD);
        addAxis(G::TpsDigitalMaps, "m_mapCoordinatesEmuTpsD",
                &CDeviceConfig::m_mapCoordinatesEmuTpsD);
    }

    std::vector<SSettingsKey> m_keys;
};

const std::unordered_set<std::string_view>& settingsKeyNames() {
    static const std::unordered_set<std::string_view> names = [] {
        std::unordered_set<std::string_view> set;
        for (const SSettingsKey& entry : settingsKeys())
            set.insert(entry.key);
        return set;
    }();
    return names;
}

} // namespace

const std::vector<SSettingsKey>& settingsKeys() {
    static const std::vector<SSettingsKey> keys = CKeyListBuilder().build();
    return keys;
}

bool isSettingsKey(std::string_view key) {
    return settingsKeyNames().contains(key);
}

} // namespace torva
