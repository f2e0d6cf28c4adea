// The TPS calibration against a simulated controller whose pedal the test moves.
#include "settings_sim_rig.h"

#include "config/block_codec.h"
#include "ui/pages/settings/tps_calibration.h"

using namespace torva;
using Requests = std::vector<std::string>;

namespace {

constexpr const char* kAt0 = "Kalibracja TPS - pozycja 0%";
constexpr const char* kAt100 = "Kalibracja TPS - pozycja 100%";
constexpr const char* kDouble = "Kalibracja TPS podwójny";
constexpr int kBlockWriteAttempts = 15;

class TpsCalibration : public test::CSettingsSimTest {
protected:
    // A connected double-TPS controller (version 303) with the pedal held at 10 %.
    void SetUp() override {
        connect();
        m_device->config().m_base.m_flags |= 0x10;
        holdPedal(0.1);
    }

    void answerOk(int count) {
        for (int i = 0; i < count; ++i)
            m_ui.queueAnswer(EAnswer::Ok);
    }

    void holdPedal(double position) {
        sim().withController([&](sim::CControllerModel& c) {
            c.engine().holdPedal(position);
            return 0;
        });
    }

    ETpsCalibrationEnd run() {
        CTpsCalibration calibration(*m_device, m_ui);
        return calibration.run();
    }

    bool completionShown() {
        for (const auto& shown : m_ui.messages())
            if (shown.text == "Kalibracja TPS zakończona.")
                return true;
        return false;
    }
};

} // namespace

TEST_F(TpsCalibration, SetsBothAxesAndTheCorrelationLineFromThePedalTravel) {
    answerOk(4);
    m_ui.onQuestion(kAt100, [this] { holdPedal(0.9); });

    EXPECT_EQ(run(), ETpsCalibrationEnd::Completed) << transcriptText();
    EXPECT_EQ(requests(),
              (Requests{"2/2", "2/6", "31", "32", "2/60", "2/59", "43", "2/61", "2/10", "2/59"}));
    const CDeviceConfig& config = m_device->config();
    EXPECT_LT(config.m_mapCoordinatesEmu3[0], config.m_mapCoordinatesEmu3[15]);
    EXPECT_EQ(sim().blockImage(31), encodeBlock(EBlock::Axis3, config));
    EXPECT_EQ(sim().blockImage(32), encodeBlock(EBlock::Axis4, config));
    // TPS 1 counts 175 -> 775 and TPS 2 counts 88 -> 388 at 10 % and 90 %.
    const auto line = tpsCorrelationLine(175, 88, 775, 388);
    const auto stored =
        sim().withController([](sim::CControllerModel& c) { return c.correlationTable(); });
    EXPECT_EQ(stored, std::vector<std::uint16_t>(line->begin(), line->end()));
    EXPECT_TRUE(completionShown());
}

TEST_F(TpsCalibration, ADigitalTpsSetsItsOwnAxisAndNoCorrelationLine) {
    answerOk(3);
    m_device->config().m_serviceSetup.m_advancedFlags2 |= 0x10;
    m_ui.onQuestion(kAt100, [this] { holdPedal(0.9); });

    EXPECT_EQ(run(), ETpsCalibrationEnd::Completed);
    EXPECT_EQ(requests(), (Requests{"2/2", "2/6", "39"}));
    const LoadAxis& axis = m_device->config().m_mapCoordinatesEmuTpsD;
    EXPECT_EQ(axis[0], 18); // 18.0 % and 82.0 % from the digital TPS
    EXPECT_EQ(axis[1], 22);
    EXPECT_EQ(axis[15], 82);
}

// Reads live samples from the simulator with the second track's counts replaced, in turn, by
// these (the first read at 0 %, the second at 100 %).
CTpsCalibration::SampleReader secondTrack(CLPGDevice& device, std::vector<std::uint16_t> counts) {
    return [&device, counts, read = std::size_t{0}](DiagSample& sample) mutable {
        if (!device.readLiveSample(sample))
            return false;
        sample.m_signal[6] = counts[std::min(read++, counts.size() - 1)];
        return true;
    };
}

TEST_F(TpsCalibration, AFallingSecondTrackGetsAFallingLineAndARisingAxis) {
    answerOk(4);
    m_ui.onQuestion(kAt100, [this] { holdPedal(0.9); });
    CTpsCalibration calibration(*m_device, m_ui, secondTrack(*m_device, {700, 100}));

    EXPECT_EQ(calibration.run(), ETpsCalibrationEnd::Completed) << transcriptText();
    const auto stored =
        sim().withController([](sim::CControllerModel& c) { return c.correlationTable(); });
    const auto line = tpsCorrelationLine(175, 700, 775, 100);
    EXPECT_EQ(stored, std::vector<std::uint16_t>(line->begin(), line->end()));
    EXPECT_GT(stored[175], stored[775]);
    const LoadAxis& axis4 = m_device->config().m_mapCoordinatesEmu4;
    EXPECT_LT(axis4[0], axis4[15]);
    EXPECT_TRUE(completionShown());
}

