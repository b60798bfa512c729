// The files of a batch on a bad day: reports that wait hidden until every row
// has run, a row whose report cannot be written failing alone, a stopped
// batch changing nothing, folders locked against a second batch, and
// temporaries removed on a signal however many there are.

#include "batch/BatchRun.h"
#include "core/FolderLock.h"
#include "core/StagingFolder.h"
#include "core/TemporaryFiles.h"
#include "tests/core/SimulationTestCurves.h"
#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>

#include <atomic>
#include <csignal>
#include <filesystem>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace qex {
namespace {

using test::EntriesIn;
using test::ReadFile;
using test::TempDir;
using test::WriteFile;

TEST(StagingFolder, FilesWaitHiddenUntilTheCommitAndADiscardLeavesNothing)
{
    TempDir dir;
    const std::string folder = dir.File("reports");
    std::filesystem::create_directory(folder);
    WriteFile(folder + "/a.txt", "old a\n");
    WriteFile(folder + "/gone.txt", "old story\n");
    // What a killed batch left: no process holds it.
    std::filesystem::create_directory(folder + "/.qex-batch-left");
    WriteFile(folder + "/.qex-batch-left/1", "half\n");
    int error = 0;
    std::string reason;
    {
        CStagingFolder staging(folder);
        ASSERT_TRUE(staging.Open(error)) << error;
        ASSERT_TRUE(staging.Write("a.txt", "new a\n", error, reason));
        ASSERT_TRUE(staging.Write("b.txt", "new b\n", error, reason));
        staging.RemoveAtCommit("gone.txt");
        const auto waiting = EntriesIn(folder);
        ASSERT_EQ(waiting.size(), 3u); // the hidden folder, a.txt, gone.txt
        EXPECT_EQ(waiting[0].rfind(".qex-batch-", 0), 0u);
        EXPECT_NE(waiting[0], ".qex-batch-left");
        EXPECT_EQ(ReadFile(folder + "/a.txt"), "old a\n");
        std::string failed;
        ASSERT_TRUE(staging.Sync(error)) << error;
        ASSERT_TRUE(staging.Commit(error, failed)) << failed;
    }
    EXPECT_EQ(EntriesIn(folder), (std::vector<std::string>{"a.txt", "b.txt"}));
    EXPECT_EQ(ReadFile(folder + "/a.txt"), "new a\n");

    // Given up: the folder as it was.
    {
        CStagingFolder staging(folder);
        ASSERT_TRUE(staging.Open(error));
        ASSERT_TRUE(staging.Write("a.txt", "newer a\n", error, reason));
        staging.RemoveAtCommit("b.txt");
    }
    EXPECT_EQ(EntriesIn(folder), (std::vector<std::string>{"a.txt", "b.txt"}));
    EXPECT_EQ(ReadFile(folder + "/a.txt"), "new a\n");
}

TEST(FolderLock, ASecondBatchWaitsForTheFirstOrGivesUp)
{
    TempDir dir;
    CFolderLock first;
    int error = 0;
    std::string failed;
    ASSERT_TRUE(first.Lock({dir.Path(), dir.Path() + "/."}, error, failed));

    // Giving up at once: nothing held, no error.
    CFolderLock second;
    EXPECT_FALSE(second.Lock({dir.Path()}, error, failed, [](bool) { return false; }));
    EXPECT_EQ(error, 0);

    std::atomic<int> waits{0};
    std::atomic<bool> released{false};
    std::atomic<bool> lockedAfterRelease{false};
    std::thread other([&] {
        CFolderLock lock;
        int e = 0;
        std::string f;
        const bool locked = lock.Lock({dir.Path()}, e, f, [&](bool firstWait) {
            waits += firstWait ? 1 : 0;
            return true;
        });
        lockedAfterRelease = locked && released;
    });
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    released = true;
    first.Unlock();
    other.join();
    EXPECT_EQ(waits, 1);
    EXPECT_TRUE(lockedAfterRelease);
}

// Rows on the worked-example curve with reports: one good, one whose name
// begins with a dash, one too long for a file name, one that fails now (its
// old report goes), one whose report is blocked by a folder (it fails alone).
TEST(BatchOutputs, EachRowsReportIsItsOwnAndTheOutputComesLast)
{
    TempDir dir;
    const std::string curve = test::WriteCurve(dir, "curve.dat", test::AlternatingCurveText());
    const std::string longName(300, 'L');
    const std::string csv = "sample,proxy,be10,single\nok,curve.dat,,on\n-dash,curve.dat,,on\n" + longName +
                            ",curve.dat,,on\nfails,curve.dat,1,on\nblocked,curve.dat,,on\n";
    const std::string reports = dir.File("reports");
    std::filesystem::create_directories(reports + "/blocked-report.txt");
    WriteFile(reports + "/fails-report.txt", "an old report\n");
    BatchJob job;
    std::string error;
    ASSERT_TRUE(OpenBatchText("simulate", csv, dir.Path(), job, error)) << error;
    const auto paths = BatchReportPaths(job, reports);
    const std::string longReport = std::filesystem::path(paths[2]).filename().string();
    EXPECT_EQ(std::filesystem::path(paths[1]).filename().string(), "_dash-report.txt");
    EXPECT_LE(longReport.size(), 255u);
    EXPECT_EQ(BatchReportPaths(job, reports)[2], paths[2]); // the same name on every run

    // Stopped before any row ran: nothing written, nothing left.
    {
        CBatchOutputs outputs(job, dir.File("out.csv"), reports);
        ASSERT_TRUE(outputs.Open());
        const BatchOutcome stopped = RunBatch(job, 1, outputs.WantsReports(), [](int, int) { return false; },
                                              [&](std::size_t i, BatchRowOutcome& row) { outputs.TakeRow(i, row); });
        EXPECT_TRUE(stopped.stopped);
    }
    EXPECT_FALSE(test::FileExists(dir.File("out.csv")));
    EXPECT_EQ(EntriesIn(reports), (std::vector<std::string>{"blocked-report.txt", "fails-report.txt"}));

    CBatchOutputs outputs(job, dir.File("out.csv"), reports);
    ASSERT_TRUE(outputs.Open());
    const BatchOutcome outcome = RunBatch(job, 2, outputs.WantsReports(), {},
                                          [&](std::size_t i, BatchRowOutcome& row) { outputs.TakeRow(i, row); });
    EXPECT_EQ(outcome.failed, 2);
    EXPECT_FALSE(outcome.rows[3].Said().empty());
    EXPECT_NE(outcome.rows[4].Said().find("Can not write the report!"), std::string::npos);
    EXPECT_NE(outcome.rows[4].Said().find("blocked-report.txt"), std::string::npos);
    for (const BatchRowOutcome& row : outcome.rows)
        EXPECT_TRUE(row.result.report.empty()); // let go of once on disk
    EXPECT_FALSE(test::FileExists(dir.File("out.csv")));
    ASSERT_TRUE(outputs.Commit(outcome));
    EXPECT_EQ(EntriesIn(reports), (std::vector<std::string>{longReport, "_dash-report.txt", "blocked-report.txt",
                                                        "ok-report.txt"}));
    EXPECT_EQ(ReadFile(reports + "/ok-report.txt"), ReadFile(reports + "/" + longReport));
    EXPECT_NE(ReadFile(dir.File("out.csv")).find("blocked,"), std::string::npos);
}

// A child that registers many named temporaries and a folder of them, then
// gets SIGHUP: the handler removes them all and ends the child by SIGHUP.
TEST(TemporaryFiles, ASignalRemovesEveryRegisteredFileAndFolderHoweverMany)
{
    TempDir dir;
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        InstallTemporaryFileCleanup();
        for (int i = 0; i < 200; ++i) {
            const std::string path = dir.File("t" + std::to_string(i));
            WriteFile(path, "temporary\n");
            RegisterTemporaryFile(path);
        }
        WriteFile(dir.File("kept"), "kept\n");
        ForgetTemporaryFile(RegisterTemporaryFile(dir.File("kept")));
        std::filesystem::create_directory(dir.File("folder"));
        for (int i = 0; i < 50; ++i)
            WriteFile(dir.File("folder/r" + std::to_string(i)), "report\n");
        RegisterTemporaryFolder(dir.File("folder"));
        ::raise(SIGHUP);
        ::_exit(0); // not reached
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGHUP);
    EXPECT_EQ(EntriesIn(dir.Path()), std::vector<std::string>{"kept"});
}

} // namespace
} // namespace qex
