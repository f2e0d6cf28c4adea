#pragma once

#include "config/block_table.h"
#include "config/device_config.h"
#include "link/device_records.h"
#include "link/diag_sample.h"

#include <cstdint>
#include <functional>
#include <optional>

namespace torva {

class CLPGDevice;
class IUserInterface;

// What one live sample says about the pedal, in the units the load axes use.
struct STpsReading {
    double digital = 0;          // digital TPS, per cent (m_ext[2] / 10)
    double tps1 = 0;             // TPS 1 input: volts, or tenths with the raw-TPS flag
    double tps2 = 0;             // TPS 2 input, volts
    std::uint16_t tps1Count = 0; // m_signal[4]
    std::uint16_t tps2Count = 0; // m_signal[6]
};
STpsReading tpsReading(const DiagSample& sample, const CDeviceConfig& config);

// A load axis from the pedal's 0 % and 100 % readings: point i = min + i * (max - min) / 16
// (whole numbers for the digital TPS, else two decimals), the last point max.
LoadAxis tpsCalibrationAxis(double min, double max, bool wholeNumbers);

// The TPS 1 -> TPS 2 correlation table as the straight line through (k, a) and (m, b), x the
// TPS 1 count (the table index), y the TPS 2 count, entries limited to 0...65535. nullopt when
// m is not above k: no line runs through them.
std::optional<CorrelationTable> tpsCorrelationLine(std::uint16_t k, std::uint16_t a,
                                                   std::uint16_t m, std::uint16_t b);

enum class ETpsCalibrationEnd {
    Completed,
    Cancelled,    // the user cancelled a question
    Refused,      // the readings cannot make an axis; nothing was written
    Failed,       // a read or write failed; its message was shown
    NotConnected, // nothing to calibrate
};

// The TPS calibration of the settings page's "Kalibracja TPS" button: asks the fitter to hold
// the pedal at 0 % and 100 %, sets the load axes of the TPS channels from the two readings and,
// for a double analog TPS from firmware 296, replaces the controller's correlation table by the
// straight line between them. It stops at the first failure; what it has not written stays as
// it was.
class CTpsCalibration {
public:
    // Reads one live sample directly from the controller; by default CLPGDevice::readLiveSample.
    using SampleReader = std::function<bool(DiagSample&)>;
    CTpsCalibration(CLPGDevice& device, IUserInterface& ui, SampleReader readSample = {});

    ETpsCalibrationEnd run();

private:
    bool ask(const char* text, const char* caption);
    // Rounds of 100 ms with the window painting; with progressText, shown as progress.
    void waitRounds(int rounds, const char* progressText = nullptr);
    // One request (or a short run of them) while the window keeps painting.
    bool exchange(const std::function<bool()>& request);
    std::optional<STpsReading> readPedal();
    bool refuseReadings(const STpsReading& low, const STpsReading& high);
    bool writeAxis(EBlock block, LoadAxis& field, const LoadAxis& axis);
    bool writeAxes(const STpsReading& low, const STpsReading& high);
    bool correlationWanted() const;
    ETpsCalibrationEnd calibrateCorrelation(const STpsReading& low, const STpsReading& high);
    bool writeCorrelationChecked(const CorrelationTable& table);
    void failed(const char* text);

    CLPGDevice& m_device;
    IUserInterface& m_ui;
    SampleReader m_readSample;
};

} // namespace torva
