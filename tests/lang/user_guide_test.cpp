// Which page of the user guide "Dokumentacja" opens.
#include "lang/languages.h"
#include "lang/user_guide.h"
#include "support/temp_folder.h"

#include <gtest/gtest.h>

#include <fstream>

namespace torva {
namespace {

TEST(UserGuidePage, TheUsersLanguageElseEnglishElseNothing) {
    test::CTempFolder folder;
    EXPECT_EQ(userGuidePage(folder.path(), kPolishLanguage), "") << "not installed";

    std::ofstream(folder.file("guide-en.html")) << "<html></html>";
    std::ofstream(folder.file("guide-pl.html")) << "<html></html>";
    EXPECT_EQ(userGuidePage(folder.path(), kPolishLanguage), folder.file("guide-pl.html"));
    EXPECT_EQ(userGuidePage(folder.path() + "/", kEnglishLanguage), folder.file("guide-en.html"));
    constexpr int kGerman = 4;
    EXPECT_EQ(userGuidePage(folder.path(), kGerman), folder.file("guide-en.html"))
        << "a language without a guide of its own reads the English one";
    std::ofstream(folder.file("guide-de.html")) << "<html></html>";
    EXPECT_EQ(userGuidePage(folder.path(), kGerman), folder.file("guide-de.html"));
}

} // namespace
} // namespace torva
