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

    CRSError(int code, std::string detail, int sourceLine);

    std::string className() const override { return "CRSError"; }

private:
    void fillDescriptions();
};

} // namespace torva
