// Reads every #include "..." under src/ and checks it against the folders' READMEs:
// each README has one line "May include: ..." naming the folders (in backticks) that
// the files of that folder may include, "every other folder", or "nothing else".

#include <gtest/gtest.h>

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

// The folders that the files of `folder` may include, from its README: named in
// backticks with a trailing slash (`render/`) on the "May include:" line, which may run
// on over the following lines up to a blank one; "*" for "every other folder".
std::set<std::string> allowedFrom(const fs::path& folder) {
    std::stringstream readme;
    readme << "\n" << std::ifstream(folder / "README.md").rdbuf();
    const std::string text = readme.str();
    const std::size_t at = text.find("\nMay include:");
    if (at == std::string::npos) {
        ADD_FAILURE() << fs::relative(folder, kSrc).generic_string()
                      << "/README.md has no \"May include:\" line";
        return {};
    }
    const std::string list = text.substr(at, text.find("\n\n", at + 1) - at);
    std::set<std::string> allowed;
    if (list.find("every other folder") != std::string::npos) allowed.insert("*");
    for (std::size_t open = list.find('`'), close; open != std::string::npos;
         open = list.find('`', close + 1)) {
        if ((close = list.find('`', open + 1)) == std::string::npos) break;
        const std::string name = list.substr(open + 1, close - open - 1);
        if (name.size() > 1 && name.ends_with('/')) allowed.insert(name.substr(0, name.size() - 1));
    }
    return allowed;
}

TEST(IncludeLayers, EveryIncludeIsAnEdgeTheReadmesAllow) {
    std::map<std::string, std::set<std::string>> rules;  // by folder of src/
    int checked = 0;
    for (const auto& entry : fs::recursive_directory_iterator(kSrc)) {
        const fs::path& file = entry.path();
        if (!entry.is_regular_file() || (file.extension() != ".h" && file.extension() != ".cpp"))
            continue;
        const std::string from = fs::relative(file.parent_path(), kSrc).generic_string();
        if (!rules.contains(from)) rules[from] = allowedFrom(file.parent_path());
        const std::set<std::string>& allowed = rules[from];
        std::ifstream in(file);
        std::string line;
        for (int number = 1; std::getline(in, line); ++number) {
            // Only the project's own headers name a folder of src/.
            const std::string target = quotedInclude(line);
            if (target.empty() || !fs::exists(kSrc / target)) continue;
            const std::string to = fs::path(target).parent_path().generic_string();
            ++checked;
            EXPECT_TRUE(to == from || allowed.contains("*") || allowed.contains(to))
                << fs::relative(file, kSrc).generic_string() << ":" << number << " includes "
                << target << ", but src/" << from << "/README.md does not allow " << to << "/";
        }
    }
    EXPECT_GT(rules.size(), 8u);
    EXPECT_GT(checked, 100);
}

}  // namespace
