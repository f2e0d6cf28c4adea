#pragma once

#include "config/device_config.h"

namespace torva {

// The groups in which a whole configuration (factory image, settings-file image) is moved into
// the live record. m_devInfo and m_timeStamp never move; neither do the knock settings of the
// service group, which only the exhaust temperature and knock page edits.
void copyBaseGroup(CDeviceConfig& to, const CDeviceConfig& from);
void copyAdvancedGroup(CDeviceConfig& to, const CDeviceConfig& from);
void copySensorBytes(CDeviceConfig& to, const CDeviceConfig& from);
// Everything but m_knockMaxSignal, m_knockFreq, m_knockIntTime and m_knockGain.
void copyServiceGroup(CDeviceConfig& to, const CDeviceConfig& from);
// All of it, m_minGasTempr included.
void copyTempomatGroup(CDeviceConfig& to, const CDeviceConfig& from);
// Every map and axis.
void copyMapSet(CDeviceConfig& to, const CDeviceConfig& from);

// All of the above: what a factory restore or a settings-file load puts into the live record.
void copyTransferGroups(CDeviceConfig& to, const CDeviceConfig& from);

} // namespace torva
