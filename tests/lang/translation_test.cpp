#include "lang/cng_flag.h"
#include "lang/lang_file_writer.h"
#include "lang/languages.h"
#include "lang/translation.h"

#include <gtest/gtest.h>

#include <unistd.h>

#include <atomic>
#include <filesystem>
#include <thread>
#include <vector>

using namespace torva;
namespace fs = std::filesystem;

namespace {

// Language files in a temporary folder; the process-wide language state is reset around each
// test so tests do not leak languages into one another.
class TranslationTest : public ::testing::Test {
protected:
    void SetUp() override {
        m_folder = fs::temp_directory_path() /
                   ("torva-lang-" + std::to_string(::getpid()) + "-" +
                    ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::create_directories(m_folder);
        reset();
    }
    void TearDown() override {
        reset();
        fs::remove_all(m_folder);
    }
    void reset() {
        selectLanguage(kPolishLanguage);
        setCngInstallation(false);
        openLanguageFiles((m_folder / "none").string());
    }
    void write(const char* name, std::string_view utf8) {
        writeLanguageFile((m_folder / name).string(), utf8);
    }
    void open() { openLanguageFiles(m_folder.string()); }

    fs::path m_folder;
};

} // namespace

TEST_F(TranslationTest, PolishIsTheSourceTextYetStillShowsCngOnCngInstallations) {
    write("ENGLISH.txt", "Gaz LPG, LPG\t\tGas LPG\nLinia\\n\t\tLine\n");
    open();
    EXPECT_EQ(translate("Gaz LPG, LPG"), "Gaz LPG, LPG");
    EXPECT_EQ(translate("Linia\\n"), "Linia\\n"); // not even unescaped
    setCngInstallation(true);
    EXPECT_EQ(translate("Gaz LPG, LPG"), "Gaz CNG, LPG");
}

TEST_F(TranslationTest, TranslatesFromTheCurrentLanguagesFile) {
    write("ENGLISH.txt", "Ciśnienie LPG i LPG\t\tLPG pressure and LPG\n"
                         "Dwie\t\tTwo\\nlines\n");
    write("GERMAN.txt", "Ciśnienie LPG i LPG\t\tLPG-Druck\n");
    open();
    selectLanguage(1);
    EXPECT_EQ(translate("Ciśnienie LPG i LPG"), "LPG pressure and LPG");
    EXPECT_EQ(translate("Dwie"), "Two\nlines");
    EXPECT_EQ(translate("Brak\\tw pliku"), "Brak\tw pliku"); // not found: unescaped source
    setCngInstallation(true);
    EXPECT_EQ(translate("Ciśnienie LPG i LPG"), "CNG pressure and LPG");
    selectLanguage(4);
    EXPECT_EQ(translate("Ciśnienie LPG i LPG"), "CNG-Druck");
    EXPECT_EQ(translate("Dwie"), "Dwie"); // German has no entry; no mixing with English
}

TEST_F(TranslationTest, IndexTenAndIndexesAbove19UseTheEnglishFile) {
    write("ENGLISH.txt", "Tak\t\tYes\n");
    write("SLOVENIAN.txt", "Tak\t\tDa\n");
    open();
    for (int index : {10, 20, 99}) {
        selectLanguage(index);
        EXPECT_EQ(translate("Tak"), "Yes") << index;
        EXPECT_TRUE(isLanguageAvailable(index)) << index;
    }
    selectLanguage(19);
    EXPECT_EQ(translate("Tak"), "Da");
    EXPECT_EQ(currentLanguage(), 19);
}

TEST_F(TranslationTest, LanguageWithoutFileFallsBackToEnglishElsePolish) {
    write("ENGLISH.txt", "Tak\t\tYes\n");
    open();
    for (int index : {6, 9, 2}) { // Turkish, Portuguese: no file ever; Russian: file missing
        selectLanguage(index);
        EXPECT_EQ(translate("Tak"), "Yes") << index;
        EXPECT_FALSE(isLanguageAvailable(index)) << index;
        EXPECT_EQ(lookup(index, "Tak"), "Yes") << index;
    }
    EXPECT_TRUE(isLanguageAvailable(0));
    EXPECT_TRUE(isLanguageAvailable(1));

    openLanguageFiles((m_folder / "none").string());
    EXPECT_EQ(translate("Tak\\n"), "Tak\n");
    EXPECT_FALSE(isLanguageAvailable(1));
}

TEST_F(TranslationTest, EveryTableFileIsOpenedIntoItsOwnSlot) {
    for (const SLanguage& language : languageFiles())
        write(language.fileName, std::string("Język\t\t") + language.fileName + "\n");
    open();
    for (const SLanguage& language : languageFiles()) {
        EXPECT_TRUE(isLanguageAvailable(language.index));
        EXPECT_EQ(lookup(language.index, "Język"), language.fileName);
    }
}

TEST_F(TranslationTest, SelectingANewLanguageNotifiesSubscribersInOrder) {
    std::vector<std::string> calls;
    auto first = subscribeLanguageChange(
        [&](int index) { calls.push_back("decoders " + std::to_string(index)); });
    {
        auto second = subscribeLanguageChange(
            [&](int index) { calls.push_back("windows " + std::to_string(index)); });
        selectLanguage(3);
        selectLanguage(3);  // no change, no notice
        selectLanguage(-1); // not a language
    }
    selectLanguage(0);
    EXPECT_EQ(calls, (std::vector<std::string>{"decoders 3", "windows 3", "decoders 0"}));
    EXPECT_EQ(currentLanguage(), 0);
}

TEST_F(TranslationTest, HandlerMayUnsubscribeItselfAndOthersWhileNotified) {
    int laterCalls = 0;
    CLanguageSubscription later;
    CLanguageSubscription self = subscribeLanguageChange([&](int) {
        self = CLanguageSubscription{};
        later = CLanguageSubscription{};
    });
    later = subscribeLanguageChange([&](int) { ++laterCalls; });
    selectLanguage(1);
    selectLanguage(2);
    EXPECT_EQ(laterCalls, 0);
}

TEST_F(TranslationTest, TranslatesSafelyWhileFilesAreReopened) {
    write("ENGLISH.txt", "Tak\t\tYes\n");
    open();
    selectLanguage(1);
    std::atomic<bool> stop{false};
    std::atomic<int> wrong{0};
    std::thread poller([&] {
        while (!stop)
            wrong += translate("Tak") != "Yes";
    });
    for (int i = 0; i < 50; ++i)
        open();
    stop = true;
    poller.join();
    EXPECT_EQ(wrong, 0);
}
