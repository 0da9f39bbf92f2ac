#include "core/WriteTarget.h"
#include "core/AtomicFile.h"
#include "core/FileError.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <iterator>

#include <sys/stat.h>
#include <unistd.h>

namespace qrb {
namespace {

namespace fs = std::filesystem;

constexpr uid_t kMe = 1000;
constexpr uid_t kOther = 2000;
constexpr uid_t kOwner = 3000;

// The rule alone: in a folder that is sticky and writable by everyone, only the writer's
// own links and the folder owner's are followed; elsewhere every link is.
TEST(WriteTarget, FollowsALinkInASharedFolderOnlyFromTheWriterOrTheFolderOwner) {
    const mode_t shared = S_IFDIR | 01777;
    EXPECT_TRUE(mayFollowLink(kMe, kMe, shared, kOwner));
    EXPECT_TRUE(mayFollowLink(kMe, kOwner, shared, kOwner));
    EXPECT_FALSE(mayFollowLink(kMe, kOther, shared, kOwner));
    EXPECT_TRUE(mayFollowLink(kMe, kOther, S_IFDIR | 0777, kOwner)) << "writable, not sticky";
    EXPECT_TRUE(mayFollowLink(kMe, kOther, S_IFDIR | 01775, kOwner)) << "sticky, not for all";
    EXPECT_TRUE(mayFollowLink(kMe, kOther, S_IFDIR | 0755, kOwner));
}

// The cases on disk need links of other users: made by root, which may give a link to
// anyone (lchown). The folder of "nobody" stands for the system's temporary folder.
struct LinkCase {
    const char* name;
    const char* folder;  // where the link lies: "shared" (sticky, for all) or "plain"
    bool folderIsTheirs; // the folder belongs to the link's owner
    bool linkIsTheirs;   // the link belongs to another user than the writer
    bool followed;
};

class LinkRule : public testing::TestWithParam<LinkCase> {};

TEST_P(LinkRule, OnDisk) {
    if (::geteuid() != 0)
        GTEST_SKIP() << "needs root to give a link to another user (CI runs as root)";
    const LinkCase& c = GetParam();
    const uid_t them = 65534; // nobody
    test::TempDir dir;
    const fs::path folder = dir / c.folder;
    fs::create_directory(folder);
    ASSERT_EQ(::chmod(folder.c_str(), std::string(c.folder) == "shared" ? 01777 : 0777), 0);
    if (c.folderIsTheirs) {
        ASSERT_EQ(::chown(folder.c_str(), them, them), 0);
    }
    const fs::path notes = test::writeFile(dir / "notes.txt", {'m', 'i', 'n', 'e'});
    const fs::path link = folder / "out.qrb";
    fs::create_symlink(notes, link);
    if (c.linkIsTheirs) {
        ASSERT_EQ(::lchown(link.c_str(), them, them), 0);
    }

    try {
        AtomicFile file(link);
        file.stream() << "library";
        file.commit();
        EXPECT_TRUE(c.followed) << "written through a planted link";
        EXPECT_EQ(test::readFile(notes),
                  (std::vector<std::uint8_t>{'l', 'i', 'b', 'r', 'a', 'r', 'y'}));
    } catch (const FileError& e) {
        EXPECT_FALSE(c.followed) << e.what();
        EXPECT_NE(e.reason().find("symbolic link " + link.string()), std::string::npos) << e.what();
        EXPECT_NE(e.reason().find("belongs to another user (uid 65534)"), std::string::npos);
        EXPECT_EQ(test::readFile(notes), (std::vector<std::uint8_t>{'m', 'i', 'n', 'e'}));
    }
    EXPECT_TRUE(fs::is_symlink(link)) << "the link stays";
    EXPECT_EQ(std::distance(fs::directory_iterator(folder), fs::directory_iterator()), 1)
        << "no temporary left";
}

INSTANTIATE_TEST_SUITE_P(
    Cases, LinkRule,
    testing::Values(LinkCase{"OwnLinkInASharedFolder", "shared", false, false, true},
                    LinkCase{"FolderOwnersLinkInASharedFolder", "shared", true, true, true},
                    LinkCase{"ForeignLinkInASharedFolder", "shared", false, true, false},
                    LinkCase{"ForeignLinkInAnOrdinaryFolder", "plain", false, true, true}),
    [](const testing::TestParamInfo<LinkCase>& test) { return std::string(test.param.name); });

// Every link of a chain is judged where it lies, and so is a link to a folder on the way:
// one's own link leading to a planted one, or a planted link to a folder, is refused.
TEST(WriteTarget, AppliesTheRuleAtEveryLinkOfTheWay) {
    if (::geteuid() != 0)
        GTEST_SKIP() << "needs root to give a link to another user (CI runs as root)";
    test::TempDir dir;
    const fs::path shared = dir / "shared";
    fs::create_directory(shared);
    ASSERT_EQ(::chmod(shared.c_str(), 01777), 0);
    fs::create_directory(dir / "mine");
    const fs::path notes = test::writeFile(dir / "mine" / "notes.txt", {'m'});
    auto planted = [](const fs::path& target, const fs::path& link) {
        fs::create_symlink(target, link);
        ASSERT_EQ(::lchown(link.c_str(), 65534, 65534), 0);
    };
    planted(notes, shared / "planted.qrb");
    fs::create_symlink(shared / "planted.qrb", dir / "chain.qrb"); // my own link
    planted(dir / "mine", shared / "folder");

    for (const fs::path& given : {dir / "chain.qrb", shared / "folder" / "notes.txt"}) {
        SCOPED_TRACE(given.string());
        EXPECT_THROW(WriteTarget{given}, FileError);
        EXPECT_THROW(AtomicFile{given}, FileError);
        EXPECT_EQ(test::readFile(notes), std::vector<std::uint8_t>{'m'});
    }
    // Where the rule allows each link, the chain ends at the file.
    const WriteTarget own(dir / "mine" / ".." / "mine" / "notes.txt");
    EXPECT_EQ(own.name(), "notes.txt");
}

} // namespace
} // namespace qrb
