#include "config/adc_scale.h"
#include "link/device_identity.h"
#include "link/device_rig.h"

#include <gtest/gtest.h>

#include <cstring>

using namespace torva;
using test::CRespondingSerial;
using test::SDeviceRig;
using test::SSeenRequest;
using Bytes = CRespondingSerial::Bytes;

namespace {

constexpr std::uint8_t kIdentify = 204;

// A controller that answers identification with status and bytes 1-2, and the loader queries
// as given (nothing for a query left out).
struct SLoaderScript {
    std::optional<Bytes> identification{};
    std::optional<Bytes> query197{};
    std::optional<Bytes> query196{};
    std::optional<Bytes> leave96{};
};

CRespondingSerial::Responder scripted(SLoaderScript script) {
    return [script](const SSeenRequest& request) -> std::optional<Bytes> {
        const std::optional<Bytes>* payload = nullptr;
        switch (request.subCode()) {
        case kIdentify:
            payload = &script.identification;
            break;
        case 197:
            payload = &script.query197;
            break;
        case 196:
            payload = &script.query196;
            break;
        case 96:
            payload = &script.leave96;
            break;
        default:
            return std::nullopt;
        }
        if (!*payload)
            return std::nullopt;
        return CRespondingSerial::answer(2, **payload);
    };
}

std::vector<std::uint8_t> subCodes(const std::vector<SSeenRequest>& requests) {
    std::vector<std::uint8_t> codes;
    for (const auto& request : requests)
        codes.push_back(request.subCode());
    return codes;
}

} // namespace

TEST(LPGDeviceIdentify, StoresTheModelOfTheReportedCodeAndTheLiveDiagnosticsMark) {
    SDeviceRig rig(scripted({.identification = Bytes{4, 38, 0x00}}));
    ASSERT_TRUE(rig.device->identify());
    EXPECT_EQ(rig.device->config().m_devInfo.m_deviceID, 37);
    EXPECT_EQ(rig.device->config().m_devInfo.m_modelName, "KARMEL B2");
    EXPECT_FALSE(rig.device->hasLiveDiagnostics());
    EXPECT_EQ(rig.requests().size(), 1u);
}

TEST(LPGDeviceIdentify, UnsupportedModelFailsAndIsNamedOncePerRun) {
    SDeviceRig rig(scripted({.identification = Bytes{4, 99, 0x55}}));
    EXPECT_FALSE(rig.device->identify());
    EXPECT_FALSE(rig.device->identify());
    ASSERT_EQ(rig.ui.messages().size(), 1u);
    EXPECT_EQ(rig.ui.messages()[0].text,
              "Odpowiedział sterownik nieobsługiwanego modelu (numer modelu 99).");
    EXPECT_EQ(rig.ui.messages()[0].caption, "TORVA");
    EXPECT_EQ(rig.ui.messages()[0].icon, EIcon::Error);
}

TEST(LPGDeviceIdentify, GivesUpAfterFourAttemptsWithoutStatusFourOrFive) {
    SDeviceRig rig(scripted({.identification = Bytes{3, 25, 0x55}}));
    EXPECT_FALSE(rig.device->identify());
    EXPECT_EQ(rig.requests().size(), 4u);
}

TEST(LPGDeviceIdentify, ControllerWithoutApplicationIsNamedByItsLoaderAndProgrammed) {
    SDeviceRig rig(scripted({.identification = Bytes{5}, .query196 = Bytes{4, 239}}));
    int programmed = 0;
    rig.device->setForcedProgramming([&programmed] {
        ++programmed;
        return true;
    });
    EXPECT_TRUE(rig.device->identify());
    EXPECT_EQ(programmed, 1);
    const SDevInfo& info = rig.device->config().m_devInfo;
    EXPECT_EQ(info.m_modelName, "KARMEL A2");
    EXPECT_EQ(info.m_deviceID, 25);
    EXPECT_EQ(info.m_version, 256);
    // 197 goes unanswered three times before 196 is asked.
    EXPECT_EQ(subCodes(rig.requests()), (std::vector<std::uint8_t>{204, 197, 197, 197, 196}));
    ASSERT_EQ(rig.ui.messages().size(), 1u);
    EXPECT_EQ(rig.ui.messages()[0].text,
              "Sterownik nie jest poprawnie zaprogramowany i wymaga przeprogramowania.");
    EXPECT_EQ(rig.ui.messages()[0].icon, EIcon::Information);
}

