// Replacing a file follows symbolic links: the settings file may be a link into a
// dotfiles folder, and a save must not turn it into a plain file.
#include "platform/replace_file.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <utility>
#include <vector>

#include "support/temp_dir.h"

namespace {

TEST(ReplaceFile, WritesTheFileThatTheLinksLeadTo) {
    const struct {
        std::vector<std::pair<const char*, const char*>> links;  // link, what it points at
        const char* written;  // the file that gets the bytes; nullptr when the save fails
    } cases[] = {{{}, "zrv.cfg"},
                 {{{"zrv.cfg", "sub/real.cfg"}}, "sub/real.cfg"},
                 // A relative target counts from the folder of its link.
                 {{{"zrv.cfg", "sub/link"}, {"sub/link", "real.cfg"}}, "sub/real.cfg"},
                 {{{"zrv.cfg", "sub/new.cfg"}}, "sub/new.cfg"},
                 {{{"zrv.cfg", "zrv.cfg"}}, nullptr}};
    for (const auto& c : cases) {
        testing_support::TempDir dir;
        ASSERT_EQ(mkdir(dir.file("sub").c_str(), 0700), 0);
        dir.write("sub/real.cfg", "old");
        ASSERT_EQ(chmod(dir.file("sub/real.cfg").c_str(), 0600), 0);
        for (const auto& [link, target] : c.links)
            ASSERT_EQ(symlink(target, dir.file(link).c_str()), 0);
        EXPECT_EQ(platform::replaceFile(dir.file("zrv.cfg"), "new"), c.written != nullptr);
        EXPECT_EQ(dir.read(c.written ? c.written : "sub/real.cfg"), c.written ? "new" : "old");
        // The link stays a link, and the file it leads to keeps its permissions.
        struct stat info {};
        EXPECT_EQ(lstat(dir.file("zrv.cfg").c_str(), &info) == 0 && S_ISLNK(info.st_mode),
                  !c.links.empty());
        ASSERT_EQ(stat(dir.file("sub/real.cfg").c_str(), &info), 0);
        EXPECT_EQ(info.st_mode & 0777, 0600u) << c.links.size();
    }
}

}  // namespace
