#include "link/lpg_device.h"

#include <cstdlib>

namespace torva {

namespace {

std::atomic<CLPGDevice*> g_device{nullptr};

// rand() taken as 15 bits, as the controller has always seen it.
std::uint16_t randomWord() {
    return static_cast<std::uint16_t>(std::rand() & 0x7FFF);
}

} // namespace

CLPGDevice::CLPGDevice(std::unique_ptr<ISerialIo> io) : m_io(std::move(io)), m_random(randomWord) {
    if (!m_io) {
        auto port = std::make_unique<CSerialPort>();
        m_port = port.get();
        m_io = std::move(port);
    }
    g_device.store(this);
}

CLPGDevice::~CLPGDevice() {
    CLPGDevice* self = this;
    g_device.compare_exchange_strong(self, nullptr);
}

void CLPGDevice::setRandomSource(RandomSource source) {
    m_random = source ? std::move(source) : RandomSource(randomWord);
}

CLPGDevice* theDevice() {
    return g_device.load();
}

} // namespace torva
