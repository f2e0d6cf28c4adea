// How the application reaches the controller and runs the document's menu commands: a bad
// --port, the no-connection choice, factory settings against the simulator, and forced
// programming started by identification inside the start-up connection.
#include "fixture/sim_fixture.h"

#include "config/block_codec.h"
#include "config/config_diff_groups.h"
#include "config/environment_guard.h"
#include "config/firmware_file.h"
#include "config/firmware_file_writer.h"
#include "config/maps/map_catalogue.h"
#include "config/process_state_guard.h"
#include "config/settings_io.h"
#include "document/veko2012_doc.h"
#include "lang/languages.h"
#include "lang/translation.h"
#include "link/identification_notice.h"
#include "link/lpg_device.h"
#include "sim/simulator.h"
#include "support/firmware_contents.h"
#include "support/recording_ui.h"
#include "support/temp_folder.h"
#include "ui/controls/cell_array.h"
#include "ui/controls/msm_caption_bar.h"
#include "ui/shell/backups_dlg.h"
#include "ui/shell/connection_procedure.h"
#include "ui/shell/main_frame.h"
#include "ui/shell/main_menu.h"
#include "ui/shell/no_connection_dlg.h"
#include "ui/shell/veko_app.h"

#include <QAction>
#include <QApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QMessageBox>
#include <QPushButton>
#include <QStatusBar>
#include <QTimer>

#include <gtest/gtest.h>

#include <filesystem>
#include <new>
#include <unistd.h>
#include <utility>

namespace torva {
namespace {

// Stands in front of the screen: answers every modal window the application opens and notes
// what it said.
class CModalAnswerer {
public:
    CModalAnswerer() {
        QObject::connect(&m_timer, &QTimer::timeout, [this] { answer(); });
        m_timer.start(10);
    }

    bool chooseDemo = true;
    QMessageBox::StandardButton questionAnswer = QMessageBox::Yes;
    QStringList boxTexts;
    int noConnectionDialogs = 0;

private:
    void answer() {
        QWidget* modal = QApplication::activeModalWidget();
        if (auto* box = qobject_cast<QMessageBox*>(modal)) {
            boxTexts << box->text();
            QAbstractButton* button = box->button(questionAnswer);
            (button != nullptr ? button : box->buttons().first())->click();
        } else if (auto* choice = qobject_cast<CNoConnectionDlg*>(modal)) {
            ++noConnectionDialogs;
            (chooseDemo ? choice->demoButton() : choice->withoutButton())->click();
        }
    }

