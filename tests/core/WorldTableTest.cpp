// The world scaling-factor table: its header and rows, the grid walks, and the
// file written whole or not at all.

#include "core/AtomicFile.h"
#include "core/Message.h"
#include "scaling/WorldTable.h"
#include "tests/support/TestSupport.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <sstream>

namespace qex {
namespace {

using test::Lines;
using test::ReadFile;
using test::TempDir;

// The data rows of a table file (everything after the column heading).
constexpr std::size_t kHeaderLines = 13;
std::vector<std::string> Rows(const std::string& text)
{
    const auto lines = Lines(text);
    if (lines.size() < kHeaderLines)
        return {};
    return {lines.begin() + kHeaderLines, lines.end()};
}

// The latitude field of each row.
std::vector<std::string> Latitudes(const std::string& text)
{
    std::vector<std::string> latitudes;
    for (const auto& row : Rows(text))
        latitudes.push_back(row.substr(0, 8));
    return latitudes;
}

std::string WriteToText(const WorldTableGrid& grid)
{
    TempDir dir;
    EXPECT_EQ(WriteWorldTable(grid, dir.File("t.txt")), WorldTableOutcome::Written);
    return ReadFile(dir.File("t.txt"));
}

// Files in a folder (to see that no temporary is left behind).
std::size_t FileCount(const std::string& folder)
{
    std::size_t count = 0;
    for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(folder))
        ++count;
    return count;
}

TEST(WorldTable, DefaultGridWritesTheHeaderAndNinetyRows)
{
    const std::string text = WriteToText(WorldTableGrid{});
    const std::string header = "Scale Factor Calculation Results\n"
                               "\n"
                               "[Calculation information]\n"
                               "Start Latitude    =     0.00\n"
                               "End   Latitude    =    90.00\n"
                               "Latitude Interval =    10.00\n"
                               "Start Altitude    =     0.00\n"
                               "End   Altitude    =  8000.00\n"
                               "Altitude Interval =  1000.00\n"
                               "Muon Contribution =   0.0260\n"
                               "\n"
                               "[Calculation Results]\n"
                               "Latitude,  Altitude,  Stone2000,  Lal1991Be,  Lal1991Al,  Dunai2000,  Diff_SL,  "
                               "Diff_SD,  Diff_LD,  Max_Diff,  Percent_S\n";
    ASSERT_EQ(text.substr(0, header.size()), header);
    const auto rows = Rows(text);
    ASSERT_EQ(rows.size(), 90u);
    EXPECT_EQ(rows[0], "    0.00,      0.00,     0.5873,     0.5858,     0.5855,     0.5584,   0.0015,   0.0289,   "
                       "0.0274,    0.0289,       4.92");
    EXPECT_EQ(rows[1], "   10.00,      0.00,     0.5992,     0.6001,     0.5999,     0.5693,   0.0009,   0.0299,   "
                       "0.0308,    0.0308,       5.15");
    EXPECT_EQ(rows[89], "   90.00,   8000.00,    98.9192,    88.0360,    86.4404,   172.3667,  10.8832,  73.4475,  "
                        "84.3306,   84.3306,      85.25");
    // Altitude by altitude, latitudes ascending within each.
    EXPECT_EQ(rows[9].substr(0, 19), "   90.00,      0.00");
    EXPECT_EQ(rows[10].substr(0, 19), "    0.00,   1000.00");
    // Every row has the usual width, so the size estimate is exact here.
    EXPECT_EQ(text.size(), WorldTableApproximateBytes(WorldTableGrid{}));
    EXPECT_EQ(text.size(), header.size() + 90u * 121u);
}

TEST(WorldTable, StartAndEndMayComeInEitherOrder)
{
    WorldTableGrid ascending;
    ascending.startLatitude = 20.0;
    ascending.endLatitude = 60.0;
    ascending.startAltitude = 500.0;
    ascending.endAltitude = 2500.0;
    WorldTableGrid descending = ascending;
    descending.startLatitude = 60.0;
    descending.endLatitude = 20.0;
    descending.startAltitude = 2500.0;
    descending.endAltitude = 500.0;
    const std::string text = WriteToText(descending);
    EXPECT_EQ(text, WriteToText(ascending));
    EXPECT_NE(text.find("Start Latitude    =    20.00\nEnd   Latitude    =    60.00\n"), std::string::npos);
    EXPECT_NE(text.find("Start Altitude    =   500.00\nEnd   Altitude    =  2500.00\n"), std::string::npos);
    EXPECT_EQ(Rows(text).size(), 15u); // 20, 30, .. 60 at 500, 1500, 2500 m
}

TEST(WorldTable, WalksAreInclusiveAndAddTheStepRepeatedly)
{
    WorldTableGrid grid;
    grid.startAltitude = grid.endAltitude = 0.0;

    // Equal start and end: one latitude.
    grid.startLatitude = grid.endLatitude = 45.0;
    EXPECT_EQ(Latitudes(WriteToText(grid)), std::vector<std::string>{"   45.00"});

    // A step that does not divide the range stops at the last value not beyond the end.
    grid.startLatitude = 0.0;
    grid.endLatitude = 25.0;
    EXPECT_EQ(Latitudes(WriteToText(grid)), (std::vector<std::string>{"    0.00", "   10.00", "   20.00"}));

    // 0.1 added seven times is exactly 0.7 in double precision, while 7 * 0.1
    // is just above it: repeated addition gives the eighth latitude.
    grid.endLatitude = 0.7;
    grid.latitudeInterval = 0.1;
    const auto latitudes = Latitudes(WriteToText(grid));
    ASSERT_EQ(latitudes.size(), 8u);
    EXPECT_EQ(latitudes.back(), "    0.70");
    EXPECT_EQ(WorldTableRowCount(grid), 8u);

    // Equal altitudes too: a single row.
    grid.endLatitude = 0.0;
    EXPECT_EQ(Rows(WriteToText(grid)).size(), 1u);
}

TEST(WorldTable, RowCountsMatchTheWalks)
{
    EXPECT_EQ(WorldTableRowCount(WorldTableGrid{}), 90u);
    // The finest grid: -90 to 90 by 0.001 walks 180000 latitudes (the running
    // sum passes 90 just before the 180001st), 0 to 10000 by 1 m 10001 altitudes.
    WorldTableGrid finest;
    finest.startLatitude = -90.0;
    finest.latitudeInterval = 0.001;
    finest.endAltitude = 10000.0;
    finest.altitudeInterval = 1.0;
    EXPECT_EQ(WorldTableRowCount(finest), 1800180000u);
    EXPECT_GT(WorldTableApproximateBytes(finest), 1800180000u * 121u);

    const std::string question = WorldTableSizeQuestion(1800180000u, 217821780000u);
    EXPECT_NE(question.find("1,800,180,000 rows"), std::string::npos);
    EXPECT_NE(question.find("217.8 GB"), std::string::npos);
}

TEST(WorldTable, SouthernRowsMirrorNorthernOnesInEveryScheme)
{
    WorldTableGrid grid;
    grid.startLatitude = -60.0;
    grid.endLatitude = 60.0;
    grid.latitudeInterval = 120.0;
    grid.startAltitude = grid.endAltitude = 3000.0;
    const auto rows = Rows(WriteToText(grid));
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[0].substr(0, 8), "  -60.00");
    EXPECT_EQ(rows[0].substr(8), rows[1].substr(8));
}

