#include "link/lpg_device.h"

#include "config/block_image.h"
#include "link/request_shapes.h"

#include <algorithm>
#include <string_view>

namespace torva {

namespace {

namespace code {
constexpr std::uint8_t kAccessCode = 0xF6;
constexpr std::uint8_t kWriteFlash = 0xF7;
constexpr std::uint8_t kEraseFlash = 0xF9;
} // namespace code

namespace sub {
constexpr std::uint8_t kLeaveLoader = 96;
constexpr std::uint8_t kReset = 10;
} // namespace sub

constexpr std::string_view kAccessText = "QX318270";

// Each frame covers 128 controller addresses: 256 image bytes, as the image holds two bytes per
// address. Of every four-byte program word the controller takes the first three.
constexpr std::uint32_t kAddressesPerFrame = 128;
constexpr std::size_t kImageBytesPerAddress = 2;
constexpr std::size_t kImageBytesPerFrame = kAddressesPerFrame * kImageBytesPerAddress;
constexpr std::size_t kWordSize = 4;
constexpr std::size_t kBytesKeptPerWord = 3;

constexpr std::size_t kAddressSize = 4;

std::vector<std::uint8_t> addressPayload(std::uint32_t address) {
    std::vector<std::uint8_t> payload(kAddressSize);
    block_image::putDword(payload.data(), 0, address);
    return payload;
}

// The frame for address: 64 three-byte groups from the 256 image bytes at offset 2 × address;
// bytes past the image end count as zero, as they do in the zero-filled image buffer.
FlashFrame frameAt(std::span<const std::uint8_t> image, std::uint32_t address) {
    FlashFrame frame{};
    const std::size_t start = std::size_t{address} * kImageBytesPerAddress;
    std::size_t out = 0;
    for (std::size_t word = 0; word < kImageBytesPerFrame; word += kWordSize) {
        for (std::size_t i = 0; i < kBytesKeptPerWord; ++i) {
            const std::size_t at = start + word + i;
            frame[out++] = at < image.size() ? image[at] : 0;
        }
    }
    return frame;
}

} // namespace

bool CLPGDevice::sendAccessCode() {
    return writeAcked(
        code::kAccessCode,
        [] { return std::vector<std::uint8_t>(kAccessText.begin(), kAccessText.end()); },
        request::kSingleAttempt);
}

bool CLPGDevice::eraseFlashBlock(std::uint32_t address) {
    return writeAcked(
        code::kEraseFlash, [address] { return addressPayload(address); }, request::kLoaderAttempts);
}

bool CLPGDevice::writeFlashFrame(std::uint32_t address, const FlashFrame& frame) {
    return writeAcked(
        code::kWriteFlash,
        [address, &frame] {
            std::vector<std::uint8_t> payload = addressPayload(address);
            payload.insert(payload.end(), frame.begin(), frame.end());
            return payload;
        },
        request::kLoaderAttempts);
}

namespace {

bool frameFits(std::uint32_t address, std::uint32_t flashEnd, std::size_t imageSize) {
    return address < flashEnd && std::size_t{address} * kImageBytesPerAddress < imageSize;
}

// How many frames programImage sends when none fails.
int plannedFrames(std::uint32_t flashEnd, std::size_t imageSize, int frameCount) {
    int frames = 0;
    for (std::uint32_t address = CLPGDevice::kProgramStartAddress;
         frames < frameCount && frameFits(address, flashEnd, imageSize);
         address += kAddressesPerFrame)
        ++frames;
    return frames;
}

} // namespace

bool CLPGDevice::programImage(std::uint32_t flashEnd, std::uint32_t eraseBlock,
                              std::span<const std::uint8_t> image, int frameCount,
                              const ProgramProgress& onFrame) {
    const int total = plannedFrames(flashEnd, image.size(), frameCount);
    std::uint32_t address = kProgramStartAddress;
    for (int sent = 0; sent < total; ++sent, address += kAddressesPerFrame) {
        if (eraseBlock != 0 && address % eraseBlock == 0 && !eraseFlashBlock(address))
            return false;
        if (!writeFlashFrame(address, frameAt(image, address)))
            return false;
        if (onFrame)
            onFrame(sent + 1, total);
    }
    return true;
}

bool CLPGDevice::leaveLoader() {
    // Any code-2 answer ends the attempts; only status 4 is success.
    SAnswer answer;
    return query(sub::kLeaveLoader, 0, request::kQueryCode, request::kLoaderAttempts, answer) &&
           answer.at(0) == request::kStatusAccepted;
}

bool CLPGDevice::resetAfterProgramming() {
    return action(sub::kReset, 0, EReply::Ack, request::kLoaderAttempts);
}

} // namespace torva
