#include "sim/controller_model.h"

#include <gtest/gtest.h>

#include <numeric>

using namespace torva::sim;

namespace {

SimRequest query(std::uint8_t subCode, std::uint16_t argument = 0) {
    return {0x02,
            0,
            {subCode, 0, static_cast<std::uint8_t>(argument & 0xFF),
             static_cast<std::uint8_t>(argument >> 8), 0, 0}};
}

std::uint8_t statusOf(const std::optional<SimAnswer>& answer) {
    return answer && answer->code == 0x02 && !answer->payload.empty() ? answer->payload[0] : 0xFF;
}

std::vector<std::uint8_t> address(std::uint32_t value) {
    return {static_cast<std::uint8_t>(value), static_cast<std::uint8_t>(value >> 8),
            static_cast<std::uint8_t>(value >> 16), static_cast<std::uint8_t>(value >> 24)};
}

} // namespace

TEST(ControllerModel, AnswersEveryBlockReadWithItsCodeAndSize) {
    CControllerModel controller(ControllerSettings{});
    for (const BlockInfo& block : blockTable()) {
        const auto answer = controller.handle(query(block.readSubCode), 0);
        ASSERT_TRUE(answer) << block.name;
        EXPECT_EQ(answer->code, block.code) << block.name;
        EXPECT_EQ(answer->payload.size(), block.size) << block.name;
        EXPECT_FALSE(answer->liveSample);
    }
}

TEST(ControllerModel, StoresBlockWritesAndRefusesWrongSizes) {
    CControllerModel controller(ControllerSettings{});
    std::vector<std::uint8_t> map(240);
    std::iota(map.begin(), map.end(), std::uint8_t{0});
    EXPECT_EQ(statusOf(controller.handle({15, 0, map}, 0)), 4);
    const auto read = controller.handle(query(20), 0);
    ASSERT_TRUE(read);
    EXPECT_EQ(read->code, 15);
    EXPECT_EQ(read->payload, map);

    const auto before = controller.blocks().image(3);
    EXPECT_EQ(statusOf(controller.handle({3, 0, std::vector<std::uint8_t>(21, 1)}, 0)), 0);
    EXPECT_EQ(controller.blocks().image(3), before);
}

TEST(ControllerModel, PartialWriteStepsTheRectangleAndClearPairResetsTheMap) {
    CControllerModel controller(ControllerSettings{});
    // Emulation map 1 (map 2): partial code 22, clear 35, second code 27.
    // Rows 14.. (2 rows, clipped from 5), columns 13.. (2 columns), add 7.
    EXPECT_EQ(statusOf(controller.handle({22, 0, {14, 13, 5, 9, 2, 7}}, 0)), 4);
    EXPECT_EQ(statusOf(controller.handle(query(27), 0)), 4);
    auto map = controller.blocks().image(14);
    for (std::size_t r = 0; r < 16; ++r)
        for (std::size_t c = 0; c < 15; ++c)
            EXPECT_EQ(map[r * 15 + c], (r >= 14 && c >= 13) ? 107 : 100) << r << "," << c;

    // Subtracting saturates at 0 in a time map (map 1: partial code 21).
    EXPECT_EQ(statusOf(controller.handle({21, 0, {0, 0, 1, 1, 3, 50}}, 0)), 4);
    EXPECT_EQ(controller.blocks().image(13)[0], 0);
    EXPECT_EQ(statusOf(controller.handle({21, 0, {16, 0, 1, 1, 2, 1}}, 0)), 0);

    EXPECT_EQ(statusOf(controller.handle(query(35), 0)), 4);
    EXPECT_EQ(statusOf(controller.handle(query(27), 0)), 4);
    EXPECT_EQ(controller.blocks().image(14), std::vector<std::uint8_t>(240, 100));
}

TEST(ControllerModel, LiveSampleLayoutsAndChecksumRule) {
    ControllerSettings settings;
    CControllerModel controller(settings);
    auto sample = controller.handle(query(6), 0);
    ASSERT_TRUE(sample);
    EXPECT_EQ(sample->code, 34);
    EXPECT_EQ(sample->payload.size(), 52u);
    EXPECT_TRUE(sample->liveSample);

    controller.setCompactLiveSample(true);
    const auto compact = controller.handle(query(6), 0);
    ASSERT_TRUE(compact);
    EXPECT_EQ(compact->code, 1);
    ASSERT_EQ(compact->payload.size(), 34u);
    EXPECT_TRUE(compact->liveSample);
    EXPECT_TRUE(std::equal(compact->payload.begin(), compact->payload.begin() + 30,
                           sample->payload.begin()));
}

