#include "sim/sim_cipher.h"

#include "link/cipher.h"
#include "sim/controller_model.h"

#include <gtest/gtest.h>

using namespace torva;
using namespace torva::sim;

TEST(SimCipher, EncipherIsTheInverseOfDecipher) {
    const CCipher cipher;
    const std::string texts[] = {"DI001", "0123456789ABCDEF", std::string(16, '\0'),
                                 std::string(16, '\xFF')};
    for (std::string text : texts) {
        text.resize(16, '\0');
        const std::string enciphered = encipher(kIdentifierKey, text);
        ASSERT_EQ(enciphered.size(), 16u);
        EXPECT_NE(enciphered, text);
        EXPECT_EQ(cipher.decipher(kIdentifierKey, enciphered), text);
        EXPECT_EQ(encipher(kIdentifierKey, cipher.decipher(kIdentifierKey, text)), text);
    }
    EXPECT_EQ(encipher(kIdentifierKey, "short"), "");
}

TEST(SimCipher, DeviceInformationCarriesTheEncipheredIdentifier) {
    ControllerSettings settings;
    settings.identity.identifier = "KX4711";
    settings.identity.enciphered = true;
    CControllerModel controller(settings);
    const auto answer = controller.handle({0x02, 0, {13, 0, 0, 0, 0, 0}}, 0);
    ASSERT_TRUE(answer);
    ASSERT_EQ(answer->payload.size(), 30u);
    const std::string serial(answer->payload.begin() + 12, answer->payload.begin() + 28);
    std::string expected = "KX4711";
    expected.resize(16, '\0');
    EXPECT_NE(serial, expected);
    EXPECT_EQ(CCipher().decipher(kIdentifierKey, serial), expected);
}
