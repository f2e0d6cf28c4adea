// The document's whole-configuration commands and firmware programming against the controller
// simulator over a pseudo-terminal.
#include "fixture/sim_fixture.h"

#include "config/block_codec.h"
#include "config/config_diff_groups.h"
#include "config/data_folders.h"
#include "config/environment_guard.h"
#include "config/firmware_file.h"
#include "config/firmware_file_writer.h"
#include "config/process_state_guard.h"
#include "config/saved_match.h"
#include "config/settings_io.h"
#include "config/settings_test_files.h"
#include "document/document_messages.h"
#include "document/veko2012_doc.h"
#include "link/demo_state.h"
#include "link/identification_notice.h"
#include "link/serial_settings.h"
#include "support/fake_clock.h"
#include "support/firmware_contents.h"
#include "support/recording_ui.h"

#include <filesystem>
#include <utility>

using namespace torva;
using sim::CControllerModel;
using sim::Direction;
using sim::SimConfig;
using sim::TranscriptEntry;

namespace {

// A request as the controller saw it: its code and, for code 2, its sub-code.
using Request = std::pair<int, int>;
constexpr int kNone = -1;

Request q(int subCode) {
    return {2, subCode};
}
Request w(int code) {
    return {code, kNone};
}

class DocumentAgainstSimulator : public test::CSimFixture {
protected:
    CVeko2012Doc& connect(std::uint8_t model = 25, std::uint16_t version = 0x012F,
                          bool noValidApplication = false) {
        resetUnknownModelNotice();
        setDemoFuelMode(kFuelModeDiesel);
        SimConfig config;
        config.controller.identity.modelCode = model;
        config.controller.identity.version = version;
        config.controller.identity.identifier = "ABC1234"; // plain text, shown as it stands
        config.controller.noValidApplication = noValidApplication;
        startSim(std::move(config), false);
        m_doc = std::make_unique<CVeko2012Doc>();
        CSerialPort& port = *m_doc->device().serialPort();
        port.open(devicePath());
        port.setState(kControllerLine);
        port.setTimeout(kControllerTimeouts);
        m_doc->setPageRefresh([this] { ++m_refreshes; });
        if (!noValidApplication) {
            EXPECT_TRUE(m_doc->device().readConfiguration()) << transcriptText();
            sim().transcript().clear();
        }
        return *m_doc;
    }

    void TearDown() override {
        m_doc.reset();
        CSimFixture::TearDown();
        resetUnknownModelNotice();
        setDemoFuelMode(kFuelModeDiesel);
    }

    // What the controller received, live-sample polls left out (their number varies).
    std::vector<Request> requests() {
        std::vector<Request> seen;
        for (const TranscriptEntry& entry : sim().transcript().entries()) {
            if (entry.direction != Direction::Request)
                continue;
            if (entry.code != 2)
                seen.emplace_back(entry.code, kNone);
            else if (entry.subCode() != 6)
                seen.emplace_back(2, entry.subCode());
        }
        return seen;
    }

    void noteFuelMode(std::uint8_t mode) {
        DiagSample sample{};
        sample.m_fuelMode = mode;
        m_doc->device().diagData().push(sample);
    }

    std::vector<std::string> messageTexts() const {
        std::vector<std::string> texts;
        for (const auto& shown : m_ui.messages())
            texts.push_back(shown.text);
        return texts;
    }

    // After programming, the simulated controller runs the new version and the document finds
    // it again by reading its whole configuration.
    void reconnectAs(std::uint16_t version) {
        m_doc->setSearchAndConnect([this, version] {
            sim().withController([version](CControllerModel& c) {
                sim::SimIdentity identity = c.settings().identity;
                identity.version = version;
                c.setIdentity(identity);
            });
            return m_doc->device().readConfiguration();
        });
    }

