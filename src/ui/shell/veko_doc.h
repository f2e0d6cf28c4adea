#pragma once

#include "diag/polling_control.h"
#include "link/device_errors.h"
#include "link/lpg_device.h"

#include <functional>
#include <memory>

namespace torva {

class ISerialIo;

// The application's single document: it owns the controller gateway for the whole run, the
// fault decoders and the polling, and carries the commands that move a whole configuration.
class CVeko2012Doc {
public:
    // The title of every document, whatever file is open.
    static constexpr const char* kTitle = "OBD/Basic";

    // How the document reaches the controller. searchAndConnect runs at start-up and leaves
    // the device's flags set (connected, demo); reconnect runs while the link is lost and
    // answers whether the controller is back.
    struct SConnection {
        std::function<void(CLPGDevice&)> searchAndConnect;
        std::function<bool(CLPGDevice&)> reconnect;
    };

    // The whole-configuration commands of the menu; an empty one is not available yet.
    struct SCommands {
        std::function<void()> loadSettingsFile;
        std::function<void()> saveSettingsFile;
        std::function<void()> restoreFactorySettings;
        std::function<void()> programFirmware;
    };

    // io replaces the real serial port (tests).
    explicit CVeko2012Doc(std::unique_ptr<ISerialIo> io = nullptr);
    ~CVeko2012Doc();
    CVeko2012Doc(const CVeko2012Doc&) = delete;
    CVeko2012Doc& operator=(const CVeko2012Doc&) = delete;

    CLPGDevice& device() { return *m_device; }
    CPollingControl& polling() { return *m_polling; }

    // Builds the fault decoders (they follow language changes by themselves from then on).
    void buildErrorDecoders();
    // nullptr before buildErrorDecoders.
    const CDeviceErrorList* errorDecoders() const { return m_errorDecoders.get(); }

    void setConnection(SConnection connection) { m_connection = std::move(connection); }
    // The connection procedure; an error it raises is swallowed, the flags tell the outcome.
    void searchAndConnect();
    bool reconnect();

    SCommands& commands() { return m_commands; }

private:
    std::unique_ptr<CLPGDevice> m_device;
    std::unique_ptr<CDeviceErrorList> m_errorDecoders;
    // After the device: it stops polling before the device goes.
    std::unique_ptr<CPollingControl> m_polling;
    SConnection m_connection;
    SCommands m_commands;
};

// The running application's document, or nullptr.
CVeko2012Doc* theDocument();

} // namespace torva