    QTimer m_timer;
};

TEST(AppConnection, BadPortShowsItsReasonAndTheChoiceLeadsToDemoMode) {
    selectLanguage(kPolishLanguage);
    SAppOptions options;
    options.port = "/nonexistent/ttyTORVA";
    CModalAnswerer user;
    CVeko2012App app(options);
    ASSERT_TRUE(app.start());

    ASSERT_FALSE(user.boxTexts.isEmpty());
    EXPECT_TRUE(user.boxTexts.first().startsWith("Nie można połączyć się ze sterownikiem."));
    EXPECT_TRUE(user.boxTexts.first().contains("Port /nonexistent/ttyTORVA zniknął"))
        << user.boxTexts.first().toStdString();
    EXPECT_EQ(user.noConnectionDialogs, 1);
    EXPECT_TRUE(app.doc().device().isDemo());
    EXPECT_TRUE(app.doc().device().isConnected());
    EXPECT_TRUE(app.frame().captionBar()->captionText().endsWith(" DEMO"));
}

TEST(AppConnection, WithoutAControllerTheWindowSaysSo) {
    selectLanguage(kPolishLanguage);
    SAppOptions options;
    options.port = "/nonexistent/ttyTORVA";
    CModalAnswerer user;
    user.chooseDemo = false;
    CVeko2012App app(options);
    ASSERT_TRUE(app.start());
    EXPECT_FALSE(app.doc().device().isConnected());
    EXPECT_FALSE(app.doc().device().isDemo());
    EXPECT_TRUE(user.boxTexts.contains("BRAK POŁĄCZENIA"));
    EXPECT_FALSE(app.frame().refreshTimerActive());
}

TEST(AppConnection, FactorySettingsFromTheMenuReachTheController) {
    selectLanguage(kPolishLanguage);
    test::CProcessStateGuard processState;
    // Answers a failed start-up connection too, so that it fails the test instead of hanging it.
    CModalAnswerer user;
    user.chooseDemo = false;
    SAppOptions options;
    options.simulate = true;
    CVeko2012App app(options);
    ASSERT_TRUE(app.start());
    ASSERT_TRUE(app.doc().device().isConnected()) << user.boxTexts.join("\n").toStdString();
    user.boxTexts.clear();
    CDeviceConfig& live = app.doc().device().config();
    live.m_base.m_switchRPM = 2500;
    app.simulator()->transcript().clear();

    QAction* factory = app.frame().mainMenu()->findAction("Przywróć ustawienia fabryczne");
    ASSERT_TRUE(factory->isEnabled());
    factory->trigger();

    ASSERT_FALSE(user.boxTexts.isEmpty()); // the question, answered Yes
    EXPECT_EQ(live.m_base, CDeviceConfig(live.m_devInfo.m_deviceID).m_base);
    EXPECT_EQ(app.simulator()->blockImage(3), encodeBlock(EBlock::Base, live));
    const std::string backup = app.doc().lastBackupPath();
    EXPECT_TRUE(app.frame().statusBar()->currentMessage().contains(QString::fromStdString(backup)));
    EXPECT_EQ(app.frame().statusBar()->currentMessage().isEmpty(), backup.empty());
}

TEST(AppConnection, BackupsDialogShowsTheDifferencesAndWritesOnlyTheTickedGroup) {
    selectLanguage(kPolishLanguage);
    test::CProcessStateGuard processState;
    test::CTempFolder home;
    test::CEnvironmentGuard homeVariable("HOME", home.path());
    test::CEnvironmentGuard configVariable("XDG_CONFIG_HOME", home.path() + "/.config");
    SAppOptions options;
    options.simulate = true;
    CVeko2012App app(options);
    ASSERT_TRUE(app.start());
    CDeviceConfig& live = app.doc().device().config();
    CDeviceConfig file = live;
    file.m_base.m_switchRPM = live.m_base.m_switchRPM + 300;
    file.m_mapEmu1[4][6] += 12;
    file.m_mapRpmCoordinatesEmu1[6] += 50; // the grid's headers come from the file
    file.m_timeStamp = "07-03-2014-15:04:09";
    const std::string path = home.file("car.dsettings");
    ASSERT_TRUE(writeSettings(path, file));
    const CDeviceConfig before = live;

    CBackupsDlg backups(app.doc(), &app.frame());
    backups.addFile(path);
    auto* groups = backups.findChild<QListWidget*>("groups");
    ASSERT_EQ(groups->count(), 3);
    backups.selectGroup(*diffGroupOfKey("m_mapEmu1[0][0]"));
    auto* grid = backups.findChild<CCellArray*>("mapDifferences");
    ASSERT_TRUE(grid && grid->isVisibleTo(&backups));
    const auto text = [](double value) {
        return QString::fromStdString(formatMapValue(EMapKind::Emulation, value));
    };
    EXPECT_EQ(grid->cell(4, 6).getTxt(), text(file.m_mapEmu1[4][6]));
    EXPECT_EQ(grid->cell(4, 5).getTxt(), text(file.m_mapEmu1[4][5]));
    EXPECT_NE(grid->cell(4, 6).bkColor(), grid->cell(4, 5).bkColor());
    EXPECT_EQ(grid->cell(4, 5).bkColor(), grid->cell(15, 14).bkColor());
    EXPECT_EQ(grid->columnHeader(6),
              QString::fromStdString(formatRpmPoint(file.m_mapRpmCoordinatesEmu1[6])));
    // The only changed cell starts picked and shows what the controller holds.
    EXPECT_TRUE(grid->cell(4, 6).isSelected());
    const auto* status = backups.findChild<QLabel*>("cellStatus");
    EXPECT_TRUE(status->text().endsWith("Sterownik: " + text(live.m_mapEmu1[4][6])))
        << status->text().toStdString();
    QKeyEvent raise(QEvent::KeyPress, Qt::Key_Up, Qt::ControlModifier); // the pages' step key
    QApplication::sendEvent(grid, &raise);
    EXPECT_EQ(grid->cell(4, 6).getTxt(), text(file.m_mapEmu1[4][6]));
    EXPECT_EQ(live, before); // comparing changes nothing

    app.simulator()->transcript().clear();
    groups->item(0)->setCheckState(Qt::Checked); // the base settings
    CModalAnswerer user;
    backups.findChild<QPushButton*>("apply")->click();
    ASSERT_EQ(user.boxTexts.size(), 1) << user.boxTexts.join("\n").toStdString(); // the question
    EXPECT_EQ(live.m_base.m_switchRPM, file.m_base.m_switchRPM);
    EXPECT_EQ(live.m_mapEmu1, before.m_mapEmu1);
    EXPECT_EQ(app.simulator()->blockImage(3), encodeBlock(EBlock::Base, live));
    EXPECT_EQ(app.simulator()->transcript().countRequests(14), 0u); // emulation map 1 not sent
    // Its own backup joins the list; the file stays selected and differs only in the map and axis.
    EXPECT_EQ(backups.findChild<QListWidget*>("files")->count(), 2);
    EXPECT_EQ(groups->count(), 2);
}

TEST(AppConnection, BackupsDialogComparesAFileTheLoadRefusesButNeverWritesIt) {
    selectLanguage(kPolishLanguage);
    test::CProcessStateGuard processState;
    test::CTempFolder home;
    test::CEnvironmentGuard homeVariable("HOME", home.path());
    test::CEnvironmentGuard configVariable("XDG_CONFIG_HOME", home.path() + "/.config");
    SAppOptions options;
    options.simulate = true;
    CVeko2012App app(options);
    ASSERT_TRUE(app.start());
    CDeviceConfig file = app.doc().device().config();
    file.m_base.m_switchRPM += 300;
    file.m_mapRpmCoordinatesEmu1[3] = 99999; // the controller would keep 25500, out of order
    file.m_timeStamp = "07-03-2014-15:04:09";
    const std::string path = home.file("hostile.dsettings");
    ASSERT_TRUE(writeSettings(path, file));

    CBackupsDlg backups(app.doc(), &app.frame());
    backups.addFile(path);
    auto* groups = backups.findChild<QListWidget*>("groups");
    ASSERT_GT(groups->count(), 0);
    groups->item(0)->setCheckState(Qt::Checked);
    EXPECT_FALSE(backups.findChild<QPushButton*>("restore")->isEnabled());
    EXPECT_FALSE(backups.findChild<QPushButton*>("apply")->isEnabled());
    // The summary names the file, the key and the value.
    QString reasons;
    for (const QLabel* label : backups.findChildren<QLabel*>())
        if (label->text().contains("hostile.dsettings: "))
            reasons += label->text();
    EXPECT_TRUE(reasons.contains("m_mapRpmCoordinatesEmu1[3]: 99999")) << reasons.toStdString();
}

// Identification finds a controller without an application inside the start-up connection and
// has it programmed; the programming's own search for the controller must not close the port
// under that connection or ask the no-connection question.
class ForcedProgrammingAtStartUp : public test::CSimFixture {
protected:
    void TearDown() override {
        std::filesystem::remove(m_firmware);
        CSimFixture::TearDown();
        resetUnknownModelNotice();
    }