TEST(LPGDeviceIdentify, LoaderAnswersDecideTheModelOrTheFailure) {
    {
        // Without a programming run installed, identification reports failure.
        SDeviceRig rig(scripted({.identification = Bytes{5}, .query197 = Bytes{4, 250}}));
        EXPECT_FALSE(rig.device->identify());
        EXPECT_EQ(rig.device->config().m_devInfo.m_modelName, "KARMEL A1");
        EXPECT_EQ(subCodes(rig.requests()), (std::vector<std::uint8_t>{204, 197}));
    }
    {
        // 197 answers with another model's identity: no model, no programming.
        SDeviceRig rig(scripted({.identification = Bytes{5}, .query197 = Bytes{4, 239}}));
        rig.device->setForcedProgramming([] { return true; });
        EXPECT_FALSE(rig.device->identify());
        EXPECT_TRUE(rig.ui.messages().empty());
    }
    {
        // An unknown identity: the loader is told to leave.
        SDeviceRig rig(
            scripted({.identification = Bytes{5}, .query196 = Bytes{4, 100}, .leave96 = Bytes{4}}));
        rig.device->setForcedProgramming([] { return true; });
        EXPECT_FALSE(rig.device->identify());
        EXPECT_EQ(subCodes(rig.requests()),
                  (std::vector<std::uint8_t>{204, 197, 197, 197, 196, 96}));
    }
    {
        // Another status ends the query at once.
        SDeviceRig rig(scripted({.query196 = Bytes{3, 239}}));
        const auto got = rig.device->queryLoaderIdentity(196);
        EXPECT_EQ(got.answer, CLPGDevice::ELoaderAnswer::Refused);
        EXPECT_EQ(rig.requests().size(), 1u);
    }
}

TEST(LPGDeviceIdentify, DeviceInformationRecordFillsTheIdentity) {
    Bytes record(30, 0);
    record[0] = 0x0D; // flag word 1: bit 3 selects the 8.5 scale
    record[4] = 0x02;
    record[8] = 4312 & 0xFF;
    record[9] = 4312 >> 8;
    record[10] = 0x2F;
    record[11] = 0x01;
    std::memcpy(record.data() + 12, "ABC1234", 7);
    record[28] = 4;
    record[29] = 26;
    SDeviceRig rig([&record](const SSeenRequest& request) -> std::optional<Bytes> {
        if (request.subCode() != 13)
            return std::nullopt;
        return CRespondingSerial::answer(8, record);
    });
    ASSERT_TRUE(rig.device->readDeviceInfo());
    const SDevInfo& info = rig.device->config().m_devInfo;
    EXPECT_EQ(info.m_flags1, 0x0Du);
    EXPECT_EQ(info.m_flags2, 2u);
    EXPECT_EQ(info.m_prodDate, "21/01/2016");
    EXPECT_EQ(info.m_version, 0x012F);
    EXPECT_EQ(info.m_serial, "ABC1234");
    EXPECT_EQ(info.m_injCount, 4);
    EXPECT_EQ(info.m_deviceID, 25); // 26 is stored as 25, as identification stores it
    EXPECT_DOUBLE_EQ(switchableScale(), 8.5);

    record[0] = 0x05;
    ASSERT_TRUE(rig.device->readDeviceInfo());
    EXPECT_DOUBLE_EQ(switchableScale(), 4.636);
}

TEST(DeviceIdentity, ProductionDateCountsCalendarDaysFromAprilFirst2004) {
    EXPECT_EQ(productionDateText(0), "01/04/2004");
    EXPECT_EQ(productionDateText(4312), "21/01/2016");
    EXPECT_EQ(productionDateText(65535), "05/09/2183");
}

TEST(DeviceIdentity, PlainIdentifierNeedsThreeLettersADigitAndAZeroLastByte) {
    std::array<std::uint8_t, 16> bytes{};
    std::memcpy(bytes.data(), "ABC1XYZ", 7);
    EXPECT_TRUE(isPlainIdentifier(bytes));
    EXPECT_EQ(decodeIdentifier(bytes), "ABC1XYZ");
    bytes[15] = 'Q';
    EXPECT_FALSE(isPlainIdentifier(bytes));
    bytes[15] = 0;
    bytes[2] = '0';
    EXPECT_FALSE(isPlainIdentifier(bytes));
    bytes[2] = 'c';
    bytes[3] = 'd';
    EXPECT_FALSE(isPlainIdentifier(bytes));
}

TEST(DeviceIdentity, APlainIdentifierTheTestMissesIsShownAsStoredNotDeciphered) {
    for (const char* plain : {"DI001", "ABCDEFGH"}) {
        std::array<std::uint8_t, 16> bytes{};
        std::memcpy(bytes.data(), plain, std::strlen(plain));
        ASSERT_FALSE(isPlainIdentifier(bytes));
        EXPECT_EQ(decodeIdentifier(bytes), plain);
    }
}
