#include "config/config_groups.h"

namespace torva {

void copyBaseGroup(CDeviceConfig& to, const CDeviceConfig& from) {
    to.m_base = from.m_base;
}

void copyAdvancedGroup(CDeviceConfig& to, const CDeviceConfig& from) {
    to.m_adv = from.m_adv;
}

void copySensorBytes(CDeviceConfig& to, const CDeviceConfig& from) {
    to.m_sensorsSetup = from.m_sensorsSetup;
}

void copyServiceGroup(CDeviceConfig& to, const CDeviceConfig& from) {
    SServiceSetup service = from.m_serviceSetup;
    service.m_knockMaxSignal = to.m_serviceSetup.m_knockMaxSignal;
    service.m_knockFreq = to.m_serviceSetup.m_knockFreq;
    service.m_knockIntTime = to.m_serviceSetup.m_knockIntTime;
    service.m_knockGain = to.m_serviceSetup.m_knockGain;
    to.m_serviceSetup = service;
}

void copyTempomatGroup(CDeviceConfig& to, const CDeviceConfig& from) {
    to.m_tempomatSetup = from.m_tempomatSetup;
}

void copyMapSet(CDeviceConfig& to, const CDeviceConfig& from) {
    to.m_mapTimeEmu1 = from.m_mapTimeEmu1;
    to.m_mapEmu1 = from.m_mapEmu1;
    to.m_mapCoordinatesEmu1 = from.m_mapCoordinatesEmu1;
    to.m_mapRpmCoordinatesEmu1 = from.m_mapRpmCoordinatesEmu1;
    to.m_mapTimeEmu2 = from.m_mapTimeEmu2;
    to.m_mapEmu2 = from.m_mapEmu2;
    to.m_mapCoordinatesEmu2 = from.m_mapCoordinatesEmu2;
    to.m_mapTimeEmu3 = from.m_mapTimeEmu3;
    to.m_mapEmu3 = from.m_mapEmu3;
    to.m_mapCoordinatesEmu3 = from.m_mapCoordinatesEmu3;
    to.m_mapTimeEmu4 = from.m_mapTimeEmu4;
    to.m_mapEmu4 = from.m_mapEmu4;
    to.m_mapCoordinatesEmu4 = from.m_mapCoordinatesEmu4;
    to.m_mapTimeEmuTpsD = from.m_mapTimeEmuTpsD;
    to.m_mapEmuTpsD = from.m_mapEmuTpsD;
    to.m_mapCoordinatesEmuTpsD = from.m_mapCoordinatesEmuTpsD;
}

void copyTransferGroups(CDeviceConfig& to, const CDeviceConfig& from) {
    copyBaseGroup(to, from);
    copyAdvancedGroup(to, from);
    copySensorBytes(to, from);
    copyServiceGroup(to, from);
    copyTempomatGroup(to, from);
    copyMapSet(to, from);
}

} // namespace torva
