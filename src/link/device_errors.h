#pragma once

#include "lang/translation.h"

#include <cstdint>
#include <memory>
#include <mutex>
#include <span>
#include <string>
#include <vector>

namespace torva {

// One fault module of the controller: its name and the text of each bit of its fault byte,
// bit 0 first, translated into the language current when the object was built.
class CDeviceErrorBase {
public:
    virtual ~CDeviceErrorBase() = default;
    virtual std::string moduleName() const = 0;
    const std::vector<std::string>& texts() const { return m_texts; }

protected:
    std::vector<std::string> m_texts;
};

class CEEPROMError : public CDeviceErrorBase {
public:
    CEEPROMError();
    std::string moduleName() const override;
};

class CInjError : public CDeviceErrorBase {
public:
    CInjError();
    std::string moduleName() const override;
};

class CSensorErr : public CDeviceErrorBase {
public:
    CSensorErr();
    std::string moduleName() const override;
};

class CCanErr : public CDeviceErrorBase {
public:
    CCanErr();
    std::string moduleName() const override;
};

class CExt2Therm1 : public CDeviceErrorBase {
public:
    CExt2Therm1();
    std::string moduleName() const override;
};

class CExt2Therm2 : public CDeviceErrorBase {
public:
    CExt2Therm2();
    std::string moduleName() const override;
};

class CExt2Knock : public CDeviceErrorBase {
public:
    CExt2Knock();
    std::string moduleName() const override;
};

class CTransmError : public CDeviceErrorBase {
public:
    CTransmError();
    std::string moduleName() const override;
};

// The eight fault modules in module-number order. Rebuilds itself after every language change,
// so decoded texts follow the language. Decoding never fails: unknown modules and bits get
// texts of their own.
class CDeviceErrorList {
public:
    CDeviceErrorList();
    CDeviceErrorList(const CDeviceErrorList&) = delete;
    CDeviceErrorList& operator=(const CDeviceErrorList&) = delete;

    void rebuild();
    std::size_t moduleCount() const;
    std::string moduleName(std::size_t module) const;

    // The texts of the bits set in faultByte, bit 0 first.
    std::vector<std::string> decodeByte(std::size_t module, std::uint8_t faultByte) const;
    // Status byte k is decoded by module k.
    std::vector<std::string> decodeStatus(std::span<const std::uint8_t, 4> status) const;
    // Bytes 0 to 3 are decoded by modules 4 to 7; the record's later bytes belong to module
    // numbers that have no module and are not decoded.
    std::vector<std::string> decodeExtended(std::span<const std::uint8_t, 8> record) const;

private:
    void appendByte(std::vector<std::string>& out, std::size_t module,
                    std::uint8_t faultByte) const;

    mutable std::mutex m_lock;
    std::vector<std::unique_ptr<CDeviceErrorBase>> m_modules;
    // Last: unsubscribes before the modules go.
    CLanguageSubscription m_languageFollow;
};

} // namespace torva
