#pragma once

#include "platform/error.h"

#include <string>

namespace torva {

// A failure of the serial port: it could not be opened (code 5) or an operation on the open port
// failed (code 6). The user sees the two fixed description lines; the detail names the call and
// the operating system's error number.
class CRSError : public IError {
public:
    static constexpr int kOpenFailed = 5;
    static constexpr int kOperationFailed = 6;
    static constexpr const char* kSourceFile = "serialport";

    // devicePath and systemError, when known, let a caller tell the user what went wrong with
    // which device (port_problem.h).
    CRSError(int code, std::string detail, int sourceLine, std::string devicePath = {},
             int systemError = 0);

    std::string className() const override { return "CRSError"; }
    const std::string& devicePath() const { return m_devicePath; }
    // The operating system's error number; 0 when the failure had none.
    int systemError() const { return m_systemError; }

private:
    void fillDescriptions();

    std::string m_devicePath;
    int m_systemError;
};

} // namespace torva