    // The settings folder the backups go to lives in a home of the test's own.
    std::string backupFolder() const {
        return m_home.path() + "/Documents/TORVA DIESEL/Settings/Backup/";
    }
    std::vector<std::string> backups() const {
        std::vector<std::string> names;
        std::error_code ec;
        for (const auto& entry : std::filesystem::directory_iterator(backupFolder(), ec))
            names.push_back(entry.path().filename().string());
        return names;
    }
    // A file where the documents folder should be: no backup can be written.
    void breakTheSettingsFolder() {
        std::filesystem::remove_all(m_home.path() + "/Documents");
        test::writeBytes(m_home.path() + "/Documents", "not a folder");
    }

    // The backup the latest command wrote holds the configuration the controller had before.
    void expectBackupOf(const CDeviceConfig& before) {
        const std::string& path = m_doc->lastBackupPath();
        ASSERT_FALSE(path.empty());
        EXPECT_EQ(std::filesystem::path(path).parent_path().string() + "/", backupFolder());
        EXPECT_TRUE(
            std::filesystem::path(path).filename().string().starts_with("KARMEL_A2_ABC1234_"))
            << path;
        CDeviceConfig readBack(before.m_devInfo.m_deviceID);
        ASSERT_TRUE(readSettings(path, readBack, before.m_devInfo.m_deviceID)) << path;
        readBack.m_devInfo = before.m_devInfo;
        for (std::size_t i = 0; i < kBlockCount; ++i) {
            const auto block = static_cast<EBlock>(i);
            EXPECT_EQ(encodeBlock(block, readBack), encodeBlock(block, before)) << i;
        }
    }

