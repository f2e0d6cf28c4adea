#include "link/lpg_device.h"

#include "link/demo_state.h"
#include "link/request_shapes.h"
#include "platform/user_interface.h"

#include <stdexcept>
#include <string>

namespace torva {

namespace {

namespace sub {
constexpr std::uint8_t kGas = 1;
constexpr std::uint8_t kDiesel = 2;
constexpr std::uint8_t kAuto = 3;
constexpr std::uint8_t kLiveSample = 6;
constexpr std::uint8_t kReset = 10;
constexpr std::uint8_t kCorrelationRecording = 60;
constexpr std::uint8_t kCorrelationConfirm = 61;
} // namespace sub

// Answer codes of the live sample: the current layout and the older compact one.
constexpr std::uint8_t kLiveSampleAnswer = 34;
constexpr std::uint8_t kCompactLiveSampleAnswer = 1;
constexpr std::size_t kFuelModeByte = 2;

constexpr int kDieselPolls = 19;
constexpr int kDieselPollMs = 100;
constexpr int kDemoDieselWaitMs = 300;

constexpr int kMapCount = 10;

void checkMapNumber(int mapNumber, const char* operation) {
    if (mapNumber < 1 || mapNumber > kMapCount)
        throw std::out_of_range(std::string("CLPGDevice::") + operation + "() - map number " +
                                std::to_string(mapNumber) + " outside 1-10");
}

// Clears map n in the controller: 34-40 for maps 1-7, then 42, 52, 53.
std::uint8_t clearMapSubCode(int mapNumber) {
    switch (mapNumber) {
    case 8:
        return 42;
    case 9:
        return 52;
    case 10:
        return 53;
    default:
        return static_cast<std::uint8_t>(33 + mapNumber);
    }
}

// Completes a change of map n: 26-33 for maps 1-8, then 50, 51.
std::uint8_t completeMapSubCode(int mapNumber) {
    switch (mapNumber) {
    case 9:
        return 50;
    case 10:
        return 51;
    default:
        return static_cast<std::uint8_t>(25 + mapNumber);
    }
}

// The request code of a partial write of map n: 21-28 for maps 1-8, then 37, 38.
std::uint8_t mapPartCode(int mapNumber) {
    switch (mapNumber) {
    case 9:
        return 37;
    case 10:
        return 38;
    default:
        return static_cast<std::uint8_t>(20 + mapNumber);
    }
}

} // namespace

bool CLPGDevice::switchToGas() {
    if (isDemo()) {
        setDemoFuelMode(kFuelModeGas);
        return true;
    }
    return action(sub::kGas, 0, EReply::AnyCode2, request::kDefaultAttempts);
}

bool CLPGDevice::switchToDiesel() {
    // A file has no engine to take off gas; whole writes into it need the switch to succeed.
    if (isOffline())
        return true;
    if (isDemo()) {
        setDemoFuelMode(kFuelModeDiesel);
        return true;
    }
    return action(sub::kDiesel, 0, EReply::AnyCode2, request::kDefaultAttempts);
}

bool CLPGDevice::switchToAuto() {
    if (!switchToDiesel())
        return false;
    if (isDemo())
        return true;
    return action(sub::kAuto, 0, EReply::AnyCode2, request::kDefaultAttempts);
}

std::optional<std::uint8_t> CLPGDevice::readLiveFuelMode() {
    std::array<std::uint8_t, kExchangeBufferSize> buffer{};
    const std::vector<std::uint8_t> payload = request::queryPayload(sub::kLiveSample);
    std::copy(payload.begin(), payload.end(), buffer.begin());
    std::uint8_t command = request::kQueryCode;
    auto length = static_cast<std::uint8_t>(payload.size());
    if (transactStrict(command, buffer.data(), length) != kStrictOk)
        return std::nullopt;
    if (command != kLiveSampleAnswer && command != kCompactLiveSampleAnswer)
        return std::nullopt;
    // length counts the two checksum bytes here.
    if (length < kFuelModeByte + 1 + 2)
        return std::nullopt;
    return buffer[kFuelModeByte];
}

bool CLPGDevice::switchToDieselAndWait() {
    if (isOffline())
        return true;
    if (isDemo()) {
        appUi().responsiveWait(kDemoDieselWaitMs);
        return switchToDiesel();
    }
    if (!switchToDiesel())
        return false;
    std::uint8_t mode = kFuelModeGas;
    for (int poll = 0; poll < kDieselPolls; ++poll) {
        if (const auto reported = readLiveFuelMode())
            mode = *reported;
        appUi().responsiveWait(kDieselPollMs);
        if (mode == kFuelModeDiesel)
            return true;
    }
    return false;
}

bool CLPGDevice::resetDevice() {
    if (isDemo() || isOffline())
        return true;
    return action(sub::kReset, 0, EReply::Ack, request::kDefaultAttempts);
}

bool CLPGDevice::clearMap(int mapNumber) {
    checkMapNumber(mapNumber, "clearMap");
    if (isDemo())
        return true;
    const bool cleared = sendMapClear(mapNumber);
    // The controller expects the completing code after a clear whatever became of it.
    const bool completed = completeMapChange(mapNumber);
    return cleared && completed;
}

bool CLPGDevice::sendMapClear(int mapNumber) {
    checkMapNumber(mapNumber, "sendMapClear");
    if (isDemo())
        return true;
    if (isOffline())
        return clearMapOffline(mapNumber);
    return action(clearMapSubCode(mapNumber), 0, EReply::Ack, request::kDefaultAttempts);
}

bool CLPGDevice::completeMapChange(int mapNumber) {
    checkMapNumber(mapNumber, "completeMapChange");
    if (isDemo() || isOffline())
        return true;
    return action(completeMapSubCode(mapNumber), 0, EReply::Ack, request::kDefaultAttempts);
}

bool CLPGDevice::writeMapPart(int mapNumber, std::span<const std::uint8_t, kMapPartSize> part) {
    checkMapNumber(mapNumber, "writeMapPart");
    if (isDemo())
        return true;
    if (isOffline())
        return writeMapPartOffline(mapNumber, part);
    return writeAcked(
        mapPartCode(mapNumber),
        [part] { return std::vector<std::uint8_t>(part.begin(), part.end()); },
        request::kSingleAttempt);
}

bool CLPGDevice::setCorrelationRecording(bool on) {
    if (isDemo())
        return true;
    return action(sub::kCorrelationRecording, on ? 1 : 0, EReply::Ack, request::kDefaultAttempts);
}

bool CLPGDevice::confirmCorrelationTable() {
    if (isDemo())
        return true;
    return action(sub::kCorrelationConfirm, 0, EReply::Ack, request::kDefaultAttempts);
}

} // namespace torva
