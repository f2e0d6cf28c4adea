#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <regex>
#include <string>

namespace torva {
namespace {

namespace fs = std::filesystem;

// The core folders from the bottom up; a folder may include its own headers and those of the
// folders below it. The user interface and the tools sit above every core folder.
const std::map<std::string, int> kCoreRank = {
    {"platform", 0}, {"lang", 1}, {"config", 2},   {"link", 3},
    {"maps", 4},     {"diag", 5}, {"document", 6},
};
const std::map<std::string, int> kAboveCore = {{"ui", 7}, {"tools", 7}};

int rankOf(const std::string& folder) {
    if (const auto core = kCoreRank.find(folder); core != kCoreRank.end())
        return core->second;
    if (const auto top = kAboveCore.find(folder); top != kAboveCore.end())
        return top->second;
    return -1;
}

TEST(IncludeOrder, NoCoreFolderIncludesAFolderAboveIt) {
    const fs::path source = fs::path(TORVA_SOURCE_DIR) / "src";
    const std::regex include(R"re(^\s*#\s*include\s*"([A-Za-z0-9_]+)/)re");
    std::string violations;
    for (const auto& [folder, rank] : kCoreRank) {
        ASSERT_TRUE(fs::is_directory(source / folder)) << folder;
        for (const auto& entry : fs::recursive_directory_iterator(source / folder)) {
            if (!entry.is_regular_file())
                continue;
            std::ifstream file(entry.path());
            std::string line;
            for (int number = 1; std::getline(file, line); ++number) {
                std::smatch match;
                if (std::regex_search(line, match, include) && rankOf(match[1]) > rank)
                    violations += fs::relative(entry.path(), source).string() + ":" +
                                  std::to_string(number) + ": " + line + "\n";
            }
        }
    }
    EXPECT_TRUE(violations.empty()) << "core folders including a folder above them:\n"
                                    << violations;
}

// A new folder must take its place in the order, or its includes go unchecked.
TEST(IncludeOrder, EverySourceFolderHasAPlaceInTheOrder) {
    for (const auto& entry : fs::directory_iterator(fs::path(TORVA_SOURCE_DIR) / "src")) {
        if (entry.is_directory()) {
            EXPECT_GE(rankOf(entry.path().filename().string()), 0) << entry.path();
        }
    }
}

} // namespace
} // namespace torva