    test::CRecordingUi m_ui;
    test::CProcessStateGuard m_processState;
    test::CTempFolder m_folder;
    test::CTempFolder m_home;
    test::CEnvironmentGuard m_homeVariable{"HOME", m_home.path()};
    test::CEnvironmentGuard m_configVariable{"XDG_CONFIG_HOME", m_home.path() + "/.config"};
    std::unique_ptr<CVeko2012Doc> m_doc;
    int m_refreshes = 0;
};

std::vector<Request> factoryRequests(bool tpsDigital, bool service, bool tempomat) {
    std::vector<Request> r{q(2), w(3), w(4), w(9), q(34), q(26)};
    for (const auto& [clear, complete] :
         {std::pair{35, 27}, {37, 29}, {36, 28}, {39, 31}, {38, 30}, {42, 33}, {40, 32}}) {
        r.push_back(q(clear));
        r.push_back(q(complete));
    }
    r.insert(r.end(), {w(29), w(30), w(31), w(32)});
    if (tpsDigital)
        r.insert(r.end(), {w(36), w(35), w(39)});
    if (service)
        r.push_back(w(33));
    if (tempomat)
        r.push_back(w(40));
    r.push_back(q(10));
    return r;
}

std::vector<Request> loadRequests(bool tpsDigital, bool tempomat, bool service = true) {
    std::vector<Request> r{q(2), w(3), w(4), w(9)};
    if (service)
        r.push_back(w(33));
    r.insert(r.end(),
             {w(13), w(14), w(15), w(16), w(18), w(17), w(20), w(19), w(29), w(30), w(31), w(32)});
    if (tpsDigital)
        r.insert(r.end(), {w(36), w(35), w(39)});
    if (tempomat)
        r.push_back(w(40));
    r.push_back(q(10));
    return r;
}

template <typename T> std::vector<T> joined(std::vector<T> a, const std::vector<T>& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

} // namespace

TEST_F(DocumentAgainstSimulator, FactoryRestoreSendsTheBlocksAndMapResetsInOrder) {
    CVeko2012Doc& doc = connect(25, 0x012F);
    CDeviceConfig& live = doc.device().config();
    live.m_serviceSetup.m_knockGain = 77;
    live.m_base.m_switchRPM = 2500;

    // No sends nothing.
    doc.restoreFactorySettings();
    EXPECT_TRUE(requests().empty());
    EXPECT_EQ(live.m_base.m_switchRPM, 2500);

    // A controller that ran on gas goes back to automatic mode at the end.
    noteFuelMode(kFuelModeGas);
    m_ui.queueAnswer(EAnswer::Yes);
    doc.restoreFactorySettings();
    EXPECT_EQ(requests(), joined(factoryRequests(true, true, true), {q(2), q(3)}))
        << transcriptText();
    EXPECT_TRUE(m_ui.messages().empty());
    EXPECT_EQ(m_ui.questions().at(0).text, doc_message::kFactoryQuestion);
    EXPECT_EQ(m_ui.questions().at(0).icon, EIcon::None);
    EXPECT_EQ(live.m_base, CDeviceConfig(25).m_base);
    EXPECT_EQ(live.m_serviceSetup.m_knockGain, 77);
    EXPECT_EQ(sim().blockImage(3), encodeBlock(EBlock::Base, live));
    EXPECT_EQ(m_refreshes, 1);

    // One that ran on diesel stays there.
    sim().transcript().clear();
    noteFuelMode(kFuelModeDiesel);
    m_ui.queueAnswer(EAnswer::Yes);
    doc.restoreFactorySettings();
    EXPECT_EQ(requests(), factoryRequests(true, true, true));
}

TEST_F(DocumentAgainstSimulator, FactoryRestoreWritesServiceAndTempomatOnlyWhereTheyExist) {
    for (const std::uint16_t version : {0x101, 0x105, 0x10A}) {
        SCOPED_TRACE(version);
        CVeko2012Doc& doc = connect(3, version);
        noteFuelMode(kFuelModeDiesel);
        m_ui.queueAnswer(EAnswer::Yes);
        doc.restoreFactorySettings();
        EXPECT_EQ(requests(), factoryRequests(false, version >= 0x102, version >= 0x10A))
            << transcriptText();
        m_doc.reset();
        sim().stop();
    }
}

namespace {

std::string writeSettingsFile(const test::CTempFolder& folder, CDeviceConfig record) {
    record.m_timeStamp = "07-03-2014-15:04:09";
    const std::string path = folder.file("car.dsettings");
    EXPECT_TRUE(writeSettings(path, record));
    return path;
}

} // namespace

TEST_F(DocumentAgainstSimulator, SettingsFileLoadWritesEveryBlockAndKeepsTheKnockSettings) {
    CVeko2012Doc& doc = connect(25, 0x012F);
    CDeviceConfig& live = doc.device().config();
    live.m_serviceSetup.m_knockFreq = 12;
    live.m_serviceSetup.m_knockGain = 34;
    live.m_tempomatSetup.m_minGasTempr = 15;

    CDeviceConfig file(25);
    file.m_devInfo.m_deviceID = 25;
    file.m_base.m_switchRPM = 1700;
    file.m_serviceSetup.m_knockFreq = 50;
    file.m_serviceSetup.m_knockGain = 60;
    m_ui.queueFile(writeSettingsFile(m_folder, file));
    doc.loadSettingsFile();

    EXPECT_EQ(requests(), loadRequests(true, true)) << transcriptText();
    EXPECT_TRUE(m_ui.messages().empty());
    EXPECT_EQ(live.m_base.m_switchRPM, 1700);
    EXPECT_EQ(live.m_serviceSetup.m_knockFreq, 12);
    EXPECT_EQ(live.m_serviceSetup.m_knockGain, 34);
    EXPECT_EQ(live.m_tempomatSetup.m_minGasTempr, 0);
    EXPECT_EQ(sim().blockImage(3), encodeBlock(EBlock::Base, live));
    EXPECT_EQ(m_refreshes, 1);
}

TEST_F(DocumentAgainstSimulator, TwentyFourVoltFileIntoATwelveVoltController) {
    CVeko2012Doc& doc = connect(3, 0x10A);
    CDeviceConfig& live = doc.device().config();
    CDeviceConfig file(25);
    file.m_devInfo.m_deviceID = 25;
    file.m_adv.m_pwm = 40;
    m_ui.queueFile(writeSettingsFile(m_folder, file));
    doc.loadSettingsFile();

    EXPECT_EQ(requests(), loadRequests(false, true)) << transcriptText();
    EXPECT_EQ(live.m_adv, CDeviceConfig(3).m_adv);
    EXPECT_EQ(live.m_base.m_minVCC, 10);
    EXPECT_EQ(live.m_devInfo.m_deviceID, 3);
}

TEST_F(DocumentAgainstSimulator, FileLoadSkipsTheServiceBlockFirmwareBefore258Lacks) {
    CVeko2012Doc& doc = connect(3, 0x101);
    CDeviceConfig file(3);
    file.m_devInfo.m_deviceID = 3;
    m_ui.queueFile(writeSettingsFile(m_folder, file));
    doc.loadSettingsFile();

    EXPECT_EQ(requests(), loadRequests(false, false, false)) << transcriptText();
    EXPECT_TRUE(m_ui.messages().empty());
}

TEST_F(DocumentAgainstSimulator, RefusedOrCancelledFileLeavesEverythingAsItWas) {
    CVeko2012Doc& doc = connect(25, 0x012F);
    const CDeviceConfig before = doc.device().config();
    doc.loadSettingsFile(); // cancelled
    test::writeBytes(m_folder.file("bad.dsettings"), "m_timeStamp\t01\r\n");
    m_ui.queueFile(m_folder.file("bad.dsettings"));
    doc.loadSettingsFile();

    // A whole file with one value its field cannot hold: refused before the backup too.
    CDeviceConfig file(25);
    file.m_devInfo.m_deviceID = 25;
    file.m_mapRpmCoordinatesEmu1[3] = 99999;
    m_ui.queueFile(writeSettingsFile(m_folder, file));
    doc.loadSettingsFile();

    EXPECT_TRUE(requests().empty());
    EXPECT_EQ(doc.device().config(), before);
    EXPECT_TRUE(backups().empty());
    ASSERT_EQ(m_ui.messages().size(), 2u);
    EXPECT_EQ(
        m_ui.messages()[0].text,
        "Nie można wczytać ustawień z pliku\nbad.dsettings: brak klucza m_devInfo.m_deviceID");
    EXPECT_EQ(m_ui.messages()[1].text,
              "Nie można wczytać ustawień z pliku\ncar.dsettings: wiersz 573: "
              "m_mapRpmCoordinatesEmu1[3]: 99999 nie mieści się w polu (od 0 do 25500)");
    for (const auto& shown : m_ui.messages()) {
        EXPECT_EQ(shown.icon, EIcon::Error);
        EXPECT_EQ(shown.caption, "TORVA");
    }
    EXPECT_EQ(m_refreshes, 0);
}

// ---- Backups -----------------------------------------------------------------------------------

TEST_F(DocumentAgainstSimulator, FactoryRestoreAndFileLoadEachLeaveABackupOfWhatWasThere) {
    CVeko2012Doc& doc = connect(25, 0x012F);
    CDeviceConfig& live = doc.device().config();
    live.m_base.m_switchRPM = 2500;
    live.m_mapEmu3[2][5] = 37;

    doc.restoreFactorySettings(); // answered No: nothing to back up
    EXPECT_TRUE(backups().empty());
    EXPECT_TRUE(doc.lastBackupPath().empty());

    CDeviceConfig before = live;
    m_ui.queueAnswer(EAnswer::Yes);
    doc.restoreFactorySettings();
    expectBackupOf(before);
    EXPECT_EQ(m_ui.questions().size(), 2u); // the backup itself asks nothing
    EXPECT_TRUE(m_ui.messages().empty());

    before = live;
    CDeviceConfig file(25);
    file.m_devInfo.m_deviceID = 25;
    file.m_base.m_switchRPM = 1700;
    m_ui.queueFile(writeSettingsFile(m_folder, file));
    doc.loadSettingsFile();
    EXPECT_EQ(live.m_base.m_switchRPM, 1700);
    expectBackupOf(before);
    // Two backups, most likely within one second, and neither replaced the other.
    EXPECT_EQ(backups().size(), 2u);

    doc.saveSettingsFile(); // cancelled; no backup, and the last one is no longer reported
    EXPECT_TRUE(doc.lastBackupPath().empty());
    EXPECT_EQ(backups().size(), 2u);
}

TEST_F(DocumentAgainstSimulator, UnwritableBackupAsksAndNoSendsNothing) {
    CVeko2012Doc& doc = connect(25, 0x012F);
    const CDeviceConfig before = doc.device().config();
    breakTheSettingsFolder();

    m_ui.queueAnswer(EAnswer::Yes); // restore
    m_ui.queueAnswer(EAnswer::No);  // without a backup
    doc.restoreFactorySettings();
    CDeviceConfig file(25);
    file.m_devInfo.m_deviceID = 25;
    file.m_base.m_switchRPM = 1700;
    m_ui.queueFile(writeSettingsFile(m_folder, file));
    m_ui.queueAnswer(EAnswer::No);
    doc.loadSettingsFile();
    EXPECT_TRUE(requests().empty()) << transcriptText();
    EXPECT_EQ(doc.device().config(), before);
    EXPECT_EQ(m_refreshes, 0);

    const auto questions = m_ui.questions();
    ASSERT_EQ(questions.size(), 3u);
    for (const std::size_t i : {1u, 2u}) {
        EXPECT_TRUE(questions[i].text.starts_with(
            "Nie można zapisać kopii zapasowej ustawień sterownika:\n"))
            << questions[i].text;
        EXPECT_NE(questions[i].text.find("Backup/KARMEL_A2_ABC1234_"), std::string::npos);
        EXPECT_TRUE(questions[i].text.ends_with("\nCzy kontynuować mimo to?"));
        EXPECT_EQ(questions[i].icon, EIcon::Warning);
        EXPECT_EQ(questions[i].caption, "TORVA");
    }

    // Yes goes on without one.
    m_ui.queueFile(writeSettingsFile(m_folder, file));
    m_ui.queueAnswer(EAnswer::Yes);
    doc.loadSettingsFile();
    EXPECT_EQ(requests(), loadRequests(true, true)) << transcriptText();
    EXPECT_EQ(doc.device().config().m_base.m_switchRPM, 1700);
    EXPECT_TRUE(doc.lastBackupPath().empty());
    sim().transcript().clear();
    noteFuelMode(kFuelModeDiesel);
    m_ui.queueAnswer(EAnswer::Yes);
    m_ui.queueAnswer(EAnswer::Yes);
    doc.restoreFactorySettings();
    EXPECT_EQ(requests(), factoryRequests(true, true, true)) << transcriptText();
}

// ---- Firmware ---------------------------------------------------------------------------------

namespace {

constexpr std::size_t kProgramOffset = kFirmwareProgramOffset;
constexpr std::size_t kTestFrames = 8; // frames of program beyond that offset

} // namespace

class FirmwareAgainstSimulator : public DocumentAgainstSimulator {
protected:
    std::string firmwareFile(std::uint16_t version, std::string model = "KARMEL A2") {
        const std::string path = m_folder.file("firmware.afm");
        EXPECT_TRUE(writeFirmwareFile(
            path, patternFirmwareContents(kTestFrames, version, std::move(model))));
        return path;
    }

