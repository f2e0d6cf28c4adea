#include "sim/fault_injector.h"

#include <algorithm>

namespace torva::sim {

CFaultInjector::CFaultInjector(std::uint32_t seed) : m_random(seed) {}

void CFaultInjector::injectNext(FaultKind kind, int count) {
    m_rules[static_cast<std::size_t>(kind)].next = std::max(0, count);
}

void CFaultInjector::setPercent(FaultKind kind, int percent) {
    m_rules[static_cast<std::size_t>(kind)].percent = std::clamp(percent, 0, 100);
}

void CFaultInjector::clear() {
    m_rules = {};
    m_silent = false;
}

bool CFaultInjector::fires(FaultKind kind) {
    Rule& rule = m_rules[static_cast<std::size_t>(kind)];
    if (rule.next > 0) {
        --rule.next;
        return true;
    }
    if (rule.percent == 0)
        return false;
    return std::uniform_int_distribution<int>(0, 99)(m_random) < rule.percent;
}

FaultDecision CFaultInjector::decide() {
    FaultDecision decision;
    decision.drop = fires(FaultKind::Drop);
    if (decision.drop)
        return decision; // nothing else matters for an answer that is never sent
    decision.wrongCode = fires(FaultKind::WrongCode);
    decision.corruptChecksum = fires(FaultKind::CorruptChecksum);
    decision.noise = fires(FaultKind::Noise);
    decision.split = fires(FaultKind::Split);
    return decision;
}

std::vector<std::uint8_t> CFaultInjector::noise() {
    std::vector<std::uint8_t> bytes(static_cast<std::size_t>(std::max(0, m_noiseBytes)));
    std::uniform_int_distribution<int> value(0, 0xFE);
    for (auto& byte : bytes) {
        const int v = value(m_random);
        byte = static_cast<std::uint8_t>(v >= 0xAA ? v + 1 : v); // anything but a frame start
    }
    return bytes;
}

std::uint8_t CFaultInjector::wrongCode(std::uint8_t code) {
    // An acknowledgement turns into a block answer and every other answer into an acknowledgement.
    return code == 0x02 ? 0x03 : 0x02;
}

} // namespace torva::sim