TEST(ControllerModel, ModeFollowsAfterTheConfiguredDelay) {
    ControllerSettings settings;
    settings.modeDelayMs = 300;
    settings.modeDelaySamples = 1;
    CControllerModel controller(settings);
    EXPECT_EQ(statusOf(controller.handle(query(1), 0)), 4);
    EXPECT_EQ(controller.handle(query(6), 100)->payload[2], 2);
    EXPECT_EQ(controller.handle(query(6), 200)->payload[2], 2); // enough samples, too early
    EXPECT_EQ(controller.handle(query(6), 350)->payload[2], 3);
    const auto gas = controller.handle(query(6), 400);
    EXPECT_GT(gas->payload[34] | (gas->payload[35] << 8), 0); // gas injection time on gas
    controller.handle(query(2), 400);
    EXPECT_EQ(controller.handle(query(6), 900)->payload[2], 3);
    const auto diesel = controller.handle(query(6), 1000);
    EXPECT_EQ(diesel->payload[2], 2);
    EXPECT_EQ(diesel->payload[34] | (diesel->payload[35] << 8), 0);
}

TEST(ControllerModel, ResetClearsStoredFaultsAndEngineFaultsComeBack) {
    CControllerModel controller(ControllerSettings{});
    controller.setErrorStatus({1, 2, 0, 8});
    controller.engine().setFaults({.noRpmSignal = true});
    EXPECT_EQ(controller.handle(query(5), 0)->payload, (std::vector<std::uint8_t>{1, 2, 1, 8}));
    const auto sample = controller.handle(query(6), 0);
    EXPECT_EQ(sample->payload[0] | (sample->payload[1] << 8), 0xFFFF);

    EXPECT_EQ(statusOf(controller.handle(query(10), 0)), 4);
    EXPECT_EQ(controller.errorStatus(), (std::array<std::uint8_t, 4>{}));
    controller.engine().setFaults({});
    EXPECT_EQ(controller.handle(query(5), 10)->payload, (std::vector<std::uint8_t>{0, 0, 0, 0}));
}

TEST(ControllerModel, CorrelationTableChunksRoundTrip) {
    CControllerModel controller(ControllerSettings{});
    std::vector<std::uint8_t> chunk{0xA0, 0x03}; // index 928
    for (std::uint16_t i = 0; i < 32; ++i) {
        chunk.push_back(static_cast<std::uint8_t>(i * 9));
        chunk.push_back(static_cast<std::uint8_t>(1));
    }
    EXPECT_EQ(statusOf(controller.handle({43, 0, chunk}, 0)), 4);
    const auto read = controller.handle(query(59, 928), 0);
    ASSERT_TRUE(read);
    EXPECT_EQ(read->code, 43);
    EXPECT_EQ(read->payload, chunk);
    EXPECT_EQ(controller.correlationTable()[929], 0x0109);
    EXPECT_EQ(statusOf(controller.handle(query(59, 1000), 0)), 0);
}

TEST(ControllerModel, AnswersTheOtherReads) {
    CControllerModel controller(ControllerSettings{});
    const std::pair<std::uint8_t, std::pair<std::uint8_t, std::size_t>> reads[] = {
        {13, {8, 30}}, {17, {12, 10}}, {56, {41, 12}},  {5, {6, 4}},
        {9, {7, 8}},   {15, {11, 8}},  {58, {42, 192}}, {62, {44, 48}},
    };
    for (const auto& [sub, expected] : reads) {
        const auto answer = controller.handle(query(sub), 0);
        ASSERT_TRUE(answer) << int(sub);
        EXPECT_EQ(answer->code, expected.first) << int(sub);
        EXPECT_EQ(answer->payload.size(), expected.second) << int(sub);
    }
    EXPECT_EQ(statusOf(controller.handle(query(58, 4), 0)), 0);
    EXPECT_FALSE(controller.handle(query(250), 0)); // unknown: silence, noted as a fault
    EXPECT_EQ(controller.extendedRecord()[3], 0x01);
}

