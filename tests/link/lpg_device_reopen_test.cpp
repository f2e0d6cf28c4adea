#include "link/lpg_device.h"
#include "support/pseudo_terminal.h"
#include "support/scripted_serial.h"

#include <gtest/gtest.h>

#include <memory>

using namespace torva;

TEST(LPGDeviceReOpen, OpensTheSameDeviceAgainWithTheControllerSettings) {
    test::CPseudoTerminal terminal;
    CLPGDevice device;
    ASSERT_NE(device.serialPort(), nullptr);
    device.serialPort()->open(terminal.slavePath());
    ASSERT_TRUE(device.reOpen());
    EXPECT_TRUE(device.serialPort()->isOpen());
    EXPECT_EQ(device.serialPort()->devicePath(), terminal.slavePath());

    const std::uint8_t byte = 0x5A;
    device.serialIo().write(&byte, 1);
    EXPECT_EQ(terminal.receive(1, 1000), std::vector<std::uint8_t>{0x5A});
}

// The system gives a freed pseudo-terminal number to the next terminal made, often another
// program's: opening the old name again would take over a line that is not this controller's.
TEST(LPGDeviceReOpen, LeavesTheNumberOfAHungUpPseudoTerminalToItsNextOwner) {
    auto gone = std::make_unique<test::CPseudoTerminal>();
    CLPGDevice device;
    device.serialPort()->open(gone->slavePath());
    gone->closeMaster();
    EXPECT_FALSE(device.reOpen());

    test::CPseudoTerminal next;
    EXPECT_FALSE(device.reOpen());
    CSerialPort nextOwner;
    EXPECT_NO_THROW(nextOwner.open(next.slavePath()));
}

TEST(LPGDeviceReOpen, FailsWithoutAPortToOpen) {
    CLPGDevice neverOpened;
    EXPECT_FALSE(neverOpened.reOpen());
    CLPGDevice scripted(std::make_unique<test::CScriptedSerial>());
    EXPECT_FALSE(scripted.reOpen());
}
