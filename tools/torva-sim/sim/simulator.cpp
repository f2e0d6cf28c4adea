#include "sim/simulator.h"

#include "link/frame_codec.h"
#include "sim/pty_host.h"

#include <algorithm>
#include <stdexcept>

namespace torva::sim {

namespace {

// 38400 baud with a start and a stop bit: 3840 bytes a second.
constexpr std::chrono::nanoseconds kByteTime{1'000'000'000LL * 10 / 38400};
constexpr int kPollMs = 20;
constexpr std::size_t kPaceChunk = 4;

std::string faultNote(const FaultDecision& decision, std::uint8_t sentCode, std::size_t noise) {
    std::string note;
    auto add = [&note](const std::string& part) { note += (note.empty() ? "" : ", ") + part; };
    if (decision.wrongCode)
        add("wrong code " + std::to_string(sentCode));
    if (decision.corruptChecksum)
        add("corrupt checksum");
    if (decision.noise)
        add("noise " + std::to_string(noise));
    if (decision.split)
        add("split");
    return note;
}

} // namespace

CSimulator::CSimulator(SimConfig config)
    : m_config(std::move(config)), m_epoch(std::chrono::steady_clock::now()),
      m_controller(std::make_unique<CControllerModel>(m_config.controller)),
      m_faults(m_config.controller.seed + 1), m_random(m_config.controller.seed + 2),
      m_pace(m_config.pace) {}

CSimulator::~CSimulator() {
    stop();
}

void CSimulator::start() {
    if (running())
        throw std::logic_error("the simulator is already running");
    auto pty = std::make_unique<CPtyHost>();
    if (!m_config.linkPath.empty())
        pty->linkAt(m_config.linkPath);
    m_devicePath = pty->slavePath();
    m_pty = std::move(pty);
    m_stop = false;
    m_thread = std::thread([this] { run(); });
}

void CSimulator::stop() {
    if (!running())
        return;
    m_stop = true;
    m_thread.join();
    m_pty.reset();
}

void CSimulator::replaceController(const ControllerSettings& controller) {
    std::lock_guard lock(m_mutex);
    m_controller = std::make_unique<CControllerModel>(controller);
}

std::int64_t CSimulator::nowMs() const {
    return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() -
                                                                 m_epoch)
        .count();
}

bool CSimulator::waitForRequests(std::size_t count, int timeoutMs) const {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    while (true) {
        std::size_t requests = 0;
        for (const auto& entry : m_transcript.entries())
            requests += entry.direction == Direction::Request ? 1 : 0;
        if (requests >= count)
            return true;
        if (std::chrono::steady_clock::now() >= deadline)
            return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
}

void CSimulator::setObserver(std::function<void(const TranscriptEntry&)> observer) {
    m_observer = std::move(observer);
}

void CSimulator::injectNext(FaultKind kind, int count) {
    std::lock_guard lock(m_mutex);
    m_faults.injectNext(kind, count);
}

void CSimulator::setFaultPercent(FaultKind kind, int percent) {
    std::lock_guard lock(m_mutex);
    m_faults.setPercent(kind, percent);
}

void CSimulator::setNoiseBytes(int count) {
    std::lock_guard lock(m_mutex);
    m_faults.setNoiseBytes(count);
}

void CSimulator::setSplitGapMs(int ms) {
    std::lock_guard lock(m_mutex);
    m_faults.setSplitGapMs(ms);
}

void CSimulator::setSilent(bool silent) {
    std::lock_guard lock(m_mutex);
    m_faults.setSilent(silent);
}

void CSimulator::clearFaults() {
    std::lock_guard lock(m_mutex);
    m_faults.clear();
}

std::vector<std::uint8_t> CSimulator::flashImage() const {
    std::lock_guard lock(m_mutex);
    return m_controller->flash().bytes();
}

std::vector<std::uint8_t> CSimulator::blockImage(std::uint8_t code) const {
    std::lock_guard lock(m_mutex);
    return m_controller->blocks().image(code);
}

bool CSimulator::inLoader() const {
    std::lock_guard lock(m_mutex);
    return m_controller->inLoader();
}

std::size_t CSimulator::rejectedFrames() const {
    std::lock_guard lock(m_mutex);
    return m_rejected;
}

void CSimulator::record(TranscriptEntry entry) {
    entry.timeMs = nowMs();
    if (m_observer)
        m_observer(entry);
    m_transcript.add(std::move(entry));
}

void CSimulator::run() {
    CFrameParser parser;
    std::uint8_t buffer[512];
    std::int64_t lastByteMs = 0;
    while (!m_stop) {
        const std::size_t got = m_pty->read(buffer, sizeof buffer, kPollMs);
        const std::int64_t now = nowMs();
        if (got == 0) {
            if (parser.hasPartial() && now - lastByteMs > m_config.quietGapMs)
                parser.discardPartial();
            continue;
        }
        lastByteMs = now;
        {
            std::lock_guard lock(m_mutex);
            if (m_faults.silent())
                continue; // the cable is pulled: nothing arrives
        }
        parser.feed(buffer, got);
        while (auto request = parser.next()) {
            if (m_pace) // the request itself took this long on the wire
                std::this_thread::sleep_for(kByteTime * (8 + request->payload.size()));
            if (auto outgoing = respond(*request))
                send(*outgoing);
        }
        std::lock_guard lock(m_mutex);
        m_rejected = parser.rejectedFrames();
    }
}

std::optional<CSimulator::Outgoing> CSimulator::respond(const SimRequest& request) {
    std::lock_guard lock(m_mutex);
    record({0, Direction::Request, request.code, request.payload, ""});
    const std::optional<SimAnswer> answer = m_controller->handle(request, nowMs());
    if (!answer)
        return std::nullopt;
    const FaultDecision decision = m_faults.decide();
    if (decision.drop) {
        record({0, Direction::Answer, answer->code, answer->payload, "dropped"});
        return std::nullopt;
    }
    const std::uint8_t code =
        decision.wrongCode ? CFaultInjector::wrongCode(answer->code) : answer->code;
    const auto random = static_cast<std::uint16_t>(m_random() & 0x7FFF);
    Outgoing outgoing;
    outgoing.bytes = frame::encode(code, random, answer->payload.data(), answer->payload.size(),
                                   !answer->liveSample);
    if (decision.corruptChecksum)
        outgoing.bytes.back() ^= 0x5A;
    std::size_t noiseCount = 0;
    if (decision.noise) {
        const std::vector<std::uint8_t> noise = m_faults.noise();
        noiseCount = noise.size();
        outgoing.bytes.insert(outgoing.bytes.begin(), noise.begin(), noise.end());
    }
    outgoing.split = decision.split;
    outgoing.splitGapMs = m_faults.splitGapMs();
    record({0, Direction::Answer, code, answer->payload, faultNote(decision, code, noiseCount)});
    return outgoing;
}

void CSimulator::send(const Outgoing& outgoing) {
    const std::size_t first = outgoing.split ? outgoing.bytes.size() / 2 : outgoing.bytes.size();
    writePaced(outgoing.bytes.data(), first);
    if (!outgoing.split)
        return;
    std::this_thread::sleep_for(std::chrono::milliseconds(outgoing.splitGapMs));
    writePaced(outgoing.bytes.data() + first, outgoing.bytes.size() - first);
}

void CSimulator::writePaced(const std::uint8_t* data, std::size_t count) {
    if (!m_pace) {
        m_pty->write(data, count);
        return;
    }
    // Each chunk leaves only once the line could have carried it.
    const auto start = std::chrono::steady_clock::now();
    for (std::size_t sent = 0; sent < count && !m_stop;) {
        const std::size_t chunk = std::min(kPaceChunk, count - sent);
        std::this_thread::sleep_until(start + kByteTime * (sent + chunk));
        m_pty->write(data + sent, chunk);
        sent += chunk;
    }
}

} // namespace torva::sim