    // The programmed part of the controller's flash equals the file's image there.
    void expectFlashHoldsTheImage(const std::string& path) {
        CFirmwareFile file;
        ASSERT_TRUE(file.load(path).ok);
        const std::vector<std::uint8_t> flash = sim().flashImage();
        const std::size_t end = kProgramOffset + file.frameCount() * firmware_layout::kFrameSize;
        ASSERT_LE(end, flash.size());
        const std::vector<std::uint8_t> expected(file.image().begin() + kProgramOffset,
                                                 file.image().begin() + end);
        EXPECT_EQ(std::vector<std::uint8_t>(flash.begin() + kProgramOffset, flash.begin() + end),
                  expected);
        EXPECT_EQ(flash[0], 0xFF); // below the program start nothing is written
    }

    std::size_t count(int code) {
        std::size_t n = 0;
        for (const Request& r : requests())
            n += r.first == code;
        return n;
    }
};

TEST_F(FirmwareAgainstSimulator, NormalRunProgramsTheImageAndMigratesFrom264To265) {
    CVeko2012Doc& doc = connect(25, 264);
    CDeviceConfig& live = doc.device().config();
    live.m_serviceSetup.m_mapCutOff = 2;
    live.m_serviceSetup.m_maxRpm = 4000;
    ASSERT_TRUE(doc.device().writeBlock(EBlock::Service));
    sim().transcript().clear();
    const std::string path = firmwareFile(265);
    m_ui.queueFile(path);
    reconnectAs(265);
    const CDeviceConfig before = live;

    EXPECT_TRUE(doc.programFirmware(false)) << transcriptText();
    expectBackupOf(before);
    EXPECT_TRUE(m_ui.messages().empty());
    ASSERT_EQ(m_ui.fileChoices().size(), 1u);
    EXPECT_EQ(m_ui.fileChoices()[0].defaultExtension, "afm");
    EXPECT_EQ(m_ui.fileChoices()[0].filter, "Firmware files (*.afm)|*.afm|");
    EXPECT_EQ(count(0xF6), 1u);
    expectFlashHoldsTheImage(path);
    CFirmwareFile file;
    file.load(path);
    EXPECT_EQ(m_ui.lastProgressDone(), 0); // the display was ended after the last frame
    EXPECT_EQ(count(0xF7), file.frameCount());

    EXPECT_EQ(live.m_devInfo.m_version, 265);
    EXPECT_EQ(live.m_serviceSetup.m_mapCutOff, 0);
    EXPECT_EQ(live.m_serviceSetup.m_maxRpm, 4000);
    EXPECT_EQ(sim().blockImage(33), encodeBlock(EBlock::Service, live));
    EXPECT_EQ(count(3), 0u);
    EXPECT_TRUE(doc.polling().isPolling());
    doc.polling().stopPolling();
    EXPECT_EQ(m_refreshes, 1);
}

TEST_F(FirmwareAgainstSimulator, UpgradeTo271KeepsThePressuresInKiloPascal) {
    CVeko2012Doc& doc = connect(25, 270);
    CDeviceConfig& live = doc.device().config();
    const double pressureRef = live.m_base.m_pressureRef;
    const double switchPressure = live.m_base.m_switchPressure;
    const std::vector<std::uint8_t> oldBase = sim().blockImage(3);
    m_ui.queueFile(firmwareFile(271));
    reconnectAs(271);

    EXPECT_TRUE(doc.programFirmware(false)) << transcriptText();
    doc.polling().stopPolling();
    EXPECT_EQ(live.m_base.m_pressureRef, pressureRef);
    EXPECT_EQ(live.m_base.m_switchPressure, switchPressure);
    EXPECT_EQ(count(3), 1u);
    EXPECT_EQ(sim().blockImage(3), encodeBlock(EBlock::Base, live));
    EXPECT_NE(sim().blockImage(3), oldBase);
}

TEST_F(FirmwareAgainstSimulator, WrongModelAndRefusedDowngradeLeaveTheControllerAlone) {
    CVeko2012Doc& doc = connect(25, 0x012F);
    m_ui.queueFile(firmwareFile(0x0130, "KARMEL B1"));
    EXPECT_FALSE(doc.programFirmware(false));
    EXPECT_EQ(messageTexts(), std::vector<std::string>{doc_message::kWrongFirmwareFile});

    m_ui.queueFile(firmwareFile(0x0120));
    m_ui.queueAnswer(EAnswer::No);
    EXPECT_FALSE(doc.programFirmware(false));
    ASSERT_EQ(m_ui.questions().size(), 1u);
    EXPECT_EQ(m_ui.questions()[0].text, doc_message::kOlderFirmwareQuestion);
    // Only the diesel switches happened.
    EXPECT_EQ(requests(), (std::vector<Request>{q(2), q(2)})) << transcriptText();
    EXPECT_FALSE(sim().inLoader());
    EXPECT_EQ(sim().flashImage().at(kProgramOffset), 0xFF);
    EXPECT_EQ(messageTexts().size(), 1u);
    EXPECT_TRUE(backups().empty()); // no backup before the file was accepted
}

TEST_F(FirmwareAgainstSimulator, UnwritableBackupAsksBeforeProgramming) {
    CVeko2012Doc& doc = connect(25, 0x012F);
    breakTheSettingsFolder();
    m_ui.queueFile(firmwareFile(0x012F));
    m_ui.queueAnswer(EAnswer::No);
    EXPECT_FALSE(doc.programFirmware(false));
    ASSERT_EQ(m_ui.questions().size(), 1u);
    EXPECT_EQ(m_ui.questions()[0].icon, EIcon::Warning);
    EXPECT_EQ(requests(), (std::vector<Request>{q(2)})) << transcriptText();
    EXPECT_FALSE(sim().inLoader());
    EXPECT_EQ(sim().flashImage().at(kProgramOffset), 0xFF);

    const std::string path = firmwareFile(0x012F);
    m_ui.queueFile(path);
    m_ui.queueAnswer(EAnswer::Yes);
    reconnectAs(0x012F);
    EXPECT_TRUE(doc.programFirmware(false)) << transcriptText();
    doc.polling().stopPolling();
    expectFlashHoldsTheImage(path);
    EXPECT_TRUE(doc.lastBackupPath().empty());
}

TEST_F(FirmwareAgainstSimulator, FailedRunLeavesTheLinkLostAndTheConnectionCycleRunning) {
    struct SRefreshTimer : IRefreshTimer {
        void startRefreshTimer(int) override { running = true; }
        void stopRefreshTimer() override { running = false; }
        bool running = false;
    } timer;
    test::CFakeClock clock;
    CVeko2012Doc& doc = connect(25, 0x012F);
    doc.polling().setRefreshTimer(&timer);
    m_ui.queueFile(firmwareFile(0x012F));
    sim().setFaultPercent(sim::FaultKind::WrongCode, 100); // the loader never answers right

    EXPECT_FALSE(doc.programFirmware(false));
    EXPECT_EQ(messageTexts(), std::vector<std::string>{doc_message::kProgrammingFailed});
    EXPECT_FALSE(doc.device().isConnected());
    EXPECT_TRUE(timer.running);
    doc.polling().setRefreshTimer(nullptr);
}

TEST_F(FirmwareAgainstSimulator, ForcedRunFromIdentificationSendsNoAccessCodeAndMigratesNothing) {
    CVeko2012Doc& doc = connect(25, 0x012F, true);
    const std::string path = firmwareFile(0x012F);
    m_ui.queueFile(path);
    doc.setSearchAndConnect([&doc] { return doc.device().readConfiguration(); });

    EXPECT_TRUE(doc.device().readConfiguration()) << transcriptText();
    EXPECT_EQ(count(0xF6), 0u);
    expectFlashHoldsTheImage(path);
    EXPECT_EQ(count(33) + count(40) + count(3), 0u);
    EXPECT_FALSE(doc.polling().isPolling());
    EXPECT_EQ(m_refreshes, 0);
    EXPECT_EQ(doc.device().config().m_devInfo.m_modelName, "KARMEL A2");
    EXPECT_TRUE(doc.device().isConnected());
    // Nothing of the customer's was read, so there is nothing to back up.
    EXPECT_TRUE(doc.lastBackupPath().empty());
    EXPECT_TRUE(backups().empty());
}

// ---- Backups dialog: restore, partial apply, the saved file the controller matches -------------

TEST_F(DocumentAgainstSimulator, PartialApplyAsksBacksUpAndWritesExactlyTheTickedBlocks) {
    CVeko2012Doc& doc = connect(25, 0x012F);
    CDeviceConfig& live = doc.device().config();
    CDeviceConfig file = live;
    file.m_base.m_switchRPM = 1700;
    file.m_adv.m_pwm = 40;
    file.m_mapEmu3[2][5] = 37;
    file.m_mapRpmCoordinatesEmu1[3] += 100;
    const std::string path = writeSettingsFile(m_folder, file);
    const std::vector<std::size_t> ticked{*diffGroupOfKey("m_base.m_flags"),
                                          *diffGroupOfKey("m_mapEmu3[0][0]"),
                                          *diffGroupOfKey("m_mapRpmCoordinatesEmu1[0]")};
    const CDeviceConfig before = live;

    EXPECT_FALSE(doc.applySettingsGroups(path, ticked)); // answered No
    EXPECT_TRUE(requests().empty());
    EXPECT_TRUE(backups().empty());
    EXPECT_EQ(live, before);

    m_ui.queueAnswer(EAnswer::Yes);
    EXPECT_TRUE(doc.applySettingsGroups(path, ticked));
    EXPECT_EQ(requests(), (std::vector<Request>{q(2), w(3), w(18), w(29), q(10)}))
        << transcriptText();
    expectBackupOf(before);
    EXPECT_NE(doc.lastBackupPath().find("_partial"), std::string::npos);
    EXPECT_EQ(live.m_base.m_switchRPM, 1700);
    EXPECT_EQ(live.m_mapEmu3[2][5], 37);
    EXPECT_EQ(live.m_adv.m_pwm, before.m_adv.m_pwm); // not ticked
    EXPECT_EQ(sim().blockImage(18), encodeBlock(EBlock::EmuMap3, live));
    EXPECT_EQ(sim().blockImage(29), encodeBlock(EBlock::Axes1Rpm, live));
}

TEST_F(DocumentAgainstSimulator, RestoreAsksThenLoadsLikeAnImport) {
    CVeko2012Doc& doc = connect(25, 0x012F);
    CDeviceConfig file = doc.device().config();
    file.m_base.m_switchRPM = 1700;
    const std::string path = writeSettingsFile(m_folder, file);
    EXPECT_FALSE(doc.restoreSettingsFile(path));
    EXPECT_TRUE(requests().empty());

    m_ui.queueAnswer(EAnswer::Yes);
    EXPECT_TRUE(doc.restoreSettingsFile(path));
    EXPECT_EQ(requests(), loadRequests(true, true)) << transcriptText();
    EXPECT_NE(doc.lastBackupPath().find("_load"), std::string::npos);
    EXPECT_EQ(doc.device().config().m_base.m_switchRPM, 1700);
}

TEST_F(DocumentAgainstSimulator, OnConnectTellsWhichSavedFileTheControllerMatches) {
    CVeko2012Doc& doc = connect(25, 0x012F);
    CDeviceConfig& live = doc.device().config();
    const std::string exported = settingsFolder() + "WX1234.dsettings";
    m_ui.queueFile(exported);
    ASSERT_EQ(doc.saveSettingsFile(), EExportResult::Saved);
    EXPECT_EQ(findSavedMatch(live).matchingFile, exported);
    EXPECT_EQ(savedMatchText(findSavedMatch(live)), "Zgodne z: WX1234.dsettings");

    live.m_mapEmu1[0][0] += 1;
    EXPECT_EQ(savedMatchText(findSavedMatch(live)), ""); // no backup to speak of yet

    // After a load the loaded file is not in the settings folder; the backup differs.
    CDeviceConfig file = live;
    file.m_base.m_switchRPM = 1700;
    m_ui.queueFile(writeSettingsFile(m_folder, file));
    doc.loadSettingsFile();
    const SSavedMatch match = findSavedMatch(live);
    EXPECT_TRUE(match.matchingFile.empty());
    ASSERT_TRUE(match.newestBackup);
    EXPECT_EQ(match.newestBackup->path, doc.lastBackupPath());
    EXPECT_TRUE(savedMatchText(match).starts_with("Ustawienia różnią się od najnowszej kopii"));
}
