#include "link/lpg_device.h"

#include "lang/source_text.h"
#include "platform/clock.h"
#include "platform/user_interface.h"

namespace torva {

namespace {

// Before the one repeat of a failed read: let the line fall quiet.
constexpr int kRepeatPauseMs = 131;
constexpr const char* kCaption = "TORVA";

} // namespace

bool CLPGDevice::readConfiguration() {
    if (isDemo() || isOffline())
        return true;
    setConnected(false);
    if (!identify())
        return false;

    if (!readDeviceInfo()) {
        appClock().sleepMs(kRepeatPauseMs);
        if (!readDeviceInfo())
            appUi().message(PL("Nie powiodło się odczytanie wersji urządzenia!"), kCaption,
                            EIcon::Error);
    }
    // Connected even without the device information: the controller did identify itself.
    setConnected(true);

    for (const EBlock block : configurationReadOrder()) {
        const SDevInfo& devInfo = m_config.m_devInfo;
        if (!blockExists(block, devInfo.m_version, devInfo.m_deviceID))
            continue;
        if (readBlock(block))
            continue;
        appClock().sleepMs(kRepeatPauseMs);
        if (!readBlock(block))
            appUi().message(PL("Nie powiodło się wczytanie ustawień urządzenia!"), kCaption,
                            EIcon::Error);
    }
    return true;
}

} // namespace torva
