// The help pages that ship in the program folder: every page reachable, every link resolving,
// nothing fetched from the network.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <regex>
#include <set>
#include <string>

namespace {

const std::filesystem::path kHelp =
    std::filesystem::path(QV_TEST_DATA_DIR).parent_path().parent_path() / "res" / "help";

std::string Slurp(const std::filesystem::path& p) {
    std::ifstream in(p, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

std::set<std::string> Ids(const std::string& html) {
    std::set<std::string> ids;
    const std::regex id(R"re(\bid="([^"]+)")re");
    for (auto it = std::sregex_iterator(html.begin(), html.end(), id); it != std::sregex_iterator(); ++it) {
        ids.insert((*it)[1]);
    }
    return ids;
}

std::vector<std::filesystem::path> Pages() {
    std::vector<std::filesystem::path> pages;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(kHelp)) {
        if (entry.path().extension() == ".html") pages.push_back(entry.path());
    }
    return pages;
}

TEST(HelpPages, BothLanguagesHaveTheirPage) {
    EXPECT_TRUE(std::filesystem::is_regular_file(kHelp / "index.html"));
    EXPECT_TRUE(std::filesystem::is_regular_file(kHelp / "zh" / "index.html"));
    EXPECT_NE(Slurp(kHelp / "index.html").find("lang=\"en\""), std::string::npos);
    EXPECT_NE(Slurp(kHelp / "zh" / "index.html").find("lang=\"zh-CN\""), std::string::npos);
}

TEST(HelpPages, EveryLinkResolvesAndNothingComesFromTheNetwork) {
    const std::regex link(R"re(\b(?:href|src)="([^"]*)")re");
    int links = 0;
    for (const auto& page : Pages()) {
        const std::string html = Slurp(page);
        SCOPED_TRACE(page.string());
        EXPECT_EQ(html.find("<script"), std::string::npos) << "no scripts";
        for (auto it = std::sregex_iterator(html.begin(), html.end(), link); it != std::sregex_iterator(); ++it) {
            const std::string target = (*it)[1];
            SCOPED_TRACE(target);
            ++links;
            ASSERT_FALSE(target.empty());
            EXPECT_EQ(target.find("://"), std::string::npos) << "the pages work offline";
            const auto hash = target.find('#');
            const std::string file = target.substr(0, hash);
            const std::string anchor = hash == std::string::npos ? "" : target.substr(hash + 1);
            const auto resolved = file.empty() ? page : (page.parent_path() / file).lexically_normal();
            ASSERT_TRUE(std::filesystem::is_regular_file(resolved)) << resolved;
            EXPECT_NE(resolved.string().rfind(kHelp.string(), 0), std::string::npos) << "stays inside Help/";
            if (!anchor.empty()) {
                EXPECT_EQ(Ids(Slurp(resolved)).count(anchor), 1u) << "no anchor " << anchor;
            }
        }
    }
    EXPECT_GT(links, 40);
}

TEST(HelpPages, TheLanguagesCoverTheSameSections) {
    EXPECT_EQ(Ids(Slurp(kHelp / "index.html")), Ids(Slurp(kHelp / "zh" / "index.html")));
    EXPECT_GE(Ids(Slurp(kHelp / "index.html")).size(), 14u);
}

}  // namespace
