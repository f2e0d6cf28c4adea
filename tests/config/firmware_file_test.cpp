#include "config/firmware_file.h"
#include "config/firmware_file_writer.h"
#include "support/temp_folder.h"

#include <gtest/gtest.h>

#include <stdexcept>

using namespace torva;
namespace fl = firmware_layout;
using test::CTempFolder;

namespace {

std::vector<std::uint8_t> patternPayload(std::size_t size) {
    std::vector<std::uint8_t> payload(size);
    for (std::size_t i = 0; i < size; ++i)
        payload[i] = static_cast<std::uint8_t>(i * 7 + i / 251);
    return payload;
}

SFirmwareFileContents contentsOf(std::size_t payloadSize) {
    return {patternPayload(payloadSize), 0x012D, kFirmwareFormatMarker, "DIESEL C2"};
}

// Adds delta to the decoded byte at offset of an encoded file.
void changeDecoded(std::vector<std::uint8_t>& file, std::size_t offset, int delta) {
    const auto plain = static_cast<std::uint8_t>(firmwareDecodeByte(file[offset]) + delta);
    file[offset] = firmwareEncodeByte(plain);
}

EFirmwareLoadFailure failureOf(const std::vector<std::uint8_t>& file) {
    CFirmwareFile firmware;
    const auto result = firmware.loadBytes(file);
    EXPECT_FALSE(result.ok);
    EXPECT_FALSE(firmware.loaded());
    EXPECT_TRUE(firmware.image().empty());
    return result.failure;
}

} // namespace

TEST(FirmwareFile, RoundTripsThroughAFileAndDropsTheGap) {
    CTempFolder folder;
    const auto contents = contentsOf(20000);
    const auto path = folder.file("c2.afm");
    ASSERT_TRUE(writeFirmwareFile(path, contents));

    CFirmwareFile firmware;
    const auto result = firmware.load(path);
    ASSERT_TRUE(result.ok);
    EXPECT_EQ(result.failure, EFirmwareLoadFailure::None);
    EXPECT_EQ(result.modelName, "DIESEL C2");
    EXPECT_EQ(result.version, 0x012D);
    EXPECT_EQ(result.formatMarker, kFirmwareFormatMarker);
    EXPECT_TRUE(firmware.loaded());

    const auto& image = firmware.image();
    const auto& payload = contents.payload;
    ASSERT_EQ(image.size(), fl::kImageCapacity);
    EXPECT_EQ(firmware.imageLength(), 20000u - 60);
    EXPECT_TRUE(std::equal(payload.begin(), payload.begin() + 8320, image.begin()));
    EXPECT_TRUE(std::equal(payload.begin() + 8380, payload.end(), image.begin() + 8320));
    EXPECT_TRUE(std::all_of(image.begin() + 19940, image.end(), [](auto b) { return b == 0; }));
}

TEST(FirmwareFile, StoresEveryByteRotatedLeftByTwoBits) {
    for (int b = 0; b < 256; ++b) {
        const auto byte = static_cast<std::uint8_t>(b);
        EXPECT_EQ(firmwareDecodeByte(firmwareEncodeByte(byte)), byte);
    }
    EXPECT_EQ(firmwareEncodeByte(0xC1), 0x07);
    // The header's length field 0x00004E20 (20000) as it lies in the file.
    const auto file = buildFirmwareFile(contentsOf(20000));
    EXPECT_EQ(file[0], firmwareEncodeByte(0x20));
    EXPECT_EQ(file[1], firmwareEncodeByte(0x4E));
    EXPECT_EQ(file.size(), 40u + 20000u);
}

TEST(FirmwareFile, FrameCountRoundsTheImageUpToWholeFrames) {
    struct Case {
        std::size_t payload;
        std::size_t frames;
    };
    for (const auto c : {Case{8381, 33}, Case{8508, 33}, Case{8509, 34}, Case{70000, 274},
                         Case{fl::kImageCapacity, 2048}}) {
        CFirmwareFile firmware;
        ASSERT_TRUE(firmware.loadBytes(buildFirmwareFile(contentsOf(c.payload))).ok) << c.payload;
        EXPECT_EQ(firmware.frameCount(), c.frames) << c.payload;
        EXPECT_EQ(firmware.imageLength(), c.payload - 60);
    }
}

TEST(FirmwareFile, ChecksumCoversOnlyThePayloadLengthModulo65536) {
    // 70000 mod 65536 = 4464: bytes from 4464 on are outside the sum.
    auto file = buildFirmwareFile(contentsOf(70000));
    const std::size_t firstUncounted = 40 + 4464;

    auto changedOutside = file;
    changeDecoded(changedOutside, firstUncounted, 1);
    changeDecoded(changedOutside, 40 + 69999, 1);
    CFirmwareFile firmware;
    EXPECT_TRUE(firmware.loadBytes(changedOutside).ok);

    auto changedInside = file;
    changeDecoded(changedInside, firstUncounted - 1, 1);
    EXPECT_EQ(failureOf(changedInside), EFirmwareLoadFailure::ChecksumMismatch);
}

