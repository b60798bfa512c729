// Every file QEX writes is written whole or not at all: a disk that fills
// halfway, a folder, a missing folder or a read-only folder in place of the
// path leaves what was there, leaves no temporary file, and tells the user.

#include "core/AtomicFile.h"
#include "core/Message.h"
#include "geomag/ExposureAgeResult.h"
#include "geomag/GeomagneticIntensityData.h"
#include "proxy/SimulationCalculation.h"
#include "scaling/WorldTable.h"
#include "tests/core/SimulationTestCurves.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <sys/stat.h>
#include <unistd.h>

namespace qex {
namespace {

using test::TempDir;

// Every file opened while it lives fails with "no space left" after `bytes`.
class CFullDisk {
public:
    explicit CFullDisk(std::int64_t bytes) { CAtomicFile::SetByteLimitForTesting(bytes); }
    ~CFullDisk() { CAtomicFile::SetByteLimitForTesting(-1); }
};

struct Writer {
    const char* name;
    std::function<void(const std::string& path)> write;
    const char* message;
};

std::vector<Writer> Writers(const TempDir& inputs)
{
    const std::string curve = test::WriteCurve(inputs, "alternating.dat", test::AlternatingCurveText());
    const std::string records = test::SourceDir() + "/examples/geomag/";
    return {
        {"saved list",
         [](const std::string& path) {
             CResultList list;
             list.AppendBlock(std::vector<std::string>(200, "Exposure Age(kyr)  :   25.000"));
             list.SaveToFile(path);
         },
         "Can not find Output file!"},
        {"simulation report",
         [curve](const std::string& path) {
             SimulationInputs in;
             in.proxyFile = curve;
             in.outputFile = path;
             CResultList list;
             // Without its report the calculation appends nothing.
             const bool appended = AppendSingleSimulation(in, list);
             EXPECT_EQ(appended, !list.Lines().empty());
         },
         "Can not find Output file!"},
        {"world table", [](const std::string& path) { WriteWorldTable(WorldTableGrid{}, path); },
         "Can not find Output file!"},
        {"normalised curve",
         [records](const std::string& path) {
             const CGeomagneticIntensityData curve(records + "pmagstack1.dat");
             ASSERT_TRUE(curve.IsLoaded());
             curve.SaveFile(path);
         },
         "Can not find this file!"},
        {"scratch table",
         [records](const std::string& path) {
             ExposureInputs in;
             in.magneticCorrection = true;
             in.polePath = records + "pole02.dat";
             in.intensityPath = records + "pmagstack1.dat";
             in.tablePath = path;
             CResultList list;
             // The age stands whatever becomes of the table.
             EXPECT_TRUE(AppendExposureAge(in, list));
         },
         "Can not find this file!"},
    };
}

std::size_t EntriesIn(const std::string& folder)
{
    std::size_t count = 0;
    for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(folder))
        ++count;
    return count;
}

TEST(WriteFailure, AWriteThatFailsHalfwayKeepsTheEarlierFileAndSaysSo)
{
    TempDir inputs;
    for (const Writer& writer : Writers(inputs)) {
        SCOPED_TRACE(writer.name);
        TempDir dir;
        const std::string path = dir.File("out.txt");
        test::WriteFile(path, "the earlier file\n");
        CMessageRecorder messages;
        {
            CFullDisk disk(1000); // each of these files is longer
            writer.write(path);
        }
        EXPECT_EQ(test::ReadFile(path), "the earlier file\n");
        EXPECT_EQ(EntriesIn(dir.Path()), 1u); // no temporary file left beside it
        EXPECT_TRUE(messages.Contains(std::string("No space left on device: ") + writer.message)); // the cause first

        // With room on the disk the same call replaces the file.
        messages.Clear();
        writer.write(path);
        EXPECT_NE(test::ReadFile(path), "the earlier file\n");
        EXPECT_FALSE(messages.Contains(writer.message));
    }
}

TEST(WriteFailure, AFolderAMissingFolderOrAReadOnlyFolderChangesNothing)
{
    TempDir inputs;
    const bool superuser = ::geteuid() == 0; // may write anywhere: the read-only case cannot be made
    for (const Writer& writer : Writers(inputs)) {
        SCOPED_TRACE(writer.name);
        TempDir dir;
        const std::string locked = dir.File("locked");
        ASSERT_EQ(::mkdir(locked.c_str(), 0555), 0);
        std::vector<std::string> paths = {dir.Path(), dir.File("missing/out.txt"), dir.File("a folder/")};
        ASSERT_EQ(::mkdir(dir.File("a folder").c_str(), 0755), 0);
        if (!superuser)
            paths.push_back(locked + "/out.txt");
        for (const std::string& path : paths) {
            SCOPED_TRACE(path);
            CMessageRecorder messages;
            writer.write(path);
            EXPECT_TRUE(messages.Contains(writer.message));
        }
        EXPECT_EQ(EntriesIn(dir.Path()), 2u); // the two folders, nothing else
        EXPECT_EQ(EntriesIn(locked), 0u);
        EXPECT_EQ(EntriesIn(dir.File("a folder")), 0u);
    }
}

TEST(WriteFailure, FilesWrittenTogetherAreAllPutInPlaceOrNone)
{
    const std::string small(100, 's');
    const std::string large(5000, 'l');
    struct Case {
        const char* name;
        std::string first;
        std::string second;
        bool written; // with room for 1000 bytes a file
    };
    const std::vector<Case> cases = {
        {"both fit", small, small, true},
        {"the first fails", large, small, false},
        {"the second fails", small, large, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TempDir dir;
        test::WriteFile(dir.File("report.txt"), "old report\n");
        test::WriteFile(dir.File("table.csv"), "old table\n");
        CMessageRecorder messages;
        CFullDisk disk(1000);
        CFileTransaction together;
        WriteFileAtomically(dir.File("report.txt"), c.first, "Can not find Output file!");
        WriteFileAtomically(dir.File("table.csv"), c.second, "Can not find Output file!");
        // Nothing is in place before the commit.
        EXPECT_EQ(test::ReadFile(dir.File("report.txt")), "old report\n");
        EXPECT_EQ(together.Commit(), c.written);
        EXPECT_EQ(test::ReadFile(dir.File("report.txt")), c.written ? c.first : "old report\n");
        EXPECT_EQ(test::ReadFile(dir.File("table.csv")), c.written ? c.second : "old table\n");
        EXPECT_EQ(EntriesIn(dir.Path()), 2u);
        // The failed write said so, with its path and the reason.
        EXPECT_EQ(messages.Details().size(), c.written ? 0u : 1u);
        if (!c.written) {
            EXPECT_NE(messages.Details().front().find(": No space left on device"), std::string::npos);
        }
    }
}

TEST(WriteFailure, TheDesktopCalculationsNeverWriteOverTheirInputs)
{
    TempDir dir;
    const std::string curve = test::WriteCurve(dir, "alternating.dat", test::AlternatingCurveText());
    ASSERT_EQ(::symlink("alternating.dat", dir.File("link.dat").c_str()), 0);
    const std::string records = test::SourceDir() + "/examples/geomag/";
    const std::string intensity = dir.File("pmagstack1.dat");
    test::WriteFile(intensity, test::ReadFile(records + "pmagstack1.dat"));

    SimulationInputs simulation;
    simulation.proxyFile = curve;
    simulation.outputFile = dir.File("link.dat");
    ExposureInputs exposure;
    exposure.magneticCorrection = true;
    exposure.polePath = records + "pole02.dat";
    exposure.intensityPath = intensity;
    exposure.tablePath = dir.Path() + "/./pmagstack1.dat";
    struct Case {
        const char* name;
        std::function<bool(CResultList&)> calculate;
        std::string message;
    };
    const std::vector<Case> cases = {
        {"simulation", [&](CResultList& list) { return AppendSingleSimulation(simulation, list); },
         "Output File names the same file as Proxy Curve: an output may not replace an input!"},
        {"exposure age", [&](CResultList& list) { return AppendExposureAge(exposure, list); },
         "Scratch table names the same file as Intensity file: an output may not replace an input!"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CMessageRecorder messages;
        CResultList list;
        EXPECT_FALSE(c.calculate(list));
        EXPECT_TRUE(list.Lines().empty());
        EXPECT_EQ(messages.Messages(), std::vector<std::string>{c.message});
    }
    EXPECT_EQ(test::ReadFile(curve), test::AlternatingCurveText());
    EXPECT_EQ(test::ReadFile(intensity), test::ReadFile(records + "pmagstack1.dat"));
}

} // namespace
} // namespace qex
