// The user guide "Dokumentacja" opens: every section a fitter looks for is there in every
// language, and every link and picture in it leads somewhere.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>
#include <string>

namespace {

namespace fs = std::filesystem;

const fs::path kGuide = TORVA_GUIDE_DIR;

std::string readFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

// Every text in text that follows start, up to end.
std::set<std::string> matches(const std::string& text, const std::string& start, char end) {
    std::set<std::string> found;
    for (std::size_t at = text.find(start); at != std::string::npos;
         at = text.find(start, at + 1)) {
        const std::size_t from = at + start.size();
        const std::size_t to = text.find(end, from);
        if (to != std::string::npos)
            found.insert(text.substr(from, to - from));
    }
    return found;
}

class Guide : public ::testing::TestWithParam<const char*> {
protected:
    fs::path page() const { return kGuide / (std::string("guide-") + GetParam() + ".html"); }
};

TEST_P(Guide, HasEverySectionAndEveryLinkLeadsSomewhere) {
    ASSERT_TRUE(fs::exists(page())) << page();
    const std::string html = readFile(page());
    const std::set<std::string> anchors = matches(html, "id=\"", '"');
    for (const char* section :
         {"first-start", "port-permissions", "main-window", "readings", "settings", "calibration",
          "live-trail", "coverage", "map-editing", "axes", "protection", "recordings", "backups",
          "offline", "firmware", "troubleshooting", "torvactl"})
        EXPECT_TRUE(anchors.count(section)) << "no section " << section << " in " << page();
    for (const std::string& target : matches(html, "href=\"#", '"'))
        EXPECT_TRUE(anchors.count(target)) << "a link to #" << target << " leads nowhere";
    EXPECT_TRUE(fs::exists(kGuide / "guide.css"));
}

TEST_P(Guide, EveryPictureItShowsExists) {
    if (!TORVA_GUIDE_PICTURES)
        GTEST_SKIP() << "this build does not take the guide's pictures";
    const std::set<std::string> pictures = matches(readFile(page()), "<img src=\"", '"');
    EXPECT_GE(pictures.size(), 8u);
    for (const std::string& picture : pictures) {
        EXPECT_EQ(picture.find(".."), std::string::npos) << picture;
        EXPECT_GT(fs::exists(kGuide / picture) ? fs::file_size(kGuide / picture) : 0u, 1000u)
            << picture << " is missing or empty";
    }
}

INSTANTIATE_TEST_SUITE_P(Languages, Guide, ::testing::Values("pl", "en"));

TEST(Readme, EveryPictureItShowsIsInTheTree) {
    const fs::path source = TORVA_SOURCE_DIR;
    const std::set<std::string> pictures = matches(readFile(source / "README.md"), "](docs/", ')');
    EXPECT_EQ(pictures.size(), 3u);
    for (const std::string& picture : pictures)
        EXPECT_TRUE(fs::exists(source / "docs" / picture)) << picture;
}

} // namespace
