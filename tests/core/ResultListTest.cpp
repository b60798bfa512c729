// The shared results list: block numbering, Clean Up, and what Save writes.

#include "core/AtomicFile.h"
#include "core/Message.h"
#include "core/ResultList.h"
#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>
#include <filesystem>
#include <sys/stat.h>
#include <unistd.h>

namespace qex {
namespace {

using test::ReadFile;
using test::TempDir;

TEST(ResultList, BlocksAreNumberedAndTheLatestHeadingIsSelected)
{
    CResultList list;
    list.AppendBlock({"a", "b"});
    list.AppendBlock({"c"});
    ASSERT_EQ(list.Lines(), (std::vector<std::string>{"Calculation Result 1", "a", "b", "Calculation Result 2", "c"}));
    EXPECT_EQ(list.m_nLineCount, 5);
    EXPECT_EQ(list.m_nResultCount, 2);
    EXPECT_EQ(list.Selected(), 3);
}

TEST(ResultList, CleanUpRestartsTheNumbering)
{
    CResultList list;
    list.AppendBlock({"a"});
    list.AppendBlock({"b"});
    list.CleanUp();
    EXPECT_EQ(list.m_nLineCount, 0);
    EXPECT_EQ(list.m_nResultCount, 0);
    EXPECT_EQ(list.Selected(), -1);
    list.AppendBlock({"c"});
    EXPECT_EQ(list.Lines().front(), "Calculation Result 1");
}

TEST(ResultList, LinesOutsideABlockCountAsLinesButNotAsResults)
{
    CResultList list;
    list.AppendBlock({"a"});
    list.AppendLine("Calculation doesn't have valid results\n");
    EXPECT_EQ(list.m_nLineCount, 3);
    EXPECT_EQ(list.m_nResultCount, 1);
    EXPECT_EQ(list.Selected(), 0);
    EXPECT_EQ(list.NextHeading(), "Calculation Result 2");
}

TEST(ResultList, SaveWritesExactlyTheLinesEachWithOneLineEnd)
{
    TempDir dir;
    CResultList list;
    const std::string longLine(5000, 'x');
    list.AppendBlock({"Factor:   0.981889", longLine});
    list.AppendLine("ends in a line feed\n");
    ASSERT_TRUE(list.SaveToFile(dir.File("out.txt")));
    EXPECT_EQ(ReadFile(dir.File("out.txt")),
              "Calculation Result 1\nFactor:   0.981889\n" + longLine + "\nends in a line feed\n\n");
}

TEST(ResultList, AnEmptyListSavesAZeroLengthFileAndASecondSaveReplacesTheFirst)
{
    TempDir dir;
    const std::string path = dir.File("out.txt");
    CResultList list;
    list.AppendBlock({"first"});
    ASSERT_TRUE(list.SaveToFile(path));
    list.CleanUp();
    ASSERT_TRUE(list.SaveToFile(path));
    EXPECT_TRUE(test::FileExists(path));
    EXPECT_EQ(ReadFile(path), "");
}

TEST(ResultList, AnUnwritablePathShowsTheMessageAndChangesNothing)
{
    TempDir dir;
    CResultList list;
    list.AppendBlock({"a"});
    CMessageRecorder messages;
    EXPECT_FALSE(list.SaveToFile(dir.File("missing-folder/out.txt")));
    EXPECT_FALSE(list.SaveToFile(dir.Path())); // a folder
    EXPECT_FALSE(list.SaveToFile(""));
    EXPECT_EQ(messages.Messages(),
              (std::vector<std::string>(3, "Can not find Output file!")));
    EXPECT_EQ(list.m_nLineCount, 2);
    EXPECT_EQ(list.m_nResultCount, 1);
}

TEST(AtomicFile, AWriteThatFailsHalfwayLeavesThePreviousFileIntact)
{
    TempDir dir;
    const std::string path = dir.File("report.txt");
    test::WriteFile(path, "previous contents\n");
    CAtomicFile::SetByteLimitForTesting(100);
    CMessageRecorder messages;
    CResultList list;
    list.AppendBlock(std::vector<std::string>(50, "a line of some length"));
    EXPECT_FALSE(list.SaveToFile(path));
    CAtomicFile::SetByteLimitForTesting(-1);
    EXPECT_EQ(ReadFile(path), "previous contents\n");
    // The cause first: the disk is full, the file was found.
    EXPECT_TRUE(messages.Contains("No space left on device: Can not find Output file!"));
    // No temporary file is left beside it.
    int entries = 0;
    for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(dir.Path()))
        ++entries;
    EXPECT_EQ(entries, 1);
}

TEST(AtomicFile, AReadOnlyFolderOrFileIsRefused)
{
    if (::geteuid() == 0)
        GTEST_SKIP() << "the superuser may write anywhere";
    TempDir dir;
    const std::string file = dir.File("locked.txt");
    test::WriteFile(file, "keep\n");
    ::chmod(file.c_str(), 0444);
    EXPECT_FALSE(WriteFileAtomically(file, "new"));
    EXPECT_EQ(ReadFile(file), "keep\n");
    const std::string folder = dir.File("ro");
    ::mkdir(folder.c_str(), 0555);
    EXPECT_FALSE(WriteFileAtomically(folder + "/x.txt", "new"));
}

// The kernel's fs.protected_symlinks rule, whatever the system's setting: in
// a sticky, world-writable folder a link is followed only when the writer or
// the folder's owner owns it.
TEST(AtomicFile, ALinkAnotherUserPlantedInASharedFolderIsNotFollowed)
{
    if (::geteuid() != 0)
        GTEST_SKIP() << "giving a link to another user needs the superuser";
    constexpr uid_t kOther = 65534;
    struct Case {
        uid_t linkOwner;
        uid_t folderOwner;
        bool followed;
    };
    const std::vector<Case> cases = {{kOther, 0, false}, {0, 0, true}, {kOther, kOther, true}};
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.linkOwner) + " in a folder of " + std::to_string(c.folderOwner));
        TempDir dir;
        const std::string shared = dir.File("shared");
        ASSERT_EQ(::mkdir(shared.c_str(), 0777), 0);
        ASSERT_EQ(::chmod(shared.c_str(), 01777), 0);
        ASSERT_EQ(::chown(shared.c_str(), c.folderOwner, c.folderOwner), 0);
        const std::string victim = dir.File("victim.txt");
        test::WriteFile(victim, "the victim's own\n");
        ASSERT_EQ(::symlink(victim.c_str(), (shared + "/report.txt").c_str()), 0);
        ASSERT_EQ(::lchown((shared + "/report.txt").c_str(), c.linkOwner, c.linkOwner), 0);
        CMessageRecorder messages;
        EXPECT_EQ(WriteFileAtomically(shared + "/report.txt", "report\n", "Can not find Output file!"), c.followed);
        EXPECT_EQ(ReadFile(victim), c.followed ? "report\n" : "the victim's own\n");
        if (!c.followed) {
            EXPECT_EQ(messages.DetailOf("Can not find Output file!"),
                      shared + "/report.txt: a link another user owns in a shared folder; not followed");
        }
    }
}

TEST(AtomicFile, ANewFileGetsOrdinaryPermissions)
{
    TempDir dir;
    const std::string path = dir.File("new.txt");
    ASSERT_TRUE(WriteFileAtomically(path, "text"));
    struct stat st {};
    ASSERT_EQ(::stat(path.c_str(), &st), 0);
    const mode_t mask = ::umask(0);
    ::umask(mask);
    EXPECT_EQ(st.st_mode & 0777, 0666 & ~mask);
}

} // namespace
} // namespace qex
