#include "ui/pages/settings/tps_calibration.h"

#include "config/rounding.h"
#include "diag/diag_sample_values.h"
#include "lang/source_text.h"
#include "link/lpg_device.h"
#include "platform/user_interface.h"
#include "ui/pages/common/page_messages.h"

#include <algorithm>
#include <utility>

namespace torva {

namespace {

constexpr const char* kCalibrationCaption = PL("Kalibracja TPS");
constexpr const char* kTps1NotRising =
    PL("Odczyt TPS w pozycji 100 % nie jest większy niż w pozycji 0 %. Sprawdź czujnik i powtórz "
       "kalibrację.");
constexpr const char* kTps2Flat =
    PL("Odczyt TPS 2 w pozycji 100 % jest taki sam jak w pozycji 0 %. Sprawdź czujnik i "
       "powtórz kalibrację.");
constexpr const char* kRecordingProgress = PL("Zapis przebiegu TPS podwójnego...");
constexpr const char* kCorrelationProgress = PL("Zapis tablicy korelacji TPS...");

constexpr std::uint8_t kDigitalTpsFlag = 0x10; // m_serviceSetup.m_advancedFlags2
constexpr std::uint8_t kTpsDoubleFlag = 0x10;  // m_base.m_flags
constexpr std::int32_t kCorrelationVersion = 296;

constexpr int kRoundMs = 100;
constexpr int kAfterDieselMs = 1500;
constexpr int kPedalSettleRounds = 19;
constexpr int kRecordingRounds = 99;
constexpr int kAfterResetMs = 2000;
constexpr int kCorrelationAttempts = 5;

constexpr int kTps1Signal = 4;
constexpr int kTps2Signal = 6;
constexpr int kDigitalTpsExt = 2;

bool digitalTps(const CDeviceConfig& config) {
    return (config.m_serviceSetup.m_advancedFlags2 & kDigitalTpsFlag) != 0;
}

bool tpsDouble(const CDeviceConfig& config) {
    return (config.m_base.m_flags & kTpsDoubleFlag) != 0;
}

} // namespace

STpsReading tpsReading(const DiagSample& sample, const CDeviceConfig& config) {
    const std::uint16_t flags = config.m_tempomatSetup.m_tempomatFlags;
    const double scale = signalScale(config.m_devInfo.m_flags1);
    STpsReading reading;
    reading.digital = extValue(sample, kDigitalTpsExt);
    reading.tps1 = signalValue(sample, kTps1Signal, flags, scale);
    reading.tps2 = signalValue(sample, kTps2Signal, flags, scale);
    reading.tps1Count = sample.m_signal[kTps1Signal];
    reading.tps2Count = sample.m_signal[kTps2Signal];
    return reading;
}

LoadAxis tpsCalibrationAxis(double min, double max, bool wholeNumbers) {
    LoadAxis axis{};
    for (int i = 0; i < kMapRows - 1; ++i) {
        const double point = min + i * (max - min) / 16;
        axis[i] = wholeNumbers ? round0(point) : round2(point);
    }
    axis[kMapRows - 1] = max;
    return axis;
}

std::optional<CorrelationTable> tpsCorrelationLine(std::uint16_t k, std::uint16_t a,
                                                   std::uint16_t m, std::uint16_t b) {
    if (m <= k)
        return std::nullopt;
    CorrelationTable table{};
    const double slope = (static_cast<double>(b) - a) / (m - k);
    for (std::size_t i = 0; i < table.size(); ++i) {
        const double y = round0(a + (static_cast<double>(i) - k) * slope);
        table[i] = static_cast<std::uint16_t>(std::clamp(y, 0.0, 65535.0));
    }
    return table;
}

CTpsCalibration::CTpsCalibration(CLPGDevice& device, IUserInterface& ui, SampleReader readSample)
    : m_device(device), m_ui(ui), m_readSample(std::move(readSample)) {
    if (!m_readSample)
        m_readSample = [this](DiagSample& sample) { return m_device.readLiveSample(sample); };
}

bool CTpsCalibration::ask(const char* text, const char* caption) {
    return m_ui.question(text, caption, EButtons::OkCancel, EIcon::Information) == EAnswer::Ok;
}

void CTpsCalibration::waitRounds(int rounds, const char* progressText) {
    for (int i = 0; i < rounds; ++i) {
        if (progressText != nullptr)
            m_ui.progress(progressText, i, rounds);
        m_ui.responsiveWait(kRoundMs);
    }
}

bool CTpsCalibration::exchange(const std::function<bool()>& request) {
    bool done = false;
    m_ui.runExchange([&] { done = request(); });
    return done;
}

void CTpsCalibration::failed(const char* text) {
    m_ui.message(text, page_message::kCaption, EIcon::Error);
}

std::optional<STpsReading> CTpsCalibration::readPedal() {
    waitRounds(kPedalSettleRounds);
    DiagSample sample{};
    if (!exchange([&] { return m_readSample(sample); })) {
        failed(page_message::kNoConnection);
        return std::nullopt;
    }
    return tpsReading(sample, m_device.config());
}

bool CTpsCalibration::refuseReadings(const STpsReading& low, const STpsReading& high) {
    const CDeviceConfig& config = m_device.config();
    // A pedal that was not moved (or a dead sensor) gives an empty or falling axis and a line
    // through one point. The second track matters only where the correlation line is built
    // from it, and may fall while the first rises (many pedals work so): only a flat one
    // leaves no line to draw.
    const bool tps1Rises =
        digitalTps(config) ? high.digital > low.digital : high.tps1Count > low.tps1Count;
    const bool tps2Moves = !correlationWanted() || high.tps2Count != low.tps2Count;
    if (tps1Rises && tps2Moves)
        return false;
    m_ui.message(tps1Rises ? kTps2Flat : kTps1NotRising, kCalibrationCaption, EIcon::Warning);
    return true;
}

bool CTpsCalibration::writeAxis(EBlock block, LoadAxis& field, const LoadAxis& axis) {
    const LoadAxis before =
        m_device.withConfig([&](CDeviceConfig&) { return std::exchange(field, axis); });
    if (exchange([&] { return m_device.writeBlock(block); }))
        return true;
    m_device.withConfig([&](CDeviceConfig&) { field = before; });
    failed(page_message::kWriteFailed);
    return false;
}

bool CTpsCalibration::writeAxes(const STpsReading& low, const STpsReading& high) {
    CDeviceConfig& config = m_device.config();
    if (digitalTps(config))
        return writeAxis(EBlock::AxisTpsD, config.m_mapCoordinatesEmuTpsD,
                         tpsCalibrationAxis(low.digital, high.digital, true));
    // A falling second track spans its axis from its lower reading: a load axis rises.
    return writeAxis(EBlock::Axis3, config.m_mapCoordinatesEmu3,
                     tpsCalibrationAxis(low.tps1, high.tps1, false)) &&
           writeAxis(EBlock::Axis4, config.m_mapCoordinatesEmu4,
                     tpsCalibrationAxis(std::min(low.tps2, high.tps2),
                                        std::max(low.tps2, high.tps2), false));
}

bool CTpsCalibration::correlationWanted() const {
    // A digital TPS takes no analog readings to build the line from.
    const CDeviceConfig& config = m_device.config();
    return tpsDouble(config) && !digitalTps(config) &&
           config.m_devInfo.m_version >= kCorrelationVersion;
}

bool CTpsCalibration::writeCorrelationChecked(const CorrelationTable& table) {
    struct SProgressEnd {
        IUserInterface& ui;
        ~SProgressEnd() { ui.progress({}, 0, 0); }
    } progressEnd{m_ui};
    for (int attempt = 0; attempt < kCorrelationAttempts; ++attempt) {
        m_ui.progress(kCorrelationProgress, attempt, kCorrelationAttempts);
        if (!exchange([&] {
                return m_device.writeCorrelationTable(table) &&
                       m_device.confirmCorrelationTable() && m_device.resetDevice();
            }))
            continue;
        m_ui.responsiveWait(kAfterResetMs);
        CorrelationTable readBack{};
        if (exchange([&] { return m_device.readCorrelationTable(readBack); }) && readBack == table)
            return true;
    }
    return false;
}

ETpsCalibrationEnd CTpsCalibration::calibrateCorrelation(const STpsReading& low,
                                                         const STpsReading& high) {
    if (!ask(PL("Ustaw TPS w pozycji 0 %. A następnie zmień powoli i płynnie pozycję do 100% i "
                "powtórz kilkakrotnie."),
             PL("Kalibracja TPS podwójny")))
        return ETpsCalibrationEnd::Cancelled;
    if (!exchange([&] { return m_device.setCorrelationRecording(true); })) {
        failed(page_message::kWriteFailed);
        return ETpsCalibrationEnd::Failed;
    }
    waitRounds(kRecordingRounds, kRecordingProgress);
    m_ui.progress({}, 0, 0);
    if (!exchange([&] { return m_device.setCorrelationRecording(false); })) {
        failed(page_message::kWriteFailed);
        return ETpsCalibrationEnd::Failed;
    }
    CorrelationTable recorded{};
    if (!exchange([&] { return m_device.readCorrelationTable(recorded); })) {
        failed(page_message::kReadFailed);
        return ETpsCalibrationEnd::Failed;
    }
    // refuseReadings made sure TPS 1 rose, so the line exists; it falls with a falling TPS 2.
    const auto line =
        tpsCorrelationLine(low.tps1Count, low.tps2Count, high.tps1Count, high.tps2Count);
    if (!line || !writeCorrelationChecked(*line)) {
        failed(page_message::kWriteFailed);
        return ETpsCalibrationEnd::Failed;
    }
    return ETpsCalibrationEnd::Completed;
}

ETpsCalibrationEnd CTpsCalibration::run() {
    if (!m_device.isConnected())
        return ETpsCalibrationEnd::NotConnected;
    if (!ask(PL("Kalibrację należy wykonać na postoju na włączonym zapłonie."),
             kCalibrationCaption))
        return ETpsCalibrationEnd::Cancelled;
    if (!exchange([&] { return m_device.switchToDiesel(); })) {
        failed(page_message::kDieselFailed);
        return ETpsCalibrationEnd::Failed;
    }
    m_ui.responsiveWait(kAfterDieselMs);

    if (!ask(PL("Ustaw TPS w pozycji 0 %. Po ustawieniu kliknij OK."),
             PL("Kalibracja TPS - pozycja 0%")))
        return ETpsCalibrationEnd::Cancelled;
    const auto low = readPedal();
    if (!low)
        return ETpsCalibrationEnd::Failed;
    if (!ask(PL("Ustaw TPS w pozycji 100 %. Po ustawieniu kliknij OK."),
             PL("Kalibracja TPS - pozycja 100%")))
        return ETpsCalibrationEnd::Cancelled;
    const auto high = readPedal();
    if (!high)
        return ETpsCalibrationEnd::Failed;

    if (refuseReadings(*low, *high))
        return ETpsCalibrationEnd::Refused;
    if (!writeAxes(*low, *high))
        return ETpsCalibrationEnd::Failed;
    if (correlationWanted()) {
        const ETpsCalibrationEnd end = calibrateCorrelation(*low, *high);
        if (end != ETpsCalibrationEnd::Completed)
            return end;
    }
    m_ui.message(PL("Kalibracja TPS zakończona."), kCalibrationCaption, EIcon::Information);
    return ETpsCalibrationEnd::Completed;
}

} // namespace torva
