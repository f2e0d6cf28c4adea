// "Dokumentacja": the guide of this build in the user's language, or a plain word why not.
#include "lang/languages.h"
#include "lang/user_guide.h"
#include "support/recording_ui.h"
#include "support/temp_folder.h"
#include "ui/shell/user_guide_opener.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

namespace torva {
namespace {

class Documentation : public ::testing::Test {
protected:
    bool open(const std::string& page) {
        m_opened.push_back(page);
        return m_browserAnswers;
    }
    std::function<bool(const std::string&)> opener() {
        return [this](const std::string& page) { return open(page); };
    }

    test::CRecordingUi m_ui;
    std::vector<std::string> m_opened;
    bool m_browserAnswers = true;
};

TEST_F(Documentation, OpensTheBuiltGuideInTheUsersLanguage) {
    const std::string folder = userGuideFolder();
    if (!std::filesystem::exists(folder + "guide-en.html"))
        GTEST_SKIP() << "this build has no user guide (cmark missing)";
    constexpr int kRussian = 2;
    openUserGuide(folder, kPolishLanguage, opener());
    openUserGuide(folder, kEnglishLanguage, opener());
    openUserGuide(folder, kRussian, opener());
    EXPECT_EQ(m_opened,
              (std::vector<std::string>{folder + "guide-pl.html", folder + "guide-en.html",
                                        folder + "guide-en.html"}));
    EXPECT_TRUE(m_ui.messages().empty());
}

TEST_F(Documentation, SaysPlainlyWhenTheGuideIsMissingOrNothingOpensIt) {
    test::CTempFolder empty;
    openUserGuide(empty.path(), kPolishLanguage, opener());
    EXPECT_TRUE(m_opened.empty());
    ASSERT_EQ(m_ui.messages().size(), 1u);
    EXPECT_EQ(m_ui.messages()[0].text,
              "Podręcznik użytkownika nie jest zainstalowany.\n" + empty.path());

    std::ofstream(empty.file("guide-en.html")) << "<html></html>";
    m_browserAnswers = false;
    openUserGuide(empty.path(), kPolishLanguage, opener());
    ASSERT_EQ(m_ui.messages().size(), 2u);
    EXPECT_EQ(m_ui.messages()[1].text,
              "Nie można otworzyć podręcznika w przeglądarce:\n" + empty.file("guide-en.html"));
}

} // namespace
} // namespace torva
