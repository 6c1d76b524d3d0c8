// Reads every #include "..." under src/ and checks it against the folders' READMEs:
// each README has one line "May include: ..." naming the folders (in backticks) that
// the files of that folder may include, "every other folder", or "nothing else".

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <map>
#include <set>
#include <sstream>
#include <string>

namespace fs = std::filesystem;

namespace {

// The file of an #include "..." line, empty for any other line.
std::string quotedInclude(std::string line) {
    std::erase_if(line, [](char c) { return c == ' ' || c == '\t'; });
    const std::size_t close = line.find('"', 9);
    return line.starts_with("#include\"") && close != std::string::npos ? line.substr(9, close - 9)
                                                                        : "";
}

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
        readme << "\n" << std::ifstream(entry.path() / "README.md").rdbuf();
        const std::string text = readme.str();
        const std::size_t at = text.find("\nMay include:");
        if (at == std::string::npos) {
            ADD_FAILURE() << "src/" << folder << "/README.md has no \"May include:\" line";
            continue;
        }
        const std::string list = text.substr(at, text.find("\n\n", at + 1) - at);
        Rule& rule = rules[folder];
        rule.everything = list.find("every other folder") != std::string::npos;
        for (std::size_t open = list.find('`'), close; open != std::string::npos;
             open = list.find('`', close + 1)) {
            if ((close = list.find('`', open + 1)) == std::string::npos) break;
            const std::string name = list.substr(open + 1, close - open - 1);
            if (name.size() > 1 && name.ends_with('/'))
                rule.folders.insert(name.substr(0, name.size() - 1));
        }
    }
    return rules;
}

TEST(IncludeLayers, EveryIncludeIsAnEdgeTheReadmesAllow) {
    const auto rules = readRules();
    ASSERT_GT(rules.size(), 8u);
    int checked = 0;
    for (const auto& entry : fs::recursive_directory_iterator(kSrc)) {
        const std::string from = fs::relative(entry.path().parent_path(), kSrc).generic_string();
        const auto rule = rules.find(from);
        if (!entry.is_regular_file() || !isSource(entry.path()) || rule == rules.end()) continue;
        std::ifstream in(entry.path());
        std::string line;
        for (int number = 1; std::getline(in, line); ++number) {
            // Only the project's own headers name a folder of src/.
            const std::string target = quotedInclude(line);
            if (target.empty() || !fs::exists(kSrc / target)) continue;
            const std::string to = fs::path(target).parent_path().generic_string();
            ++checked;
            EXPECT_TRUE(to == from || rule->second.everything || rule->second.folders.count(to))
                << fs::relative(entry.path(), kSrc).generic_string() << ":" << number
                << " includes " << target << ", but src/" << from << "/README.md does not allow "
                << to << "/";
        }
    }
    EXPECT_GT(checked, 100);
}

}  // namespace
