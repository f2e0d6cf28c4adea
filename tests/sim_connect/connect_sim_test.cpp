// Finding the controller on the ports and connecting to it, against the simulator.
#include "fixture/sim_fixture.h"

#include "config/process_state_guard.h"
#include "link/demo_state.h"
#include "link/identification_notice.h"
#include "link/last_port.h"
#include "link/lpg_device.h"
#include "link/port_problem.h"
#include "link/rs_error.h"
#include "platform/settings_store.h"
#include "support/recording_ui.h"

#include <filesystem>
#include <fstream>
#include <unistd.h>

using namespace torva;
using sim::SimConfig;

namespace {

class ConnectAgainstSimulator : public test::CSimFixture {
protected:
    void SetUp() override {
        resetUnknownModelNotice();
        setDemoFuelMode(kFuelModeDiesel);
        static int counter = 0;
        m_folder =
            std::filesystem::temp_directory_path() /
            ("torva_connect_" + std::to_string(::getpid()) + "_" + std::to_string(++counter));
        std::filesystem::create_directories(m_folder);
    }

    void TearDown() override {
        m_device.reset();
        CSimFixture::TearDown();
        std::filesystem::remove_all(m_folder);
        resetUnknownModelNotice();
        setDemoFuelMode(kFuelModeDiesel);
    }

    std::string settingsPath() const { return (m_folder / "settings").string(); }

    // A device whose port numbers map through ports (missing numbers name missing devices);
    // every number it is asked to open is noted in tried.
    CLPGDevice& makeDevice(std::map<int, std::string> ports = {}) {
        m_device = std::make_unique<CLPGDevice>();
        m_device->setSettingsPath(settingsPath());
        m_device->setPortDiscovery({.presentPorts = [] { return std::vector<int>{}; },
                                    .pathForPort =
                                        [this, ports](int number) {
                                            m_tried.push_back(number);
                                            const auto it = ports.find(number);
                                            return it != ports.end() ? it->second
                                                                     : "/nonexistent/tty" +
                                                                           std::to_string(number);
                                        }});
        return *m_device;
    }

    void remember(const std::string& number, const std::string& path = {}) {
        CSettingsStore store(settingsPath());
        store.setValue(kLastPortNumberKey, number);
        store.setValue(kLastPortPathKey, path);
    }
    SLastPort remembered() const { return readLastPort(CSettingsStore(settingsPath())); }