    std::string firmwareFile() {
        const SFirmwareFileContents contents = patternFirmwareContents(4, 0x012F, "KARMEL A2");
        m_firmware = (std::filesystem::temp_directory_path() /
                      ("torva-forced-" + std::to_string(::getpid()) + ".afm"))
                         .string();
        EXPECT_TRUE(writeFirmwareFile(m_firmware, contents));
        return m_firmware;
    }

    test::CProcessStateGuard m_processState;
    std::string m_firmware;
};

TEST_F(ForcedProgrammingAtStartUp, ReadsTheControllerAgainOnTheSamePort) {
    resetUnknownModelNotice();
    sim::SimConfig config;
    config.controller.identity.modelCode = 25;
    config.controller.noValidApplication = true;
    startSim(std::move(config), false);
    test::CRecordingUi ui;
    ui.queueFile(firmwareFile());
    CVeko2012Doc doc;
    CConnectionProcedure connection(doc, CConnectionProcedure::EMode::Port, devicePath());

    connection.connectAtStartUp();

    EXPECT_TRUE(doc.device().isConnected()) << transcriptText();
    EXPECT_FALSE(doc.device().isDemo());
    EXPECT_EQ(doc.device().config().m_devInfo.m_modelName, "KARMEL A2");
    EXPECT_EQ(ui.fileChoices().size(), 1u);
    EXPECT_TRUE(ui.questions().empty()); // no no-connection choice
    EXPECT_EQ(doc.device().serialPort()->devicePath(), devicePath());
}

TEST(AppConnection, AnyExceptionInAMenuCommandIsShownAndPollingRunsAgain) {
    // A failed allocation half-way through programming, after polling was stopped.
    class CFailingProgressUi : public test::CRecordingUi {
    public:
        void progress(const std::string& text, int done, int total) override {
            if (done > 0 && !std::exchange(m_failed, true))
                throw std::bad_alloc();
            CRecordingUi::progress(text, done, total);
        }

    private:
        bool m_failed = false;
    };
    selectLanguage(kPolishLanguage);
    test::CProcessStateGuard processState;
    CModalAnswerer startUpUser; // a failed connection fails the test instead of hanging it
    startUpUser.chooseDemo = false;
    SAppOptions options;
    options.simulate = true;
    CVeko2012App app(options);
    ASSERT_TRUE(app.start());
    ASSERT_TRUE(app.doc().polling().isPolling()) << startUpUser.boxTexts.join("\n").toStdString();
    const SDevInfo& info = app.doc().device().config().m_devInfo;
    const std::string firmware = (std::filesystem::temp_directory_path() /
                                  ("torva-menu-" + std::to_string(::getpid()) + ".afm"))
                                     .string();
    ASSERT_TRUE(writeFirmwareFile(
        firmware,
        patternFirmwareContents(4, static_cast<std::uint16_t>(info.m_version), info.m_modelName)));
    {
        CFailingProgressUi ui;
        ui.queueFile(firmware);
        app.frame().mainMenu()->findAction("Aktualizacja sterownika...")->trigger();
        ASSERT_EQ(ui.messages().size(), 1u);
        EXPECT_NE(ui.messages()[0].text.find("bad_alloc"), std::string::npos)
            << ui.messages()[0].text;
        EXPECT_TRUE(app.doc().polling().isPolling());
        EXPECT_TRUE(app.frame().refreshTimerActive());
    }
    app.doc().polling().stopPolling();
    std::filesystem::remove(firmware);
}

} // namespace
} // namespace torva
