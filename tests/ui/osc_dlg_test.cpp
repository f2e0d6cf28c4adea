#include "ui/pages/charts/scope_dlg.h"

#include "visible_series.h"

#include "diag/diag_file_reader.h"
#include "diag/polling_control.h"
#include "link/lpg_device.h"
#include "platform/thread_manager.h"
#include "support/recording_ui.h"
#include "support/temp_folder.h"
#include "ui/controls/transparent_check_box.h"

#include <QLabel>
#include <QPushButton>

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <set>
#include <thread>

namespace torva {
namespace {

namespace fs = std::filesystem;

DiagSample sampleAtRpm(std::uint16_t period, std::uint8_t pressureRaw) {
    DiagSample sample{};
    sample.m_rpmPeriod = period;
    sample.m_pressureRaw = pressureRaw;
    return sample;
}

class ChartsPageTest : public testing::Test {
protected:
    void TearDown() override { polling.stopPolling(); }

    const CScrollChartModel& model() const { return page.chart()->model(); }
    std::size_t pointsOf(int series) const { return model().series(series)->points.size(); }

    test::CRecordingUi ui;
    CLPGDevice device;
    CThreadManager threads;
    CPollingControl polling{device, threads};
    CScopeDLg page{device, polling};
    // A folder of its own: tests of this fixture run side by side in other processes.
    test::CTempFolder temp;
    fs::path folder = temp.path();
};

TEST_F(ChartsPageTest, BoxesStartWithTheirStatesAndShowTheirSeries) {
    EXPECT_EQ(visibleSeries(model()), (std::set<int>{0, 1, 2}));
    EXPECT_TRUE(page.checkBox(EChartBox::Pressure)->isChecked());
    EXPECT_FALSE(page.checkBox(EChartBox::Emulator3)->isChecked());

    device.config().m_tempomatSetup.m_tempomatFlags = 0x08;
    page.checkBox(EChartBox::Emulator3)->click();
    page.checkBox(EChartBox::Rpm)->click();
    EXPECT_EQ(visibleSeries(model()), (std::set<int>{1, 2, 25, 26}));
    // The flag going away while the box is ticked switches to the scaled pair.
    device.config().m_tempomatSetup.m_tempomatFlags = 0;
    page.refresh();
    EXPECT_EQ(visibleSeries(model()), (std::set<int>{1, 2, 11, 12}));
}

TEST_F(ChartsPageTest, EachRefreshPlotsOnePointFromTheNewestSample) {
    page.refresh();
    EXPECT_EQ(model().pointCount(), 0u); // no sample yet

    device.diagData().push(sampleAtRpm(15000, 10)); // 1000 RPM
    device.diagData().push(sampleAtRpm(7500, 10));
    device.diagData().push(sampleAtRpm(5000, 10)); // 3000 RPM, the newest
    page.refresh();
    ASSERT_EQ(pointsOf(0), 1u);
    EXPECT_EQ(model().series(0)->points[0].x, 0.0);
    EXPECT_DOUBLE_EQ(model().series(0)->points[0].y, 31.0);

    // No new sample: the newest is plotted again, 5 further on.
    page.refresh();
    ASSERT_EQ(pointsOf(0), 2u);
    EXPECT_EQ(model().series(0)->points[1].x, 5.0);
    EXPECT_EQ(model().pointCount(), 2u * 21u);

    page.clearButton()->click();
    EXPECT_EQ(model().pointCount(), 0u);
    EXPECT_EQ(page.feed().nextX(), 0.0);
}

TEST_F(ChartsPageTest, RecordsInDemoAndOpensTheFileAgain) {
    const std::string path = (folder / "drive.oscd").string();
    device.setDemo(true);

    page.flagButton()->click();
    EXPECT_TRUE(model().readOut());
    // A name without the extension is given it.
    ui.queueFile((folder / "drive").string());
    page.recordButton()->click();
    ASSERT_EQ(ui.fileChoices().size(), 1u);
    EXPECT_TRUE(ui.fileChoices()[0].save);
    EXPECT_EQ(ui.fileChoices()[0].defaultExtension, "oscd");
    ASSERT_TRUE(polling.isPolling());
    EXPECT_FALSE(model().readOut());
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    while (device.diagData().count() < 4 && std::chrono::steady_clock::now() < deadline) {
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
        page.refresh();
    }
    EXPECT_TRUE(page.fileLabel()->text().contains(QStringLiteral("drive.oscd")));
    polling.stopPolling();
    page.refresh();
    EXPECT_TRUE(page.fileLabel()->text().isEmpty());
    const std::size_t recorded = readDiagFile(path).size();
    ASSERT_GE(recorded, 4u);
    EXPECT_GT(pointsOf(0), 0u); // live points while recording

    // A wrong extension is ignored: the live chart stays.
    const std::size_t livePoints = model().pointCount();
    ui.queueFile((folder / "drive.txt").string());
    page.openButton()->click();
    EXPECT_EQ(model().pointCount(), livePoints);
    EXPECT_FALSE(page.openedFile());

    ui.queueFile(path);
    page.openButton()->click();
    ASSERT_EQ(pointsOf(0), recorded);
    EXPECT_EQ(model().series(0)->points.back().x, 6.0 * static_cast<double>(recorded - 1));
    // The chart shows the file's last engine speed (column 4), scaled to the chart.
    const double lastRpm = readDiagFile(path).back()[recordIndexOfColumn(4)];
    EXPECT_GT(lastRpm, 0);
    EXPECT_DOUBLE_EQ(model().series(0)->points.back().y, lastRpm / 10000.0 * 100.0 + 1.0);
    EXPECT_TRUE(model().readOut());
    EXPECT_TRUE(page.flagButton()->isChecked());
    EXPECT_TRUE(page.fileLabel()->text().contains(QStringLiteral("drive.oscd")));
    EXPECT_TRUE(
        page.fileLabel()->text().contains(QString::number(static_cast<qulonglong>(recorded))));

    // Live samples wait while the recording is shown.
    device.diagData().push(sampleAtRpm(5000, 10));
    page.refresh();
    EXPECT_EQ(pointsOf(0), recorded);
}

TEST_F(ChartsPageTest, AFileThatCannotBeCreatedIsReportedAndNeverLabelled) {
    device.setDemo(true);
    const std::string path = (folder / "missing" / "trip.oscd").string();
    ui.queueFile(path);
    page.recordButton()->click();
    EXPECT_TRUE(polling.isPolling());
    ASSERT_EQ(ui.messages().size(), 1u);
    EXPECT_NE(ui.messages()[0].text.find(path), std::string::npos);
    page.refresh();
    EXPECT_TRUE(page.fileLabel()->text().isEmpty()) << page.fileLabel()->text().toStdString();
}

TEST(ChartsRecording, DurationFollowsThePollingCycle) {
    EXPECT_EQ(openedRecording("/a/b/drive.oscd", 0).fileName, "drive.oscd");
    EXPECT_EQ(openedRecording("C:\\Diag\\x.oscd", 8).durationText(), "0:01");
    EXPECT_EQ(openedRecording("x.oscd", 8 * 3725).durationText(), "1:02:05");
}

} // namespace
} // namespace torva
