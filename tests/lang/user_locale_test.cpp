#include "lang/user_locale.h"

#include <gtest/gtest.h>

#include <map>

using namespace torva;

namespace {

EnvironmentReader environment(std::map<std::string, std::string> values) {
    return [values = std::move(values)](const char* name) -> std::optional<std::string> {
        const auto it = values.find(name);
        if (it == values.end())
            return std::nullopt;
        return it->second;
    };
}

} // namespace

TEST(UserLocale, FirstSetVariableWinsInGettextOrder) {
    EXPECT_EQ(userLocale(environment({})), "");
    EXPECT_EQ(userLocale(environment({{"LANG", "de_DE.UTF-8"}})), "de_DE.UTF-8");
    EXPECT_EQ(userLocale(environment({{"LANG", "de_DE"}, {"LC_MESSAGES", "ru_RU"}})), "ru_RU");
    EXPECT_EQ(userLocale(environment({{"LC_MESSAGES", "ru_RU"}, {"LC_ALL", "it_IT"}})), "it_IT");
    EXPECT_EQ(userLocale(environment({{"LC_ALL", "it_IT"}, {"LANGUAGE", ":pt_BR:pl"}})), "pt_BR");
    EXPECT_EQ(userLocale(environment({{"LANGUAGE", ""}, {"LC_ALL", ""}, {"LANG", "el_GR"}})),
              "el_GR");
}

TEST(UserLocale, LocalesMapOntoWindowsLanguageIdentifiers) {
    const std::map<std::string, std::uint16_t> expected{
        {"pl_PL.UTF-8", 0x0415},
        {"pl", 0x0415},
        {"ru_UA.UTF-8", 0x0419},
        {"it_IT", 0x0410},
        {"de_AT.UTF-8", 0x0407},
        {"th_TH", 0x041E},
        {"tr_TR.UTF-8", 0x041F},
        {"el_GR", 0x0408},
        {"es_ES.UTF-8", 0x0C0A},
        {"es_MX", 0x080A},
        {"es_PR", 0x500A},
        {"es_US", 0x540A},
        {"es", 0x0C0A},
        {"pt_BR.UTF-8", 0x0416},
        {"pt-PT", 0x0816},
        {"zh_TW.UTF-8", 0x0404},
        {"zh_CN", 0x0804},
        {"zh_HK", 0x0C04},
        {"zh_SG", 0x1004},
        {"zh_MO", 0x1404},
        {"zh", 0x0804},
        {"sr_RS@latin", 0x0409},
        {"fr_FR", 0x0409},
        {"C", 0x0409},
        {"", 0x0409},
        {"PL_pl", 0x0415},
    };
    for (const auto& [locale, id] : expected)
        EXPECT_EQ(windowsLanguageId(locale), id) << locale;
}

TEST(UserLocale, WindowsIdentifiersChooseTheInitialLanguage) {
    const std::map<std::uint16_t, int> expected{
        {0x0415, 0},  {0x0419, 2},  {0x0410, 3},  {0x0407, 4},  {0x041E, 5},  {0x041F, 6},
        {0x0408, 11}, {0x040A, 7},  {0x080A, 7},  {0x500A, 7},  {0x0416, 9},  {0x0816, 9},
        {0x0404, 10}, {0x0804, 10}, {0x0C04, 10}, {0x1004, 10}, {0x1404, 10}, {0x0409, 1},
        {0x040C, 1},  {0x0807, 1},  {0x0000, 1},
    };
    for (const auto& [id, index] : expected)
        EXPECT_EQ(languageIndexForWindowsId(id), index) << std::hex << id;
}

TEST(UserLocale, InitialLanguageFollowsTheEnvironment) {
    EXPECT_EQ(initialLanguageIndex(environment({{"LANG", "pl_PL.UTF-8"}})), 0);
    EXPECT_EQ(initialLanguageIndex(environment({{"LANG", "es_AR.UTF-8"}})), 7);
    EXPECT_EQ(initialLanguageIndex(environment({{"LC_ALL", "pt_PT"}})), 9);
    EXPECT_EQ(initialLanguageIndex(environment({{"LANGUAGE", "zh_TW"}, {"LANG", "pl_PL"}})), 10);
    EXPECT_EQ(initialLanguageIndex(environment({})), 1);
}
