#include "link/lpg_device.h"

#include "config/block_image.h"
#include "config/device_type.h"
#include "link/device_errors.h"
#include "link/request_shapes.h"

#include <algorithm>

namespace torva {

namespace {

namespace sub {
constexpr std::uint8_t kStatistics = 17;
constexpr std::uint8_t kCounters = 56;
constexpr std::uint8_t kErrorStatus = 5;
constexpr std::uint8_t kErrorRecord = 9;
constexpr std::uint8_t kExtendedErrorRecord = 15;
constexpr std::uint8_t kCapturePage = 58;
constexpr std::uint8_t kCorrelationChunk = 59;
constexpr std::uint8_t kExhaustRecord = 62;
} // namespace sub

namespace answer {
constexpr std::uint8_t kStatistics = 12;
constexpr std::uint8_t kCounters = 41;
constexpr std::uint8_t kErrorStatus = 6;
constexpr std::uint8_t kErrorRecord = 7;
constexpr std::uint8_t kExtendedErrorRecord = 11;
constexpr std::uint8_t kCapturePage = 42;
constexpr std::uint8_t kCorrelationChunk = 43; // also the request code of a chunk write
constexpr std::uint8_t kExhaustRecord = 44;
} // namespace answer

constexpr std::size_t kStatisticsSize = 10;
constexpr std::size_t kCapturePageSize = 2 * 2 * kCaptureEdges;
constexpr std::size_t kChunkIndexSize = 2;
constexpr std::size_t kChunkDataSize = 2 * kCorrelationChunkEntries;

// The demo controller's running times, in half-seconds.
constexpr std::uint32_t kDemoFirstRunningTime = 30;
constexpr std::uint32_t kDemoSecondRunningTime = 45;

// The error record of model 37 is read when the injector byte of the status is set.
constexpr std::size_t kInjectorStatusByte = 1;
// The extended error record exists above this firmware version.
constexpr std::int32_t kLastVersionWithoutExtendedErrors = 296;

} // namespace

bool CLPGDevice::readStatistics() {
    // Offline the running times are those the file was saved with.
    if (isOffline())
        return true;
    if (isDemo()) {
        const ConfigLock lock = lockConfig();
        m_config.m_devInfo.m_statistic = {kDemoFirstRunningTime, kDemoSecondRunningTime, 0};
        return true;
    }
    std::array<std::uint8_t, kStatisticsSize> record{};
    if (!queryRecord(sub::kStatistics, answer::kStatistics, record))
        return false;
    const ConfigLock lock = lockConfig();
    m_config.m_devInfo.m_statistic = {block_image::dwordAt(record.data(), 0),
                                      block_image::dwordAt(record.data(), 4),
                                      block_image::wordAt(record.data(), 8)};
    return true;
}

bool CLPGDevice::readCounters(DeviceCounters& counters) {
    if (isDemo()) {
        counters[0] = 0;
        return true;
    }
    std::array<std::uint8_t, 4 * std::tuple_size_v<DeviceCounters>> record{};
    if (!queryRecord(sub::kCounters, answer::kCounters, record))
        return false;
    for (std::size_t i = 0; i < counters.size(); ++i)
        counters[i] = block_image::dwordAt(record.data(), 4 * i);
    return true;
}

bool CLPGDevice::readErrorStatus(ErrorStatus& status) {
    if (isDemo()) {
        // A demo that reported faults it does not show would send a newcomer looking for them.
        status = {0, 0, 0, 0};
        return true;
    }
    return queryRecord(sub::kErrorStatus, answer::kErrorStatus, status);
}

bool CLPGDevice::readErrorRecord(ErrorRecord& record) {
    if (isDemo()) {
        record.fill(0);
        return true;
    }
    return queryRecord(sub::kErrorRecord, answer::kErrorRecord, record);
}

bool CLPGDevice::readExtendedErrorRecord(ErrorRecord& record) {
    if (isDemo()) {
        record.fill(0);
        return true;
    }
    return queryRecord(sub::kExtendedErrorRecord, answer::kExtendedErrorRecord, record);
}

std::optional<std::vector<std::string>>
CLPGDevice::readErrorTexts(const CDeviceErrorList& decoders) {
    ErrorStatus status{};
    if (!readErrorStatus(status))
        return std::nullopt;
    if (m_config.m_devInfo.m_deviceID == kDeviceType37 && status[kInjectorStatusByte] != 0) {
        // Model 37 keeps its injector faults in the error record; the status byte is not
        // decoded then.
        status[kInjectorStatusByte] = 0;
        ErrorRecord record{};
        if (!readErrorRecord(record))
            return std::nullopt;
    }
    std::vector<std::string> texts = decoders.decodeStatus(status);
    if (m_config.m_devInfo.m_version > kLastVersionWithoutExtendedErrors) {
        ErrorRecord extended{};
        if (!readExtendedErrorRecord(extended))
            return std::nullopt;
        const std::vector<std::string> more = decoders.decodeExtended(extended);
        texts.insert(texts.end(), more.begin(), more.end());
    }
    return texts;
}

bool CLPGDevice::readExhaustRecord(ExhaustRecord& record) {
    if (isDemo())
        return true;
    return queryRecord(sub::kExhaustRecord, answer::kExhaustRecord, record);
}

bool CLPGDevice::readCapturePage(int page, SCapturePage& captured) {
    if (isDemo())
        return true;
    std::array<std::uint8_t, kCapturePageSize> bytes{};
    if (!queryRecord(sub::kCapturePage, answer::kCapturePage, bytes,
                     static_cast<std::uint16_t>(page)))
        return false;
    for (std::size_t i = 0; i < kCaptureEdges; ++i) {
        captured.rpmEdges[i] = block_image::wordAt(bytes.data(), 2 * i);
        captured.camshaftEdges[i] = block_image::wordAt(bytes.data(), 2 * (kCaptureEdges + i));
    }
    return true;
}

bool CLPGDevice::readCorrelationTable(CorrelationTable& table) {
    if (isDemo())
        return true;
    CorrelationTable read{};
    for (std::size_t first = 0; first < kCorrelationEntries; first += kCorrelationChunkEntries) {
        SAnswer got;
        if (!query(sub::kCorrelationChunk, static_cast<std::uint16_t>(first),
                   answer::kCorrelationChunk, request::kDefaultAttempts, got))
            return false;
        // The chunk goes where it was asked for; the index the answer repeats is not trusted.
        for (std::size_t i = 0; i < kCorrelationChunkEntries; ++i) {
            const std::size_t at = kChunkIndexSize + 2 * i;
            read[first + i] = static_cast<std::uint16_t>(got.at(at) | got.at(at + 1) << 8);
        }
    }
    table = read;
    return true;
}

bool CLPGDevice::writeCorrelationTable(const CorrelationTable& table) {
    if (isDemo())
        return true;
    for (std::size_t first = 0; first < kCorrelationEntries; first += kCorrelationChunkEntries) {
        const auto buildChunk = [&table, first] {
            std::vector<std::uint8_t> chunk(kChunkIndexSize + kChunkDataSize);
            block_image::putWord(chunk.data(), 0, static_cast<std::uint16_t>(first));
            for (std::size_t i = 0; i < kCorrelationChunkEntries; ++i)
                block_image::putWord(chunk.data(), kChunkIndexSize + 2 * i, table[first + i]);
            return chunk;
        };
        if (!writeAcked(answer::kCorrelationChunk, buildChunk, request::kDefaultAttempts))
            return false;
    }
    return true;
}

} // namespace torva
