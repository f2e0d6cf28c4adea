#include "link/device_errors.h"
#include "link/device_rig.h"

#include <gtest/gtest.h>

#include <set>

using namespace torva;
using test::CRespondingSerial;
using test::SDeviceRig;
using test::SSeenRequest;
using Bytes = CRespondingSerial::Bytes;
using SubCodes = std::vector<std::uint8_t>;

namespace {

// A controller of the given model and firmware that answers identification, the device
// information and every block read; reads in `refused` are answered with a wrong code.
struct SController {
    std::uint8_t model = 25;
    std::uint16_t version = 0x012F;
    std::set<std::uint8_t> refused;

    std::optional<Bytes> operator()(const SSeenRequest& request) const {
        if (request.code != 2)
            return std::nullopt;
        const std::uint8_t sub = request.subCode();
        if (refused.contains(sub))
            return CRespondingSerial::answer(99, Bytes(240, 0));
        if (sub == 204)
            return CRespondingSerial::answer(2, Bytes{4, model, 0x55});
        if (sub == 13) {
            Bytes record(30, 0);
            record[10] = static_cast<std::uint8_t>(version & 0xFF);
            record[11] = static_cast<std::uint8_t>(version >> 8);
            record[29] = model;
            return CRespondingSerial::answer(8, record);
        }
        for (const SBlockInfo& info : blockTable()) {
            if (info.readSubCode == sub)
                return CRespondingSerial::answer(info.code, Bytes(info.size, 0x11));
        }
        return std::nullopt;
    }
};

// The sub-codes of the block reads, in the order they went out.
SubCodes blockReads(const std::vector<SSeenRequest>& requests) {
    SubCodes reads;
    for (const SSeenRequest& request : requests) {
        if (request.subCode() != 204 && request.subCode() != 13)
            reads.push_back(request.subCode());
    }
    return reads;
}

// Sensors, base, advanced, tempomat, time 1, emulation 1, emulation 2, time 2, emulation 3,
// time 3, emulation 4, time 4, axes 1 + RPM, axes 2-4, service, then the TpsD emulation map,
// time map and axis.
SubCodes expectedReads(bool service, bool tempomat, bool tpsDigital) {
    SubCodes reads{14, 7, 8};
    if (tempomat)
        reads.push_back(55);
    reads.insert(reads.end(), {18, 19, 21, 20, 23, 22, 25, 24, 43, 44, 45, 46});
    if (service)
        reads.push_back(47);
    if (tpsDigital)
        reads.insert(reads.end(), {49, 48, 54});
    return reads;
}

} // namespace

TEST(LPGDeviceConfigRead, ReadsTheBlocksTheControllerHasInOrder) {
    struct SCase {
        std::uint8_t model;
        std::uint16_t version;
        bool service, tempomat, tpsDigital;
    };
    for (const SCase& c : {SCase{3, 257, false, false, false}, SCase{37, 258, true, false, true},
                           SCase{25, 265, true, false, true}, SCase{40, 266, true, true, false},
                           SCase{25, 266, true, true, true}}) {
        SDeviceRig rig(SController{c.model, c.version, {}});
        ASSERT_TRUE(rig.device->readConfiguration());
        EXPECT_EQ(blockReads(rig.requests()), expectedReads(c.service, c.tempomat, c.tpsDigital))
            << "model " << int(c.model) << " version " << c.version;
        EXPECT_EQ(rig.requests()[0].subCode(), 204);
        EXPECT_EQ(rig.requests()[1].subCode(), 13);
        EXPECT_TRUE(rig.device->isConnected());
        EXPECT_TRUE(rig.ui.messages().empty());
        EXPECT_DOUBLE_EQ(rig.device->config().m_mapTimeEmu2[3][4], 1.7); // 0x11 tenths of a ms
    }
}

TEST(LPGDeviceConfigRead, AFailedReadIsRepeatedOnceAfterAPauseAndReported) {
    SDeviceRig rig(SController{25, 0x012F, {8}});
    ASSERT_TRUE(rig.device->readConfiguration());
    const SubCodes reads = blockReads(rig.requests());
    EXPECT_EQ(std::count(reads.begin(), reads.end(), 8), 42); // 21 attempts, twice
    EXPECT_EQ(reads.back(), 54);                              // the sequence went on
    EXPECT_EQ(rig.clock.sleptMs(), 131);
    ASSERT_EQ(rig.ui.messages().size(), 1u);
    EXPECT_EQ(rig.ui.messages()[0].text, "Nie powiodło się wczytanie ustawień urządzenia!");
    EXPECT_EQ(rig.ui.messages()[0].caption, "TORVA");
    EXPECT_EQ(rig.ui.messages()[0].icon, EIcon::Error);
}

