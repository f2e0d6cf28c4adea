#include "link/device_errors.h"

#include "lang/source_text.h"

#include <cstdio>
#include <initializer_list>

namespace torva {

namespace {

std::vector<std::string> translated(std::initializer_list<const char*> texts) {
    std::vector<std::string> out;
    for (const char* text : texts)
        out.push_back(translate(text));
    return out;
}

// The translated text followed by " 1" … " 8" (first = 1) or " 9" … " 16" (first = 9).
std::vector<std::string> numbered(const char* text, int first) {
    const std::string base = translate(text);
    std::vector<std::string> out;
    for (int n = first; n < first + 8; ++n)
        out.push_back(base + " " + std::to_string(n));
    return out;
}

std::string hexLower(unsigned value) {
    char buffer[16];
    std::snprintf(buffer, sizeof buffer, "%x", value);
    return buffer;
}

} // namespace

CEEPROMError::CEEPROMError() {
    m_texts = translated({
        PL("Błąd zapisu do pamięci EEPROM"),
        PL("Błąd odczytu z pamięci EEPROM"),
        PL("Błąd ustawienia adresu pamięci EEPROM"),
        PL("Błąd odczytu z pamięci EEPROM"),
        PL("Błąd zapisu struktury do pamięci EEPROM"),
        PL("Błąd odczytu struktury z pamięci EEPROM"),
        PL("Błędny typ struktury pamięci EEPROM"),
        PL("Błąd sumy kontrolnej w pamięci EEPROM"),
    });
}

std::string CEEPROMError::moduleName() const {
    return translate(PL("EEPROM"));
}

CInjError::CInjError() {
    m_texts = translated({
        PL("Błąd wtryskiwacza LPG 1"),
        PL("Błąd wtryskiwacza LPG 2"),
        PL("Błąd wtryskiwacza LPG 3"),
        PL("Błąd wtryskiwacza LPG 4"),
        PL("Błąd wtryskiwacza LPG 5"),
        PL("Błąd wtryskiwacza LPG 6"),
        PL("Błąd wtryskiwacza LPG 7"),
        PL("Błąd wtryskiwacza LPG 8"),
    });
}

std::string CInjError::moduleName() const {
    return translate(PL("Wtryskiwacze"));
}

CSensorErr::CSensorErr() {
    m_texts = translated({
        PL("Brak sygnału RPM"),
        PL("Błąd - za niskie ciśnienie"),
        PL("Błąd czujnika temperatury LPG"),
        PL("Błąd czujnika temperatury ogrzewacza LPG"),
        PL("Błąd - za niskie napięcie zasilania sterownika. Możliwe, że przepalił się "
           "bezpiecznik zasilania głównego."),
        PL("Błąd - za wysokie obroty"),
        PL("Błąd - za wysoka temperatura spalin"),
        PL("Błąd sygnału TPS DIGITAL"),
    });
}

std::string CSensorErr::moduleName() const {
    return translate(PL("Czujniki"));
}

CCanErr::CCanErr() {
    m_texts = translated({
        PL("Błąd komunikacji CAN"),
        PL("Błąd komunikacji - zewnętrzny TPS"),
        PL("Błąd - zewnętrzny TPS"),
        PL("Błąd komunikacji - zewnętrzny EGT1"),
        PL("Błąd komunikacji - zewnętrzny EGT2"),
        PL("Błąd komunikacji CAN ECU2"),
    });
}

std::string CCanErr::moduleName() const {
    return translate(PL("CAN"));
}

CExt2Therm1::CExt2Therm1() {
    m_texts = numbered(PL("Błąd - za wysoka temperatura spalin-termopara"), 1);
}

std::string CExt2Therm1::moduleName() const {
    return translate(PL("Zewnętrzne termopary"));
}

CExt2Therm2::CExt2Therm2() {
    m_texts = numbered(PL("Błąd - za wysoka temperatura spalin-termopara"), 9);
}

std::string CExt2Therm2::moduleName() const {
    return translate(PL("Zewnętrzne termopary"));
}

CExt2Knock::CExt2Knock() {
    m_texts = numbered(PL("Błąd - knock"), 1);
}

std::string CExt2Knock::moduleName() const {
    return translate(PL("Knock Sensor"));
}

CTransmError::CTransmError() {
    m_texts = translated({
        PL("Nieznana komenda"),
        PL("Nieznana ramka"),
        PL("Błędny nagłówek ramki"),
        PL("Błąd CRC ramki"),
        PL("Błąd inny niż transmisji"),
    });
}

std::string CTransmError::moduleName() const {
    return translate(PL("Transmisja"));
}

CDeviceErrorList::CDeviceErrorList() {
    rebuild();
    m_languageFollow = subscribeLanguageChange([this](int) { rebuild(); });
}

void CDeviceErrorList::rebuild() {
    std::vector<std::unique_ptr<CDeviceErrorBase>> modules;
    modules.push_back(std::make_unique<CEEPROMError>());
    modules.push_back(std::make_unique<CInjError>());
    modules.push_back(std::make_unique<CSensorErr>());
    modules.push_back(std::make_unique<CCanErr>());
    modules.push_back(std::make_unique<CExt2Therm1>());
    modules.push_back(std::make_unique<CExt2Therm2>());
    modules.push_back(std::make_unique<CExt2Knock>());
    modules.push_back(std::make_unique<CTransmError>());
    std::lock_guard guard(m_lock);
    m_modules = std::move(modules);
}

std::size_t CDeviceErrorList::moduleCount() const {
    std::lock_guard guard(m_lock);
    return m_modules.size();
}

std::string CDeviceErrorList::moduleName(std::size_t module) const {
    std::lock_guard guard(m_lock);
    if (module >= m_modules.size())
        return translate(PL("Nieznany kod modułu"));
    return m_modules[module]->moduleName();
}

std::vector<std::string> CDeviceErrorList::decodeByte(std::size_t module,
                                                      std::uint8_t faultByte) const {
    std::vector<std::string> out;
    std::lock_guard guard(m_lock);
    appendByte(out, module, faultByte);
    return out;
}

std::vector<std::string>
CDeviceErrorList::decodeStatus(std::span<const std::uint8_t, 4> status) const {
    std::vector<std::string> out;
    std::lock_guard guard(m_lock);
    for (std::size_t k = 0; k < status.size(); ++k)
        appendByte(out, k, status[k]);
    return out;
}

std::vector<std::string>
CDeviceErrorList::decodeExtended(std::span<const std::uint8_t, 8> record) const {
    constexpr std::size_t kFirstModule = 4;
    std::vector<std::string> out;
    std::lock_guard guard(m_lock);
    for (std::size_t module = kFirstModule; module < kFirstModule + record.size(); ++module) {
        if (module >= m_modules.size())
            break;
        appendByte(out, module, record[module - kFirstModule]);
    }
    return out;
}

void CDeviceErrorList::appendByte(std::vector<std::string>& out, std::size_t module,
                                  std::uint8_t faultByte) const {
    if (module >= m_modules.size()) {
        out.push_back(translate(PL("Nieznany kod modułu")));
        return;
    }
    const std::vector<std::string>& texts = m_modules[module]->texts();
    for (unsigned bit = 0; bit < 8; ++bit) {
        if (!(faultByte & (1u << bit)))
            continue;
        if (bit < texts.size())
            out.push_back(texts[bit]);
        else
            out.push_back(translate(PL("Nieznany kod błędu")) + " = 0x" + hexLower(1u << bit));
    }
}

} // namespace torva
