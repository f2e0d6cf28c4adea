#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace torva::sim {

// The controller's program flash as the loader writes it. The bytes use the firmware file's image
// layout: address a sits at byte offset 2 × a, four bytes per program word of which the flash
// keeps the first three (the fourth always reads 0). Like real flash, programming can only clear
// bits, so a word written without an erase first comes out as the AND of old and new.
class CFlashImage {
public:
    CFlashImage(std::uint32_t flashEnd, std::uint32_t eraseBlock);

    // Erases the erase block starting at address; false when address is not the start of a block
    // inside the flash.
    bool erase(std::uint32_t address);
    // Programs count / 3 words from address on; false when address is odd, count is not a multiple
    // of 3, or the words would run past the end of the flash.
    bool program(std::uint32_t address, const std::uint8_t* groups, std::size_t count);

    const std::vector<std::uint8_t>& bytes() const { return m_bytes; }
    std::uint32_t flashEnd() const { return m_flashEnd; }
    std::uint32_t eraseBlock() const { return m_eraseBlock; }
    bool touched() const { return m_touched; }
    void resetTouched() { m_touched = false; }

private:
    std::uint32_t m_flashEnd;
    std::uint32_t m_eraseBlock;
    std::vector<std::uint8_t> m_bytes;
    bool m_touched = false;
};

} // namespace torva::sim
