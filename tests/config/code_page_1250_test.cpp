#include "config/code_page_1250.h"

#include <gtest/gtest.h>

using namespace torva;

TEST(CodePage1250, ConvertsPolishLettersAndRoundTripsEveryByte) {
    EXPECT_EQ(cp1250ToUtf8("\xA3\xF3\x64\x9F \xB9\x9C\x80"), "Łódź ąś€");

    std::string all;
    for (int b = 1; b < 256; ++b)
        all += static_cast<char>(b);
    const auto utf8 = cp1250ToUtf8(all);
    EXPECT_EQ(utf8ToCp1250(utf8), all);
}

TEST(CodePage1250, RefusesWhatItCannotStore) {
    EXPECT_EQ(utf8ToCp1250("Ж"), std::nullopt);
    EXPECT_EQ(utf8ToCp1250("\xC5"), std::nullopt);     // cut short
    EXPECT_EQ(utf8ToCp1250("\xFF\x41"), std::nullopt); // not a lead byte
    EXPECT_EQ(utf8ToCp1250("\xC1\x81"), std::nullopt); // an overlong "A"
}
