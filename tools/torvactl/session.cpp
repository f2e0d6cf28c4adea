#include "session.h"

#include "exit_status.h"
#include "frame_log.h"
#include "lang/languages.h"
#include "lang/source_text.h"
#include "lang/translation.h"
#include "lang/user_locale.h"
#include "link/demo_sample.h"
#include "link/lpg_device.h"

#include <array>
#include <iostream>

namespace torva::cli {

namespace {

constexpr const char* kNoConnection = PL("Brak połączenia");

} // namespace

CSession::CSession() = default;

CSession::~CSession() {
    m_doc.reset();
    setAppUi(nullptr);
}

void CSession::prepare() {
    m_ui.setAssumeYes(m_options.yes);
    setAppUi(&m_ui);
    openLanguageFiles();
    selectLanguage(m_options.language.value_or(initialLanguageIndex()));
}

CVeko2012Doc& CSession::connect() {
    if (m_doc)
        return *m_doc;
    m_doc = std::make_unique<CVeko2012Doc>();
    CLPGDevice& device = m_doc->device();
    if (m_options.verbose) {
        device.decorateSerialIo([](std::unique_ptr<ISerialIo> inner) -> std::unique_ptr<ISerialIo> {
            return std::make_unique<CFrameLoggingIo>(std::move(inner), std::cerr);
        });
    }
    if (!m_options.file.empty()) {
        openFile();
        return *m_doc;
    }
    if (m_options.demo) {
        device.startDemo();
        m_portDescription = "demo";
        return *m_doc;
    }
    // After programming, the controller is looked for where it was found.
    m_doc->setSearchAndConnect([this, &device] {
        return m_options.port.empty() ? searchForController(device) : connectOnPort(device);
    });
    const bool found = m_options.port.empty() ? searchForController(device) : connectOnPort(device);
    if (!found)
        failKeepingLines(EExit::NoController, m_portDescription);
    // Warnings of the read were shown; the command decides what fails.
    m_ui.takeError();
    m_ui.takeDeclinedQuestion();
    return *m_doc;
}

void CSession::openFile() {
    const std::string refused = m_doc->openOffline(m_options.file);
    if (!refused.empty())
        fail(EExit::Refused, refused);
    m_portDescription = m_options.file;
}

void CSession::saveOfflineEdits() {
    if (!m_doc || !m_doc->device().isOffline() || m_doc->device().offlineEdits() == 0)
        return;
    if (!m_doc->saveOffline(m_options.file, false))
        failWithShownError(EExit::Refused, m_options.file + ": not written");
}

bool CSession::connectOnPort(CLPGDevice& device) {
    std::string why;
    if (device.connect(m_options.port, &why) && device.isConnected()) {
        m_portDescription = m_options.port;
        return true;
    }
    m_portDescription = translate(kNoConnection) + ": " + why;
    return false;
}

bool CSession::searchForController(CLPGDevice& device) {
    device.searchAndConnect();
    if (device.isConnected() && !device.isDemo() && device.serialPort() != nullptr) {
        m_portDescription = device.serialPort()->devicePath();
        return true;
    }
    m_portDescription = translate(kNoConnection);
    // Busy or forbidden ports are usually why nothing answered.
    for (const SPortProblem& problem : device.searchProblems())
        m_portDescription += "\n" + portProblemText(problem);
    return false;
}

bool CSession::readOneLiveSample() {
    CLPGDevice& link = device();
    DiagSample sample{};
    if (link.isDemo()) {
        fillDemoSample(sample, link.configCopy(), link.diagData());
        sample.m_seq = 1;
        link.diagData().push(sample);
        return true;
    }
    std::array<std::uint8_t, CLPGDevice::kExchangeBufferSize> buffer{};
    buffer[0] = kLiveSampleSubCode;
    std::uint8_t code = kLiveSampleRequest;
    std::uint8_t length = kLiveSampleRequestLength;
    if (link.transactStrict(code, buffer.data(), length) != CLPGDevice::kStrictOk)
        return false;
    // The strict exchange counts the two checksum bytes in the length.
    const std::size_t payloadLength = length >= 2 ? length - 2u : 0u;
    if (!decodeLiveSample(code, buffer.data(), payloadLength, sample))
        return false;
    sample.m_seq = 1;
    link.diagData().push(sample);
    return true;
}

void CSession::failOnDeclinedOrShownError() {
    const std::string declined = m_ui.takeDeclinedQuestion();
    if (!declined.empty())
        fail(EExit::Usage, declined + " (confirm with --yes)");
    const std::string shown = m_ui.takeError();
    if (!shown.empty())
        fail(EExit::Refused, shown);
}

void CSession::failWithShownError(EExit status, const std::string& fallback) {
    const std::string shown = m_ui.takeError();
    fail(status, shown.empty() ? fallback : shown);
}

} // namespace torva::cli