TEST(LPGDeviceConfigRead, MissingDeviceInformationIsReportedAndTheReadGoesOn) {
    SDeviceRig rig(SController{3, 0, {13}});
    ASSERT_TRUE(rig.device->readConfiguration());
    EXPECT_TRUE(rig.device->isConnected());
    ASSERT_EQ(rig.ui.messages().size(), 1u);
    EXPECT_EQ(rig.ui.messages()[0].text, "Nie powiodło się odczytanie wersji urządzenia!");
    EXPECT_EQ(blockReads(rig.requests()), expectedReads(false, false, false));
}

TEST(LPGDeviceConfigRead, FailedIdentificationReadsNothingAndLeavesTheDeviceDisconnected) {
    SDeviceRig rig(SController{25, 0x012F, {204}});
    rig.device->setConnected(true);
    EXPECT_FALSE(rig.device->readConfiguration());
    EXPECT_FALSE(rig.device->isConnected());
    EXPECT_EQ(rig.requests().size(), 4u);
}

namespace {

// Acknowledges the diesel switch and answers live-sample reads with the modes given, one per
// read, repeating the last.
struct SModeController {
    std::vector<std::uint8_t> modes;
    Bytes dieselAnswer = CRespondingSerial::ack(0);
    mutable std::size_t samples = 0;

    std::optional<Bytes> operator()(const SSeenRequest& request) const {
        if (request.subCode() == 2)
            return dieselAnswer;
        if (request.subCode() != 6)
            return std::nullopt;
        Bytes sample(52, 0);
        sample[2] = modes[std::min(samples++, modes.size() - 1)];
        return CRespondingSerial::strictAnswer(34, sample);
    }
};

} // namespace

TEST(LPGDeviceConfigRead, DieselSwitchWaitsUntilTheSampleShowsDiesel) {
    {
        SDeviceRig rig(SModeController{{3, 3, 2}});
        EXPECT_TRUE(rig.device->switchToDieselAndWait());
        EXPECT_EQ(rig.requests().size(), 4u); // the switch, three polls
        EXPECT_EQ(rig.ui.responsiveWaitMs(), 300);
    }
    {
        SDeviceRig rig(SModeController{{3}});
        EXPECT_FALSE(rig.device->switchToDieselAndWait());
        EXPECT_EQ(rig.requests().size(), 20u);
        EXPECT_EQ(rig.ui.responsiveWaitMs(), 1900);
    }
    {
        // The diesel switch itself fails: nothing is polled.
        SDeviceRig rig(SModeController{{2}, CRespondingSerial::answer(5, {})});
        EXPECT_FALSE(rig.device->switchToDieselAndWait());
        EXPECT_EQ(rig.requests().size(), 15u);
        EXPECT_EQ(rig.ui.responsiveWaitMs(), 0);
    }
}

TEST(LPGDeviceConfigRead, ErrorListReadsTheRecordsItsModelAndFirmwareHave) {
    const CDeviceErrorList decoders;
    std::set<std::uint8_t> refused;
    const auto controller = [&refused](const SSeenRequest& request) -> std::optional<Bytes> {
        if (refused.contains(request.subCode()))
            return std::nullopt;
        switch (request.subCode()) {
        case 5:
            return CRespondingSerial::answer(6, Bytes{0x00, 0x02, 0x01, 0x00});
        case 9:
            return CRespondingSerial::answer(7, Bytes(8, 0xFF));
        case 15:
            return CRespondingSerial::answer(11, Bytes{0x01, 0, 0, 0, 0, 0, 0, 0});
        default:
            return std::nullopt;
        }
    };
    SDeviceRig rig(controller);
    SDevInfo& info = rig.device->config().m_devInfo;

    info.m_deviceID = 37;
    info.m_version = 297;
    auto texts = rig.device->readErrorTexts(decoders);
    ASSERT_TRUE(texts);
    // Model 37's injector byte is not decoded; the extended record adds thermocouple 1.
    EXPECT_EQ(*texts, (std::vector<std::string>{
                          "Brak sygnału RPM", "Błąd - za wysoka temperatura spalin-termopara 1"}));
    SubCodes sent;
    for (const auto& request : rig.requests())
        sent.push_back(request.subCode());
    EXPECT_EQ(sent, (SubCodes{5, 9, 15}));

    rig.serial->clearRequests();
    info.m_deviceID = 25;
    info.m_version = 296;
    texts = rig.device->readErrorTexts(decoders);
    ASSERT_TRUE(texts);
    EXPECT_EQ(*texts, (std::vector<std::string>{"Błąd wtryskiwacza LPG 2", "Brak sygnału RPM"}));
    EXPECT_EQ(rig.requests().size(), 1u);

    info.m_deviceID = 37;
    refused = {9};
    EXPECT_FALSE(rig.device->readErrorTexts(decoders));
}
