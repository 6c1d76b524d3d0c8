// Reads every #include "..." under src/ and checks it against the folders' READMEs:
// each README has one line "May include: ..." naming the folders (in backticks) that
// the files of that folder may include, "every other folder", or "nothing else".

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <set>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

const fs::path kSrc = fs::path(VOKA_SOURCE_DIR) / "src";

struct Rule {
    bool everything = false;
    std::set<std::string> folders;
};

// A folder's name relative to src/, like "config/screen".
std::string folderOf(const fs::path& file) {
    return fs::relative(file.parent_path(), kSrc).generic_string();
}

// The file of an #include "..." line, empty for any other line.
fs::path quotedInclude(const std::string& line) {
    std::size_t at = line.find_first_not_of(" \t");
    if (at == std::string::npos || line[at] != '#') return {};
    at = line.find_first_not_of(" \t", at + 1);
    if (at == std::string::npos || line.compare(at, 7, "include") != 0) return {};
    const std::size_t open = line.find_first_not_of(" \t", at + 7);
    if (open == std::string::npos || line[open] != '"') return {};
    const std::size_t close = line.find('"', open + 1);
    return close == std::string::npos ? fs::path()
                                      : fs::path(line.substr(open + 1, close - open - 1));
}

bool readRule(const fs::path& readme, Rule& rule) {
    std::ifstream in(readme);
    std::string line;
    while (std::getline(in, line)) {
        if (line.rfind("May include:", 0) != 0) continue;
        // The list may run on over the following lines, up to a blank one.
        std::string text = line;
        while (std::getline(in, line) && !line.empty()) text += " " + line;
        rule.everything = text.find("every other folder") != std::string::npos;
        // Folders are named in backticks with a trailing slash: `render/`.
        for (std::size_t open = text.find('`'); open != std::string::npos;) {
            const std::size_t close = text.find('`', open + 1);
            if (close == std::string::npos) break;
            const std::string name = text.substr(open + 1, close - open - 1);
            if (name.size() > 1 && name.back() == '/')
                rule.folders.insert(name.substr(0, name.size() - 1));
            open = text.find('`', close + 1);
        }
        return true;
    }
    return false;
}

std::map<std::string, Rule> readRules() {
    std::map<std::string, Rule> rules;
    for (const auto& entry : fs::recursive_directory_iterator(kSrc)) {
        if (!entry.is_directory()) continue;
        bool hasSources = false;
        for (const auto& file : fs::directory_iterator(entry.path())) {
            const auto ext = file.path().extension();
            hasSources = hasSources || ext == ".h" || ext == ".cpp";
        }
        if (!hasSources) continue;
        const std::string folder = fs::relative(entry.path(), kSrc).generic_string();
        Rule rule;
        EXPECT_TRUE(readRule(entry.path() / "README.md", rule))
            << "src/" << folder << "/README.md has no \"May include:\" line";
        rules[folder] = rule;
    }
    return rules;
}

TEST(IncludeLayers, EveryIncludeIsAnEdgeTheReadmesAllow) {
    const auto rules = readRules();
    ASSERT_GT(rules.size(), 8u);
    int checked = 0;
    for (const auto& entry : fs::recursive_directory_iterator(kSrc)) {
        const auto ext = entry.path().extension();
        if (!entry.is_regular_file() || (ext != ".h" && ext != ".cpp")) continue;
        const std::string from = folderOf(entry.path());
        const auto rule = rules.find(from);
        if (rule == rules.end()) continue;
        std::ifstream in(entry.path());
        std::string line;
        for (int number = 1; std::getline(in, line); ++number) {
            const fs::path target = quotedInclude(line);
            if (target.empty()) continue;
            // Only the project's own headers name a folder of src/.
            if (!fs::exists(kSrc / target)) continue;
            const std::string to = target.parent_path().generic_string();
            ++checked;
            if (to == from || rule->second.everything) continue;
            EXPECT_TRUE(rule->second.folders.count(to) > 0)
                << fs::relative(entry.path(), kSrc).generic_string() << ":" << number
                << " includes " << target.generic_string() << ", but src/" << from
                << "/README.md does not allow " << to << "/";
        }
    }
    EXPECT_GT(checked, 100);
}

// The allowed edges themselves must not form a cycle, or "one way" means nothing.
TEST(IncludeLayers, TheAllowedEdgesHaveNoCycle) {
    const auto rules = readRules();
    std::map<std::string, int> state;  // 0 unseen, 1 on the path, 2 done
    std::vector<std::string> path;
    std::function<bool(const std::string&)> visit = [&](const std::string& folder) {
        if (state[folder] == 1) return false;
        if (state[folder] == 2) return true;
        state[folder] = 1;
        path.push_back(folder);
        const auto rule = rules.find(folder);
        if (rule != rules.end() && !rule->second.everything) {
            for (const auto& to : rule->second.folders)
                if (!visit(to)) return false;
        }
        path.pop_back();
        state[folder] = 2;
        return true;
    };
    for (const auto& [folder, rule] : rules) {
        std::string cycle;
        if (!visit(folder)) {
            for (const auto& step : path) cycle += step + " -> ";
        }
        ASSERT_TRUE(cycle.empty()) << "cycle: " << cycle;
    }
}

}  // namespace
