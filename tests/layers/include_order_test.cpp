#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <optional>
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

// The folder of a quoted include ("folder/file.h"), if the line is one.
std::optional<std::string> includedFolder(const std::string& line) {
    std::size_t at = line.find_first_not_of(" \t");
    if (at == std::string::npos || line[at] != '#')
        return std::nullopt;
    at = line.find_first_not_of(" \t", at + 1);
    if (at == std::string::npos || line.compare(at, 7, "include") != 0)
        return std::nullopt;
    at = line.find_first_not_of(" \t", at + 7);
    if (at == std::string::npos || line[at] != '"')
        return std::nullopt;
    const std::size_t slash = line.find('/', at + 1);
    const std::size_t quote = line.find('"', at + 1);
    if (slash == std::string::npos || slash > quote || slash == at + 1)
        return std::nullopt;
    return line.substr(at + 1, slash - at - 1);
}

TEST(IncludeOrder, NoCoreFolderIncludesAFolderAboveIt) {
    const fs::path source = fs::path(TORVA_SOURCE_DIR) / "src";
    std::string violations;
    for (const auto& [folder, rank] : kCoreRank) {
        ASSERT_TRUE(fs::is_directory(source / folder)) << folder;
        for (const auto& entry : fs::recursive_directory_iterator(source / folder)) {
            if (!entry.is_regular_file())
                continue;
            std::ifstream file(entry.path());
            std::string line;
            for (int number = 1; std::getline(file, line); ++number) {
                const std::optional<std::string> included = includedFolder(line);
                if (included && rankOf(*included) > rank)
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
