// Reads every #include "..." under src/ and checks it against the folders' READMEs:
// each README has one line "May include: ..." naming the folders (in backticks) that
// the files of that folder may include, "every other folder", or "nothing else".

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <regex>
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

bool readRule(const fs::path& readme, Rule& rule) {
    std::ifstream in(readme);
    std::string line;
    while (std::getline(in, line)) {
        if (line.rfind("May include:", 0) != 0) continue;
        // The list may run on over the following lines, up to a blank one.
        std::string text = line;
        while (std::getline(in, line) && !line.empty()) text += " " + line;
        rule.everything = text.find("every other folder") != std::string::npos;
        const std::regex folder("`([a-z_/]+)/`");
        for (std::sregex_iterator it(text.begin(), text.end(), folder), end; it != end; ++it)
            rule.folders.insert((*it)[1].str());
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
    const std::regex include(R"(^\s*#\s*include\s+"([^"]+)\")");
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
            std::smatch match;
            if (!std::regex_search(line, match, include)) continue;
            const fs::path target(match[1].str());
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
