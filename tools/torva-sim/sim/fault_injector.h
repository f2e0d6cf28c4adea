#pragma once

#include <array>
#include <cstdint>
#include <random>
#include <vector>

namespace torva::sim {

// The ways an answer can go wrong on its way to the PC.
enum class FaultKind {
    Drop,            // the answer is not sent
    CorruptChecksum, // the checksum's low byte is flipped
    Noise,           // noise bytes (never 0xAA) go out before the header
    Split,           // the answer goes out in two halves with a gap between them
    WrongCode,       // a valid frame with another response code
};
inline constexpr std::size_t kFaultKinds = 5;

// Which faults hit one answer.
struct FaultDecision {
    bool drop = false;
    bool corruptChecksum = false;
    bool noise = false;
    bool split = false;
    bool wrongCode = false;
};

// Decides, answer by answer, which faults to inject: a fault fires for each of the next N answers
// it was armed for, and otherwise with its percentage (from a seeded generator, so runs repeat).
class CFaultInjector {
public:
    explicit CFaultInjector(std::uint32_t seed);

    void injectNext(FaultKind kind, int count);
    void setPercent(FaultKind kind, int percent);
    void setNoiseBytes(int count) { m_noiseBytes = count; }
    void setSplitGapMs(int ms) { m_splitGapMs = ms; }
    int splitGapMs() const { return m_splitGapMs; }
    // A silent controller (cable pulled) neither hears requests nor answers.
    void setSilent(bool silent) { m_silent = silent; }
    bool silent() const { return m_silent; }
    // Disarms everything and brings the line back.
    void clear();

    FaultDecision decide();
    std::vector<std::uint8_t> noise();
    // The code a wrong-code answer carries instead of code.
    static std::uint8_t wrongCode(std::uint8_t code);

private:
    bool fires(FaultKind kind);

    struct Rule {
        int next = 0;
        int percent = 0;
    };
    std::array<Rule, kFaultKinds> m_rules{};
    std::mt19937 m_random;
    int m_noiseBytes = 2;
    int m_splitGapMs = 30;
    bool m_silent = false;
};

} // namespace torva::sim