TEST_F(TpsCalibration, ASecondTrackMattersOnlyWhereTheCorrelationIsBuilt) {
    m_ui.onQuestion(kAt100, [this] { holdPedal(0.9); });
    // A flat second track leaves no line to draw: refused before anything is written.
    answerOk(3);
    CTpsCalibration flat(*m_device, m_ui, secondTrack(*m_device, {300, 300}));
    EXPECT_EQ(flat.run(), ETpsCalibrationEnd::Refused);
    EXPECT_EQ(requests(), (Requests{"2/2", "2/6"}));

    // Firmware 295 builds no correlation: the same readings set the axes, nothing more.
    m_device->config().m_devInfo.m_version = 295;
    holdPedal(0.1);
    sim().transcript().clear();
    answerOk(3);
    CTpsCalibration older(*m_device, m_ui, secondTrack(*m_device, {300, 300}));
    EXPECT_EQ(older.run(), ETpsCalibrationEnd::Completed);
    EXPECT_EQ(requests(), (Requests{"2/2", "2/6", "31", "32"}));

    // Nor does a single TPS (bit 4 clear).
    m_device->config().m_devInfo.m_version = 303;
    m_device->config().m_base.m_flags &= ~0x10;
    holdPedal(0.1);
    sim().transcript().clear();
    answerOk(3);
    CTpsCalibration single(*m_device, m_ui, secondTrack(*m_device, {300, 300}));
    EXPECT_EQ(single.run(), ETpsCalibrationEnd::Completed);
    EXPECT_EQ(requests(), (Requests{"2/2", "2/6", "31", "32"}));
}

TEST_F(TpsCalibration, ACorrelationThatDoesNotReadBackIsWrittenFiveTimesThenReported) {
    answerOk(4);
    m_ui.onQuestion(kAt100, [this] { holdPedal(0.9); });
    // Every read-back differs from what was written: the controller lost an entry.
    m_ui.onWait([this](int ms) {
        if (ms != 2000)
            return;
        sim().withController([](sim::CControllerModel& c) {
            auto table = c.correlationTable();
            table[512] ^= 1;
            c.setCorrelationTable(table);
            return 0;
        });
    });
    EXPECT_EQ(run(), ETpsCalibrationEnd::Failed);
    EXPECT_EQ(sim().transcript().countRequests(2, 61), 5u);
    EXPECT_EQ(sim().transcript().countRequests(2, 10), 5u);
    EXPECT_EQ(m_ui.messages().back().text, "Nie powiodło się wpisanie ustawień do urządzenia!");
    EXPECT_FALSE(completionShown());
}

TEST_F(TpsCalibration, APedalThatDidNotMoveIsRefusedBeforeAnythingIsWritten) {
    answerOk(3);
    const CDeviceConfig before = m_device->config();

    EXPECT_EQ(run(), ETpsCalibrationEnd::Refused);
    EXPECT_EQ(requests(), (Requests{"2/2", "2/6"}));
    EXPECT_EQ(m_device->config(), before);
    EXPECT_FALSE(completionShown());
}

TEST_F(TpsCalibration, CancelAndFailuresStopWithoutReportingCompletion) {
    const CDeviceConfig before = m_device->config();
    m_ui.onQuestion(kAt100, [this] { holdPedal(0.9); });

    // Cancelled at 100 %.
    answerOk(2);
    m_ui.queueAnswer(EAnswer::Cancel);
    EXPECT_EQ(run(), ETpsCalibrationEnd::Cancelled);
    EXPECT_EQ(m_device->config(), before);

    // The channel-3 write fails: neither axis changes.
    holdPedal(0.1);
    answerOk(3);
    int reads = 0;
    CTpsCalibration failing(*m_device, m_ui, [&](DiagSample& sample) {
        const bool read = m_device->readLiveSample(sample);
        if (++reads == 2)
            sim().injectNext(sim::FaultKind::WrongCode, kBlockWriteAttempts);
        return read;
    });
    EXPECT_EQ(failing.run(), ETpsCalibrationEnd::Failed);
    EXPECT_EQ(m_device->config(), before);
    EXPECT_EQ(m_ui.messages().back().text, "Nie powiodło się wpisanie ustawień do urządzenia!");

    // The correlation recording cannot start: the axes stay written.
    holdPedal(0.1);
    answerOk(4);
    m_ui.onQuestion(kDouble, [this] { sim().injectNext(sim::FaultKind::WrongCode, 15); });
    EXPECT_EQ(run(), ETpsCalibrationEnd::Failed);
    EXPECT_EQ(sim().blockImage(32), encodeBlock(EBlock::Axis4, m_device->config()));
    EXPECT_EQ(sim().transcript().countRequests(43), 0u);
    EXPECT_FALSE(completionShown());
}
