// The real link layer against the simulator over a pseudo-terminal.
#include "fixture/device_sim_fixture.h"

#include "link/cipher.h"
#include "link/diag_sample.h"
#include "link/lpg_device.h"
#include "link/serial_settings.h"
#include "sim/sim_cipher.h"

#include <algorithm>
#include <array>
#include <chrono>

using namespace torva;
using namespace torva::sim;

namespace {

struct Reply {
    std::uint8_t code = 0;
    std::vector<std::uint8_t> payload;
};

std::vector<std::uint8_t> query(std::uint8_t subCode, std::uint16_t argument = 0) {
    return test::CSimClient::query(subCode, argument);
}

class DeviceAgainstSimulator : public test::CDeviceSimFixture {
protected:
    void connect(SimConfig config = {}) { openDevice(std::move(config)); }

    std::optional<Reply> transact(std::uint8_t code, const std::vector<std::uint8_t>& payload) {
        std::array<std::uint8_t, CLPGDevice::kExchangeBufferSize> buffer{};
        std::copy(payload.begin(), payload.end(), buffer.begin());
        auto length = static_cast<std::uint8_t>(payload.size());
        if (!m_device->transact(code, buffer.data(), length))
            return std::nullopt;
        return Reply{code, {buffer.begin(), buffer.begin() + length}};
    }

    std::optional<Reply> liveSample() {
        std::array<std::uint8_t, CLPGDevice::kExchangeBufferSize> buffer{};
        const auto request = query(6);
        std::copy(request.begin(), request.end(), buffer.begin());
        std::uint8_t code = 0x02;
        auto length = static_cast<std::uint8_t>(request.size());
        if (m_device->transactStrict(code, buffer.data(), length) != CLPGDevice::kStrictOk)
            return std::nullopt;
        return Reply{code, {buffer.begin(), buffer.begin() + (length - 2)}};
    }
};

} // namespace

TEST_F(DeviceAgainstSimulator, IdentifiesReadsWritesAndPolls) {
    SimConfig config;
    config.controller.identity.modelCode = 37;
    config.controller.identity.identifier = "BX0042";
    config.controller.identity.enciphered = true;
    connect(config);

    const auto identification = transact(0x02, query(204));
    ASSERT_TRUE(identification) << transcriptText();
    EXPECT_EQ(identification->code, 0x02);
    EXPECT_EQ(identification->payload[0], 4);
    EXPECT_EQ(identification->payload[1], 37);
    EXPECT_EQ(identification->payload[2], 0x55);

    const auto info = transact(0x02, query(13));
    ASSERT_TRUE(info);
    EXPECT_EQ(info->code, 8);
    const std::string serial(info->payload.begin() + 12, info->payload.begin() + 28);
    EXPECT_EQ(CCipher().decipher(kIdentifierKey, serial).c_str(), std::string("BX0042"));

    std::vector<std::uint8_t> service = sim().blockImage(33);
    service[28] = 0x20;
    const auto ack = transact(33, service);
    ASSERT_TRUE(ack);
    EXPECT_EQ(ack->code, 0x02);
    EXPECT_EQ(ack->payload[0], 4);
    const auto read = transact(0x02, query(47));
    ASSERT_TRUE(read);
    EXPECT_EQ(read->code, 33);
    EXPECT_EQ(read->payload, service);

    const auto sample = liveSample();
    ASSERT_TRUE(sample) << transcriptText();
    EXPECT_EQ(sample->code, 34);
    EXPECT_EQ(sample->payload.size(), 52u);
    EXPECT_EQ(sample->payload[2], 2); // diesel
    // The usual exchange refuses the live sample's checksum, which lacks the constant 1.
    EXPECT_FALSE(transact(0x02, query(6)));
}

TEST_F(DeviceAgainstSimulator, ReadsOneLiveSampleOnDemandAndTheDemoSampleInDemoMode) {
    connect();
    DiagSample sample{};
    sample.m_seq = 7;
    ASSERT_TRUE(m_device->readLiveSample(sample)) << transcriptText();
    EXPECT_EQ(sample.m_fuelMode, kFuelModeDiesel);
    EXPECT_EQ(sample.m_seq, 7) << "the sequence belongs to the polling thread";

    m_device->setDemo(true);
    const std::string heard = transcriptText();
    DiagSample demo{};
    ASSERT_TRUE(m_device->readLiveSample(demo));
    EXPECT_EQ(transcriptText(), heard) << "the demo car's sample needs no controller";
    EXPECT_GT(demo.m_exhaustTempr, 0);
    EXPECT_EQ(demo.m_seq, 0);
}

TEST_F(DeviceAgainstSimulator, ProgramsThroughTheLoader) {
    SimConfig config;
    config.controller.identity.modelCode = 25;
    config.controller.noValidApplication = true;
    connect(config);

    EXPECT_EQ(transact(0x02, query(204))->payload[0], 5);
    EXPECT_EQ(transact(0x02, query(196))->payload[1], 239);
    EXPECT_EQ(transact(0xF9, {0x00, 0x20, 0x00, 0x00})->payload[0], 4);
    std::vector<std::uint8_t> frame{0x80, 0x20, 0x00, 0x00}; // address 0x2080
    for (int i = 0; i < 192; ++i)
        frame.push_back(static_cast<std::uint8_t>(255 - i));
    EXPECT_EQ(transact(0xF7, frame)->payload[0], 4);
    EXPECT_EQ(transact(0x02, query(96))->payload[0], 4);
    EXPECT_EQ(transact(0x02, query(204))->payload[0], 4);

    const auto flash = sim().flashImage();
    EXPECT_EQ(flash[2 * 0x2080], 255);
    EXPECT_EQ(flash[2 * 0x2080 + 4 * 63 + 2], 255 - 191);
}

TEST_F(DeviceAgainstSimulator, ExchangeSurvivesNoiseAndSplitsButNotCorruption) {
    connect();
    sim().setNoiseBytes(3);
    sim().injectNext(FaultKind::Noise);
    EXPECT_TRUE(transact(0x02, query(204))) << transcriptText();
    sim().setSplitGapMs(40);
    sim().injectNext(FaultKind::Split);
    EXPECT_TRUE(transact(0x02, query(18)));
    sim().injectNext(FaultKind::CorruptChecksum);
    EXPECT_FALSE(transact(0x02, query(204)));
    sim().injectNext(FaultKind::WrongCode);
    EXPECT_NE(transact(0x02, query(7))->code, 3);
    EXPECT_EQ(transact(0x02, query(7))->code, 3);
}
