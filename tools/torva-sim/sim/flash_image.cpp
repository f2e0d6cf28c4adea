#include "sim/flash_image.h"

#include <algorithm>

namespace torva::sim {

namespace {

void eraseWord(std::uint8_t* word) {
    word[0] = word[1] = word[2] = 0xFF;
    word[3] = 0;
}

} // namespace

CFlashImage::CFlashImage(std::uint32_t flashEnd, std::uint32_t eraseBlock)
    : m_flashEnd(flashEnd), m_eraseBlock(eraseBlock), m_bytes(2 * std::size_t{flashEnd}) {
    for (std::size_t at = 0; at + 4 <= m_bytes.size(); at += 4)
        eraseWord(&m_bytes[at]);
}

bool CFlashImage::erase(std::uint32_t address) {
    if (m_eraseBlock == 0 || address % m_eraseBlock != 0 || address >= m_flashEnd)
        return false;
    const std::size_t end = 2 * std::size_t{std::min(address + m_eraseBlock, m_flashEnd)};
    for (std::size_t at = 2 * std::size_t{address}; at + 4 <= end; at += 4)
        eraseWord(&m_bytes[at]);
    m_touched = true;
    return true;
}

bool CFlashImage::program(std::uint32_t address, const std::uint8_t* groups, std::size_t count) {
    const std::size_t words = count / 3;
    if (address % 2 != 0 || count % 3 != 0 || std::size_t{address} + 2 * words > m_flashEnd)
        return false;
    for (std::size_t w = 0; w < words; ++w) {
        std::uint8_t* word = &m_bytes[2 * std::size_t{address} + 4 * w];
        for (std::size_t i = 0; i < 3; ++i)
            word[i] &= groups[3 * w + i];
    }
    m_touched = true;
    return true;
}

} // namespace torva::sim