TEST(WorldTable, ProgressReachesTheTotalAndCancelLeavesNoFile)
{
    TempDir dir;
    const std::string path = dir.File("t.txt");
    std::vector<std::pair<std::uint64_t, std::uint64_t>> reports;
    EXPECT_EQ(WriteWorldTable(WorldTableGrid{}, path,
                              [&](std::uint64_t written, std::uint64_t total) {
                                  reports.emplace_back(written, total);
                                  return true;
                              }),
              WorldTableOutcome::Written);
    ASSERT_FALSE(reports.empty());
    EXPECT_EQ(reports.front(), std::make_pair(std::uint64_t{0}, std::uint64_t{90}));
    EXPECT_EQ(reports.back(), std::make_pair(std::uint64_t{90}, std::uint64_t{90}));
    const std::string previous = ReadFile(path);

    // Cancel part way through a large table, over the existing file.
    WorldTableGrid large;
    large.latitudeInterval = 0.01;
    large.altitudeInterval = 10.0;
    CMessageRecorder messages;
    std::uint64_t seen = 0;
    EXPECT_EQ(WriteWorldTable(large, path,
                              [&](std::uint64_t written, std::uint64_t) {
                                  seen = written;
                                  return written < 10000;
                              }),
              WorldTableOutcome::Cancelled);
    EXPECT_GE(seen, 10000u);
    EXPECT_LT(seen, 20000u); // stopped soon, not at the end
    EXPECT_EQ(ReadFile(path), previous);
    EXPECT_EQ(FileCount(dir.Path()), 1u);
    EXPECT_TRUE(messages.Messages().empty());

    // Cancelled before the first row: no file at all.
    const std::string fresh = dir.File("fresh.txt");
    EXPECT_EQ(WriteWorldTable(WorldTableGrid{}, fresh, [](std::uint64_t, std::uint64_t) { return false; }),
              WorldTableOutcome::Cancelled);
    EXPECT_FALSE(test::FileExists(fresh));
}

TEST(WorldTable, UnwritablePathsAndFailedWritesLeaveNothingBehind)
{
    TempDir dir;
    CMessageRecorder messages;
    EXPECT_EQ(WriteWorldTable(WorldTableGrid{}, ""), WorldTableOutcome::CannotOpen);
    EXPECT_EQ(WriteWorldTable(WorldTableGrid{}, dir.File("missing/t.txt")), WorldTableOutcome::CannotOpen);
    EXPECT_EQ(WriteWorldTable(WorldTableGrid{}, dir.Path()), WorldTableOutcome::CannotOpen);
    EXPECT_EQ(messages.Messages(), std::vector<std::string>(3, "Can not find Output file!"));

    // A disk that fills part way: the previous table survives, no temporary remains.
    const std::string path = dir.File("t.txt");
    test::WriteFile(path, "previous table\n");
    messages.Clear();
    CAtomicFile::SetByteLimitForTesting(5000);
    const auto outcome = WriteWorldTable(WorldTableGrid{}, path);
    CAtomicFile::SetByteLimitForTesting(-1);
    EXPECT_EQ(outcome, WorldTableOutcome::WriteFailed);
    EXPECT_EQ(ReadFile(path), "previous table\n");
    EXPECT_EQ(FileCount(dir.Path()), 1u);
    EXPECT_EQ(messages.Messages(), std::vector<std::string>{"No space left on device: Can not find Output file!"});
}

} // namespace
} // namespace qex
