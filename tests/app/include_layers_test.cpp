// Reads every #include "..." under src/ and checks it against the folders' READMEs:
// each README has one line "May include: ..." naming the folders (in backticks) that
// the files of that folder may include, "every other folder", or "nothing else".

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <map>
#include <regex>
#include <set>
#include <sstream>
#include <string>

namespace fs = std::filesystem;

namespace {

const fs::path kSrc = fs::path(VOKA_SOURCE_DIR) / "src";

struct Rule {
    bool everything = false;
    std::set<std::string> folders;
};

bool isSource(const fs::path& file) {
    return file.extension() == ".h" || file.extension() == ".cpp";
}

// The rule of every folder of src/ that holds sources, from its README. The list may run
// on over the following lines, up to a blank one; folders are named in backticks with a
// trailing slash: `render/`.
std::map<std::string, Rule> readRules() {
    std::map<std::string, Rule> rules;
    for (const auto& entry : fs::recursive_directory_iterator(kSrc)) {
        if (!entry.is_directory() ||
            std::none_of(fs::directory_iterator(entry.path()), fs::directory_iterator(),
                         [](const fs::directory_entry& file) { return isSource(file.path()); }))
            continue;
        const std::string folder = fs::relative(entry.path(), kSrc).generic_string();
        std::stringstream readme;
        readme << std::ifstream(entry.path() / "README.md").rdbuf();
        std::smatch found;
        const std::string text = readme.str();
        if (!std::regex_search(text, found, std::regex("\nMay include:((.+\n)*)"))) {
            ADD_FAILURE() << "src/" << folder << "/README.md has no \"May include:\" line";
            continue;
        }
        Rule& rule = rules[folder];
        const std::string list = found[1];
        rule.everything = list.find("every other folder") != std::string::npos;
        const std::regex name("`([^`]+)/`");
        for (std::sregex_iterator i(list.begin(), list.end(), name), end; i != end; ++i)
            rule.folders.insert((*i)[1]);
    }
    return rules;
}

TEST(IncludeLayers, EveryIncludeIsAnEdgeTheReadmesAllow) {
    const auto rules = readRules();
    ASSERT_GT(rules.size(), 8u);
    const std::regex include(R"(^\s*#\s*include\s*"([^"]+)\")");
    int checked = 0;
    for (const auto& entry : fs::recursive_directory_iterator(kSrc)) {
        const std::string from = fs::relative(entry.path().parent_path(), kSrc).generic_string();
        const auto rule = rules.find(from);
        if (!entry.is_regular_file() || !isSource(entry.path()) || rule == rules.end()) continue;
        std::ifstream in(entry.path());
        std::string line;
        for (int number = 1; std::getline(in, line); ++number) {
            std::smatch found;
            // Only the project's own headers name a folder of src/.
            if (!std::regex_search(line, found, include) || !fs::exists(kSrc / found.str(1)))
                continue;
            const std::string to = fs::path(found.str(1)).parent_path().generic_string();
            ++checked;
            EXPECT_TRUE(to == from || rule->second.everything || rule->second.folders.count(to))
                << fs::relative(entry.path(), kSrc).generic_string() << ":" << number
                << " includes " << found.str(1) << ", but src/" << from
                << "/README.md does not allow " << to << "/";
        }
    }
    EXPECT_GT(checked, 100);
}

}  // namespace
