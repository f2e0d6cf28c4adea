#include "link/lpg_device.h"

#include "config/adc_scale.h"
#include "config/block_image.h"
#include "config/device_type.h"
#include "config/printable_text.h"
#include "lang/source_text.h"
#include "lang/translate_with.h"
#include "link/controller_models.h"
#include "link/device_identity.h"
#include "link/identification_notice.h"
#include "link/request_shapes.h"
#include "platform/user_interface.h"

#include <atomic>

namespace torva {

namespace {

namespace sub {
constexpr std::uint8_t kIdentify = 204;
constexpr std::uint8_t kDeviceInfo = 13;
} // namespace sub

constexpr std::uint8_t kDeviceInfoAnswer = 8;
constexpr std::uint8_t kLiveDiagnosticsMark = 0x55;

// The device information record.
namespace info {
constexpr std::size_t kFlags1 = 0;
constexpr std::size_t kFlags2 = 4;
constexpr std::size_t kProductionDays = 8;
constexpr std::size_t kVersion = 10;
constexpr std::size_t kIdentifier = 12;
constexpr std::size_t kInjectors = 28;
constexpr std::size_t kModelCode = 29;
constexpr std::size_t kSize = 30;
} // namespace info

// What a controller in its loader is taken to run until it is programmed: 1.0.
constexpr std::int32_t kLoaderVersion = 0x100;

// The demo controller.
constexpr std::int32_t kDemoVersion = 0x012F;
constexpr std::int32_t kDemoInjectors = 6;
constexpr const char* kDemoIdentifier = "DI001";
constexpr const char* kDemoProductionDate = "21/01/2016";
constexpr std::uint32_t kDemoFlags1 = 5;
constexpr std::uint8_t kDemoModelCode = kDeviceType25;

constexpr const char* kCaption = "TORVA";

// The unsupported-model message is shown once per run.
std::atomic<bool> g_unknownModelShown{false};

} // namespace

void resetUnknownModelNotice() {
    g_unknownModelShown.store(false);
}

void CLPGDevice::setForcedProgramming(ForcedProgramming programming) {
    m_forcedProgramming = std::move(programming);
}

bool CLPGDevice::identify() {
    m_unsupportedModel.reset();
    SAnswer answer;
    const bool answered = request(
        request::kQueryCode, [] { return request::queryPayload(sub::kIdentify); },
        request::kIdentifyAttempts,
        [](const SAnswer& got) {
            return got.code == request::kQueryCode && (got.at(0) == request::kStatusAccepted ||
                                                       got.at(0) == request::kStatusNoApplication);
        },
        answer);
    if (!answered)
        return false;
    if (answer.at(0) == request::kStatusNoApplication)
        return identifyThroughLoader();

    setLiveDiagnostics(answer.at(2) == kLiveDiagnosticsMark);
    const auto model = modelFromReportedCode(answer.at(1));
    if (!model) {
        m_unsupportedModel = answer.at(1);
        if (!g_unknownModelShown.exchange(true))
            appUi().message(translateWith(PL("Odpowiedział sterownik nieobsługiwanego modelu "
                                             "(numer modelu %s)."),
                                          {std::to_string(answer.at(1))}),
                            kCaption, EIcon::Error);
        return false;
    }
    const ConfigLock lock = lockConfig();
    m_config.m_devInfo.m_deviceID = model->code;
    m_config.m_devInfo.m_modelName = std::string(model->name);
    return true;
}

bool CLPGDevice::identifyThroughLoader() {
    std::optional<SControllerModel> model;
    const SLoaderIdentity a1 = queryLoaderIdentity(kLoaderQueryA1);
    if (a1.answer != ELoaderAnswer::None) {
        if (a1.answer == ELoaderAnswer::Accepted)
            model = modelFromLoaderIdentity(kLoaderQueryA1, a1.value);
    } else {
        const SLoaderIdentity other = queryLoaderIdentity(kLoaderQueryOthers);
        if (other.answer == ELoaderAnswer::Accepted)
            model = modelFromLoaderIdentity(kLoaderQueryOthers, other.value);
    }
    if (!model)
        return false;

    {
        const ConfigLock lock = lockConfig();
        m_config.m_devInfo.m_deviceID = model->code;
        m_config.m_devInfo.m_modelName = std::string(model->name);
        m_config.m_devInfo.m_version = kLoaderVersion;
    }
    appUi().message(PL("Sterownik nie jest poprawnie zaprogramowany i wymaga przeprogramowania."),
                    kCaption, EIcon::Information);
    return m_forcedProgramming ? m_forcedProgramming() : false;
}

CLPGDevice::SLoaderIdentity CLPGDevice::queryLoaderIdentity(std::uint8_t subCode) {
    SAnswer answer;
    if (!query(subCode, 0, request::kQueryCode, request::kLoaderAttempts, answer))
        return {ELoaderAnswer::None, 0};
    if (answer.at(0) != request::kStatusAccepted)
        return {ELoaderAnswer::Refused, 0};
    const std::uint8_t value = answer.at(1);
    if (isKnownLoaderIdentity(value))
        return {ELoaderAnswer::Accepted, value};
    // A loader that does not belong to any known model is told to leave.
    leaveLoader();
    return {ELoaderAnswer::Refused, value};
}

void CLPGDevice::fillDemoIdentity() {
    const ConfigLock lock = lockConfig();
    SDevInfo& devInfo = m_config.m_devInfo;
    devInfo.m_version = kDemoVersion;
    devInfo.m_injCount = kDemoInjectors;
    devInfo.m_serial = kDemoIdentifier;
    devInfo.m_prodDate = kDemoProductionDate;
    devInfo.m_flags1 = kDemoFlags1;
    devInfo.m_deviceID = kDemoModelCode;
    devInfo.m_modelName = std::string(modelFromReportedCode(kDemoModelCode)->name);
}

bool CLPGDevice::readDeviceInfo() {
    // Offline the identity is the file's.
    if (isOffline())
        return true;
    if (isDemo()) {
        const ConfigLock lock = lockConfig();
        fillDemoIdentity();
        updateSwitchableScale(m_config.m_devInfo.m_flags1);
        return true;
    }
    std::array<std::uint8_t, info::kSize> record{};
    if (!queryRecord(sub::kDeviceInfo, kDeviceInfoAnswer, record))
        return false;

    const ConfigLock lock = lockConfig();
    SDevInfo& devInfo = m_config.m_devInfo;
    const std::uint8_t* bytes = record.data();
    devInfo.m_flags1 = block_image::dwordAt(bytes, info::kFlags1);
    devInfo.m_flags2 = block_image::dwordAt(bytes, info::kFlags2);
    devInfo.m_prodDate = productionDateText(block_image::wordAt(bytes, info::kProductionDays));
    devInfo.m_version = block_image::wordAt(bytes, info::kVersion);
    // Control characters in an identifier would act on a terminal and end up in file names.
    devInfo.m_serial =
        escapeUnprintable(decodeIdentifier(std::span<const std::uint8_t, kIdentifierSize>(
            bytes + info::kIdentifier, kIdentifierSize)));
    devInfo.m_injCount = block_image::byteAt(bytes, info::kInjectors);
    // Codes that stand for one model are stored as that model's code, as identification does.
    const std::uint8_t reported = block_image::byteAt(bytes, info::kModelCode);
    const auto model = modelFromReportedCode(reported);
    devInfo.m_deviceID = model ? model->code : reported;
    updateSwitchableScale(devInfo.m_flags1);
    return true;
}

} // namespace torva
