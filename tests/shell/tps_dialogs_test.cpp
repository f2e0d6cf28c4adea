// The TPS correlation and sequence signal dialogs.
#include "fixture/sim_fixture.h"

#include "link/lpg_device.h"
#include "link/serial_settings.h"
#include "support/recording_ui.h"
#include "ui/pages/tps/seq_calibration_dlg.h"
#include "ui/pages/tps/sequence_chart.h"
#include "ui/pages/tps/tps2_corelation_dlg.h"
#include "ui/pages/tps/tps_correlation_chart.h"

using namespace torva;

TEST(TpsCorrelationDialog, PlotsOnlyWhileConnectedAndDropsThePointsOnClose) {
    CLPGDevice device;
    DiagSample sample{};
    sample.m_signal[4] = 300;
    device.diagData().push(sample);
    CTPS2CorelationDlg dialog(device);

    dialog.chart().tick();
    EXPECT_TRUE(dialog.chart().points().points().empty());
    device.setConnected(true);
    dialog.chart().tick();
    EXPECT_EQ(dialog.chart().points().points().size(), 2u);
    dialog.accept();
    EXPECT_TRUE(dialog.chart().points().points().empty());
}

class SequenceDialog : public test::CSimFixture {};

TEST_F(SequenceDialog, DrawsTheCaptureAndKeepsItWhenARereadFails) {
    test::CRecordingUi ui;
    startSim({}, false);
    CLPGDevice device;
    device.serialPort()->open(devicePath());
    device.serialPort()->setState(kControllerLine);
    device.serialPort()->setTimeout(kControllerTimeouts);
    CSeqCalibrationDlg dialog(device);

    dialog.OnBnClickedBtnCalibrate();
    const SSequencePulses drawn = dialog.chart().pulses();
    ASSERT_EQ(drawn.rpm.size(), 4u * 192) << transcriptText();
    EXPECT_TRUE(ui.messages().empty());

    sim().injectNext(sim::FaultKind::WrongCode, 15);
    dialog.OnBnClickedBtnCalibrate();
    ASSERT_EQ(ui.messages().size(), 1u);
    EXPECT_EQ(ui.messages()[0].text, "Nie powiodło się wczytanie ustawień urządzenia!");
    EXPECT_EQ(dialog.chart().pulses().rpm.size(), drawn.rpm.size());
}