TEST(ControllerModel, IdentificationReportsAnyModelCode) {
    for (std::uint8_t model : {26, 99}) { // a known code and an unknown one
        ControllerSettings settings;
        settings.identity.modelCode = model;
        settings.identity.liveDiagnostics = 0;
        CControllerModel controller(settings);
        const auto answer = controller.handle(query(204), 0);
        ASSERT_TRUE(answer);
        EXPECT_EQ(answer->payload[0], 4);
        EXPECT_EQ(answer->payload[1], model);
        EXPECT_EQ(answer->payload[2], 0);
    }
}

TEST(ControllerModel, LoaderAnswersItsIdentityAndProgramsTheFlash) {
    ControllerSettings settings;
    settings.identity.modelCode = 25;
    settings.noValidApplication = true;
    CControllerModel controller(settings);
    EXPECT_EQ(statusOf(controller.handle(query(204), 0)), 5);
    EXPECT_FALSE(controller.handle(query(197), 0)); // an A2 loader only knows 196
    const auto identity = controller.handle(query(196), 0);
    ASSERT_TRUE(identity);
    EXPECT_EQ(identity->payload[0], 4);
    EXPECT_EQ(identity->payload[1], 239);
    EXPECT_FALSE(controller.handle(query(7), 0)); // no application to answer block reads

    EXPECT_EQ(statusOf(controller.handle({0xF9, 0, address(0x2000)}, 0)), 4);
    std::vector<std::uint8_t> frame = address(0x2000);
    for (int i = 0; i < 192; ++i)
        frame.push_back(static_cast<std::uint8_t>(i));
    EXPECT_EQ(statusOf(controller.handle({0xF7, 0, frame}, 0)), 4);
    const auto& flash = controller.flash().bytes();
    // Address a sits at image offset 2a, three bytes of every four.
    EXPECT_EQ(flash[0x4000], 0);
    EXPECT_EQ(flash[0x4002], 2);
    EXPECT_EQ(flash[0x4003], 0);
    EXPECT_EQ(flash[0x4004], 3);
    EXPECT_EQ(flash[0x4000 + 4 * 63 + 2], 191);
    EXPECT_EQ(flash[0x4000 + 4 * 64], 0xFF); // beyond the frame: still erased
    EXPECT_EQ(statusOf(controller.handle({0xF9, 0, address(0x2100)}, 0)), 0); // not a block start
    auto pastTheEnd = address(57344 - 64);
    pastTheEnd.resize(4 + 192, 0);
    EXPECT_EQ(statusOf(controller.handle({0xF7, 0, pastTheEnd}, 0)), 0);

    EXPECT_EQ(statusOf(controller.handle(query(96), 0)), 4);
    EXPECT_FALSE(controller.inLoader());
    const auto identification = controller.handle(query(204), 0);
    EXPECT_EQ(statusOf(identification), 4);
    EXPECT_EQ(identification->payload[1], 25);
}

TEST(ControllerModel, AccessCodeEntersTheLoaderAndUnerasedFlashKeepsOldBits) {
    ControllerSettings settings;
    settings.identity.modelCode = 3;
    CControllerModel controller(settings);
    EXPECT_EQ(statusOf(controller.handle({0xF6, 0, {'Q', 'X', '3', '1', '8', '2', '7', '1'}}, 0)),
              0);
    EXPECT_FALSE(controller.inLoader());
    EXPECT_EQ(statusOf(controller.handle({0xF6, 0, {'Q', 'X', '3', '1', '8', '2', '7', '0'}}, 0)),
              4);
    EXPECT_TRUE(controller.inLoader());
    EXPECT_EQ(controller.handle(query(197), 0)->payload[1], 250);

    std::vector<std::uint8_t> frame = address(0x2000);
    frame.resize(4 + 192, 0x0F);
    EXPECT_EQ(statusOf(controller.handle({0xF7, 0, frame}, 0)), 4);
    std::fill(frame.begin() + 4, frame.end(), 0xF0);
    EXPECT_EQ(statusOf(controller.handle({0xF7, 0, frame}, 0)), 4); // no erase in between
    EXPECT_EQ(controller.flash().bytes()[0x4000], 0x00);
    EXPECT_EQ(controller.flash().eraseBlock(), 1024u);
}
