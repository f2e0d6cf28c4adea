#include "diag/diag_file.h"

#include "diag/diag_sample_values.h"
#include "platform/clock.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cstddef>
#include <string_view>

namespace torva {

namespace {

constexpr char kRecordingExtension[] = "oscd";
constexpr std::size_t kRecordingExtensionLength = sizeof(kRecordingExtension) - 1;

// Builds a line as printf would with "%d" and "%.Nf", independent of the C locale.
class CLineBuilder {
public:
    void integer(int value) { put(std::to_chars(m_buffer, std::end(m_buffer), value)); }
    void fixed(double value, int decimals) {
        put(std::to_chars(m_buffer, std::end(m_buffer), value, std::chars_format::fixed, decimals));
    }
    std::string finish() {
        m_line.push_back('\n');
        return std::move(m_line);
    }

private:
    void put(std::to_chars_result result) {
        if (!m_line.empty())
            m_line.push_back('\t');
        m_line.append(m_buffer, result.ptr);
    }

    // Enough for any double in fixed notation with two decimals.
    char m_buffer[400];
    std::string m_line;
};

} // namespace

bool hasRecordingExtension(const std::string& name) {
    if (name.size() < kRecordingExtensionLength)
        return false;
    const std::string_view tail(name.data() + name.size() - kRecordingExtensionLength,
                                kRecordingExtensionLength);
    return std::equal(tail.begin(), tail.end(), kRecordingExtension, [](char a, char b) {
        return std::tolower(static_cast<unsigned char>(a)) == b;
    });
}

std::string withRecordingExtension(const std::string& name) {
    return hasRecordingExtension(name) ? name : name + "." + kRecordingExtension;
}

std::string formatDiagLine(const DiagSample& sample, const CDeviceConfig& config) {
    const SLiveValues v = liveValues(sample, config);
    CLineBuilder line;
    line.integer(v.fuelMode);
    line.integer(v.switchState);
    line.fixed(v.statusFlags, 0);
    line.fixed(v.engineSpeed, 0);
    line.fixed(v.gasInjTimeMs, 2);
    line.fixed(v.pressureKPa, 0);
    line.fixed(v.vacuumKPa, 0);
    line.fixed(v.gasTemperature, 0);
    line.fixed(v.reducerTemperature, 0);
    line.fixed(v.supplyVolts, 2);
    for (const double signal : v.signal)
        line.fixed(signal, 2);
    line.fixed(v.exhaustTemperature, 0);
    line.fixed(v.crInjTimeMs, 2);
    for (int i = 0; i < kExtCount; ++i)
        line.fixed(v.ext[i], i % 4 < 2 ? 2 : 1);
    return line.finish();
}

CDiagFile::~CDiagFile() {
    close();
}

bool namesFolder(const std::string& name) {
    return name.empty() || name.back() == '/' || name.back() == '\\';
}

bool CDiagFile::open(const std::string& fileName, EOpen mode) {
    close();
    if (!namesFolder(fileName))
        m_file = std::fopen(fileName.c_str(), mode == EOpen::Append ? "a" : "w");
    if (m_file == nullptr)
        return false;
    m_fileName = fileName;
    m_lastFlushMs = appClock().nowMs();
    return true;
}

void CDiagFile::appendLine(const DiagSample& sample, const CDeviceConfig& config) {
    if (m_file == nullptr)
        return;
    const std::string line = formatDiagLine(sample, config);
    std::fwrite(line.data(), 1, line.size(), m_file);
    const std::int64_t now = appClock().nowMs();
    if (now - m_lastFlushMs >= kFlushIntervalMs) {
        std::fflush(m_file);
        m_lastFlushMs = now;
    }
}

void CDiagFile::close() {
    if (m_file != nullptr)
        std::fclose(m_file);
    m_file = nullptr;
    m_fileName.clear();
}

} // namespace torva