TEST(FirmwareFile, ChecksumCoversTheHeaderButNotItsOwnField) {
    const auto file = buildFirmwareFile(contentsOf(9000));
    for (std::size_t offset : {4u, 8u, 18u, 19u, 37u}) {
        auto changed = file;
        changeDecoded(changed, offset, 1);
        EXPECT_EQ(failureOf(changed), EFirmwareLoadFailure::ChecksumMismatch) << offset;
    }
    auto changedChecksum = file;
    changeDecoded(changedChecksum, 38, 1);
    EXPECT_EQ(failureOf(changedChecksum), EFirmwareLoadFailure::ChecksumMismatch);

    // Moving one unit from one header byte to another keeps the sum: the unused bytes count.
    auto swapped = file;
    changeDecoded(swapped, 8, 1);
    changeDecoded(swapped, 4, -1);
    CFirmwareFile firmware;
    const auto result = firmware.loadBytes(swapped);
    EXPECT_TRUE(result.ok);
    EXPECT_EQ(result.version, 0x012C);
}

TEST(FirmwareFile, RefusesEverySizeItCannotProgram) {
    const auto good = buildFirmwareFile(contentsOf(9000));

    EXPECT_EQ(failureOf({}), EFirmwareLoadFailure::HeaderTooShort);
    EXPECT_EQ(failureOf({good.begin(), good.begin() + 39}), EFirmwareLoadFailure::HeaderTooShort);
    EXPECT_EQ(failureOf({good.begin(), good.end() - 1}), EFirmwareLoadFailure::PayloadTruncated);
    EXPECT_EQ(failureOf(buildFirmwareFile(contentsOf(8380))),
              EFirmwareLoadFailure::PayloadTooShort);
    EXPECT_EQ(failureOf(buildFirmwareFile(contentsOf(0))), EFirmwareLoadFailure::PayloadTooShort);
    EXPECT_EQ(failureOf(buildFirmwareFile(contentsOf(fl::kImageCapacity + 1))),
              EFirmwareLoadFailure::PayloadTooLarge);

    // A header claiming four gigabytes on a short file.
    auto huge = good;
    for (std::size_t i = 0; i < 4; ++i)
        huge[i] = firmwareEncodeByte(0xFF);
    EXPECT_EQ(failureOf(huge), EFirmwareLoadFailure::PayloadTooLarge);

    CFirmwareFile firmware;
    EXPECT_EQ(firmware.load("/nonexistent/folder/none.afm").failure,
              EFirmwareLoadFailure::CannotOpen);
    CTempFolder folder;
    const auto tooLarge = folder.file("large.afm");
    ASSERT_TRUE(writeFirmwareFile(tooLarge, contentsOf(fl::kImageCapacity + 1)));
    EXPECT_EQ(firmware.load(tooLarge).failure, EFirmwareLoadFailure::PayloadTooLarge);
}

TEST(FirmwareFile, ReadsTheHeaderOfARefusedFileAndIgnoresTrailingBytes) {
    auto contents = contentsOf(9000);
    contents.formatMarker = 0x0202;
    auto file = buildFirmwareFile(contents);
    file.insert(file.end(), 100, 0xAB);

    CFirmwareFile firmware;
    const auto result = firmware.loadBytes(file);
    EXPECT_TRUE(result.ok); // the marker is the caller's check
    EXPECT_EQ(result.formatMarker, 0x0202);
    EXPECT_EQ(firmware.imageLength(), 9000u - 60);

    // A failed load forgets the image of an earlier one.
    changeDecoded(file, 100, 1);
    const auto refused = firmware.loadBytes(file);
    EXPECT_FALSE(refused.ok);
    EXPECT_EQ(refused.modelName, "DIESEL C2");
    EXPECT_FALSE(firmware.loaded());
    EXPECT_EQ(firmware.imageLength(), 0u);
    EXPECT_EQ(firmware.frameCount(), 0u);
}

TEST(FirmwareFile, ModelNameIsConvertedAndBoundedByItsField) {
    auto contents = contentsOf(9000);
    contents.modelName = "ŁÓDŹ żółć";
    CFirmwareFile firmware;
    EXPECT_EQ(firmware.loadBytes(buildFirmwareFile(contents)).modelName, "ŁÓDŹ żółć");

    // 19 bytes and no terminating zero: the checksum field after it must not join the name.
    contents.modelName = "ABCDEFGHIJKLMNOPQRS";
    const auto full = firmware.loadBytes(buildFirmwareFile(contents));
    EXPECT_TRUE(full.ok);
    EXPECT_EQ(full.modelName, "ABCDEFGHIJKLMNOPQRS");

    contents.modelName = "ABCDEFGHIJKLMNOPQRST";
    EXPECT_THROW(buildFirmwareFile(contents), std::invalid_argument);
    contents.modelName = "中";
    EXPECT_THROW(buildFirmwareFile(contents), std::invalid_argument);
}