    test::CRecordingUi m_ui;
    test::CProcessStateGuard m_processState;
    std::filesystem::path m_folder;
    std::unique_ptr<CLPGDevice> m_device;
    std::vector<int> m_tried;
};

TEST_F(ConnectAgainstSimulator, ConnectByPathReadsTheConfigurationAndRemembersThePort) {
    startSim({}, false);
    CLPGDevice& device = makeDevice();
    std::string why;
    ASSERT_TRUE(device.connect(devicePath(), &why)) << why << transcriptText();
    EXPECT_TRUE(device.isConnected());
    EXPECT_FALSE(device.isDemo());
    EXPECT_EQ(device.config().m_devInfo.m_deviceID, 25);
    EXPECT_EQ(device.config().m_devInfo.m_modelName, "KARMEL A2");
    const SLastPort last = remembered();
    EXPECT_EQ(last.path, devicePath());
    EXPECT_EQ(last.number, 0); // a pseudo-terminal has no port number
}

TEST_F(ConnectAgainstSimulator, ConnectRefusesWhatIsNoSerialPortAndSaysWhy) {
    CLPGDevice& device = makeDevice();
    const std::string file = (m_folder / "plain.txt").string();
    std::ofstream(file) << "x";
    std::string why;
    EXPECT_FALSE(device.connect(file, &why));
    EXPECT_NE(why.find("not a character device"), std::string::npos) << why;
    EXPECT_FALSE(device.connect("/dev/null", &why));
    EXPECT_NE(why.find("not a terminal"), std::string::npos) << why;
    EXPECT_FALSE(device.connect((m_folder / "gone").string(), &why));
    EXPECT_NE(why.find("gone zniknął"), std::string::npos) << why;
    EXPECT_FALSE(device.isConnected());
    EXPECT_EQ(remembered().path, "");
}

TEST_F(ConnectAgainstSimulator, SearchTriesTheLastPortAloneWhenItAnswers) {
    startSim({}, false);
    CLPGDevice& device = makeDevice({{5, devicePath()}});
    remember("5");
    device.searchAndConnect({3, 5, 7});
    EXPECT_TRUE(device.isConnected());
    EXPECT_EQ(m_tried, std::vector<int>{5});
    EXPECT_TRUE(m_ui.questions().empty());
}

TEST_F(ConnectAgainstSimulator, SearchGoesThroughThePresentPortsWhenTheLastIsAbsent) {
    startSim({}, false);
    CLPGDevice& device = makeDevice({{7, devicePath()}});
    remember("5");
    device.searchAndConnect({3, 7});
    EXPECT_TRUE(device.isConnected());
    EXPECT_EQ(m_tried, (std::vector<int>{3, 7}));
    EXPECT_EQ(remembered().number, 7);
    EXPECT_EQ(remembered().path, devicePath());

    // The next start finds the remembered device by its path, whatever number it has now.
    CLPGDevice& again = makeDevice();
    m_tried.clear();
    again.searchAndConnect({});
    EXPECT_TRUE(again.isConnected());
    EXPECT_TRUE(m_tried.empty());
    EXPECT_EQ(remembered().number, 7);
}

TEST_F(ConnectAgainstSimulator, ControllerWithoutApplicationFailsWithoutProgramming) {
    SimConfig config;
    config.controller.identity.modelCode = 3; // its loader answers the first query at once
    config.controller.noValidApplication = true;
    startSim(config, false);
    CLPGDevice& device = makeDevice();
    std::string why;
    EXPECT_FALSE(device.connect(devicePath(), &why));
    EXPECT_NE(why.find("no controller answered"), std::string::npos) << why;
    EXPECT_FALSE(device.isConnected());
    EXPECT_EQ(device.config().m_devInfo.m_modelName, "KARMEL A1");
    EXPECT_EQ(device.config().m_devInfo.m_version, 256);
    ASSERT_EQ(m_ui.messages().size(), 1u);
    EXPECT_EQ(m_ui.messages()[0].text,
              "Sterownik nie jest poprawnie zaprogramowany i wymaga przeprogramowania.");
    EXPECT_EQ(remembered().path, "");
}

TEST_F(ConnectAgainstSimulator, UnknownModelIsReportedOnceAcrossSearches) {
    SimConfig config;
    config.controller.identity.modelCode = 99;
    startSim(config, false);
    CLPGDevice& device = makeDevice({{5, devicePath()}});
    device.searchAndConnect({5});
    device.searchAndConnect({5});
    EXPECT_FALSE(device.isConnected());
    EXPECT_FALSE(device.isDemo());
    ASSERT_EQ(m_ui.messages().size(), 1u);
    EXPECT_EQ(m_ui.messages()[0].text,
              "Odpowiedział sterownik nieobsługiwanego modelu (numer modelu 99).");
    EXPECT_EQ(m_ui.questions().size(), 2u); // the no-connection choice, answered "without"
}

TEST_F(ConnectAgainstSimulator, NoAnswerAnywhereOffersDemoMode) {
    CLPGDevice& device = makeDevice();
    device.searchAndConnect({1, 2});
    EXPECT_EQ(m_tried, (std::vector<int>{1, 2}));
    EXPECT_FALSE(device.isConnected());
    EXPECT_FALSE(device.isDemo());
    ASSERT_EQ(m_ui.questions().size(), 1u);
    EXPECT_EQ(m_ui.questions()[0].caption, "Brak połączenia");
    EXPECT_EQ(m_ui.questions()[0].text, "Aplikacja nie może nawiązać połączenia ze sterownikiem "
                                        "na żadnym z portów COM komputera.");

    m_ui.queueAnswer(EAnswer::Ok);
    device.searchAndConnect({1, 2});
    EXPECT_TRUE(device.isConnected());
    EXPECT_TRUE(device.isDemo());
    const auto& info = device.config().m_devInfo;
    EXPECT_EQ(info.m_version, 0x012F);
    EXPECT_EQ(info.m_serial, "DI001");
    EXPECT_EQ(info.m_prodDate, "21/01/2016");
    EXPECT_EQ(info.m_deviceID, 25);
    EXPECT_EQ(info.m_modelName, "KARMEL A2");

    // A new search leaves demo mode before it looks again.
    device.searchAndConnect({});
    EXPECT_FALSE(device.isDemo());
    EXPECT_FALSE(device.isConnected());
}

} // namespace

namespace {

bool startsWith(const std::string& text, const std::string& start) {
    return text.rfind(start, 0) == 0;
}

TEST_F(ConnectAgainstSimulator, ASimulatorThatDisappearsIsReportedAsGone) {
    startSim({}, false);
    CLPGDevice& device = makeDevice();
    const std::string path = devicePath();
    ASSERT_TRUE(device.connect(path)) << transcriptText();
    sim().stop();
    try {
        device.readStatistics();
        FAIL() << "a request to a controller that is gone must fail";
    } catch (const CRSError& error) {
        const std::string text = portProblemText(diagnosePortProblem(error));
        EXPECT_TRUE(startsWith(text, "Port " + path + " zniknął")) << text;
    }
    std::string why;
    EXPECT_FALSE(device.connect(path, &why));
    EXPECT_TRUE(startsWith(why, "Port " + path + " zniknął")) << why;
}

TEST_F(ConnectAgainstSimulator, ASearchThatFindsOnlyABusyPortSaysSoInItsQuestion) {
    startSim({}, false);
    CSerialPort holder;
    holder.open(devicePath());
    CLPGDevice& device = makeDevice({{33, devicePath()}});
    device.searchAndConnect({33});
    EXPECT_FALSE(device.isConnected());
    ASSERT_EQ(device.searchProblems().size(), 1u);
    const auto questions = m_ui.questions();
    ASSERT_EQ(questions.size(), 1u);
    EXPECT_TRUE(startsWith(questions[0].text, "Aplikacja nie może nawiązać połączenia"));
    EXPECT_NE(questions[0].text.find("Port " + devicePath() + " jest zajęty"), std::string::npos)
        << questions[0].text;
}

} // namespace
