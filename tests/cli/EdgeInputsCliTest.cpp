// qexcli at the edges: every number option of each calculator's input table
// at and beyond each end of its range, paths holding blanks and non-ASCII
// letters, and folders where a file should be written.

#include "tests/cli/RunQexcli.h"
#include "tests/support/InputTables.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <sys/stat.h>
#include <unistd.h>

namespace qex {
namespace {

using test::RunQexcli;
using test::AllFinite;
using test::TempDir;
using Args = std::vector<std::string>;

std::string AlternatingCurve(const std::string& path)
{
    std::string text = "Proxy_Data\nAlternating\n";
    for (int i = 0; i <= 30; ++i)
        text += std::to_string(i * 20000) + (i % 2 == 0 ? " 3.0\n" : " 5.0\n");
    test::WriteFile(path, text);
    return path;
}

// No total age below its exposure age in the lines.
bool AgesAgree(const std::string& out)
{
    auto number = [&out](const std::string& label) {
        const std::size_t at = out.find(label);
        return at == std::string::npos ? 0.0 : std::atof(out.c_str() + out.find(':', at) + 1);
    };
    return number("Total Age(kyr)") >= number("Exposure Age(kyr)");
}

// Runs the command with each number option of its table at each end of its
// range (and 0 inside it, and 1e-322 just above a lower end of 0, where
// products underflow; a few huge values where it has none): exit 0 with
// finite lines, or exit 1 with a message saying why (or, for a cut, the line
// that says there is no valid result). Just beyond each end the option is
// refused, naming it and the range, exactly as the core reads the text.
struct Bounds {
    std::string workingDir = {};
    std::string written = {};         // the file the command writes, if any
    bool beyond = true;               // also just beyond each end
    std::vector<std::string> of = {}; // the options to run; empty for all
    std::vector<std::string> except = {}; // options not to run
    // Options that are taken only with others, and those others.
    std::vector<std::pair<std::string, Args>> needs = {};
};

template <class Inputs>
void RunAtEveryBound(const Args& command, const InputTable<Inputs>& table, const Bounds& how = {})
{
    const std::string& workingDir = how.workingDir;
    const std::string& written = how.written;
    for (const InputRow<Inputs>& row : table.Rows()) {
        if (!row.option || row.kind != InputKind::Number ||
            (!how.of.empty() && std::find(how.of.begin(), how.of.end(), row.name) == how.of.end()) ||
            std::find(how.except.begin(), how.except.end(), row.name) != how.except.end())
            continue;
        const std::string option = "--" + std::string(row.name);
        std::vector<double> values = {-1e300, 0.0, 1e300};
        if (row.range) {
            values = {row.range->minimum, row.range->maximum};
            if (row.range->minimum < 0.0 && row.range->maximum > 0.0)
                values.push_back(0.0);
            if (row.range->minimum == 0.0 && !row.whole)
                values.push_back(1e-322);
        }
        for (const double value : values) {
            const std::string text = InputNumberText(value);
            SCOPED_TRACE(command.front() + " " + option + " " + text);
            Args args = command;
            args.insert(args.end(), {option, text});
            for (const auto& [name, companions] : how.needs)
                if (name == row.name)
                    args.insert(args.end(), companions.begin(), companions.end());
            const auto run = RunQexcli(args, workingDir);
            ASSERT_TRUE(run.exitCode == 0 || run.exitCode == 1) << run.exitCode << run.err;
            EXPECT_TRUE(AllFinite(run.out)) << run.out;
            EXPECT_TRUE(AgesAgree(run.out)) << run.out;
            if (run.exitCode == 1) {
                EXPECT_TRUE(!run.err.empty() || run.out == "Calculation doesn't have valid results\n\n");
            } else {
                EXPECT_FALSE(run.out.empty() && written.empty());
                if (!written.empty()) {
                    EXPECT_TRUE(AllFinite(test::ReadFile(written)));
                }
            }
        }
        if (!how.beyond || !row.range)
            continue;
        for (const double value : {test::JustOutside(row.range->minimum, -1.0), test::JustOutside(row.range->maximum, 1.0)}) {
            const std::string text = InputNumberText(value);
            SCOPED_TRACE(command.front() + " " + option + " " + text);
            Inputs ignored;
            const std::string why = SetInputFromText(row, ignored, text);
            EXPECT_NE(why, "");
            Args args = command;
            args.insert(args.end(), {option, text});
            const auto run = RunQexcli(args, workingDir);
            EXPECT_EQ(run.exitCode, 2);
            EXPECT_EQ(run.out, "");
            EXPECT_EQ(run.err, option + ": " + why + "\nRun with --help for more information.\n");
        }
    }
}

TEST(EdgeInputsCli, EveryNumberOptionAtAndBeyondEachEndOfItsRange)
{
    TempDir dir;
    RunAtEveryBound({"thickness"}, ThicknessInputTable());
    RunAtEveryBound({"slope-thickness"}, SlopeThicknessInputTable());
    RunAtEveryBound({"shielding", "--point", "0,90", "--point", "360,90"}, ShieldingInputTable());
    RunAtEveryBound({"scaling"}, ScalingInputTable());
    // Coarse steps over the widest grid, and the finest steps over a small one.
    const std::string table = dir.File("table.txt");
    RunAtEveryBound({"world-table", "--output", table, "--lat-interval", "45", "--alt-interval", "5000"},
                    WorldTableInputTable(), {.written = table, .of = {"start-lat", "end-lat", "start-alt", "end-alt", "muon"}});
    RunAtEveryBound({"world-table", "--output", table, "--start-lat", "0", "--end-lat", "1", "--start-alt", "0",
                     "--end-alt", "10"},
                    WorldTableInputTable(), {.written = table, .of = {"lat-interval", "alt-interval"}});

    for (const char* name : {"pole02.dat", "pmagstack1.dat"})
        test::WriteFile(dir.File(name), test::ReadFile(test::SourceDir() + "/examples/geomag/" + name));
    const std::pair<std::string, Args> measuredPressure = {"pressure", {"--atmosphere", "pressure"}};
    RunAtEveryBound({"exposure"}, ExposureInputTable(), {.workingDir = dir.Path(), .needs = {measuredPressure}});
    RunAtEveryBound({"exposure", "--geomagnetic"}, ExposureInputTable(),
                    {.workingDir = dir.Path(), .beyond = false, .except = {"pressure"}});
    RunAtEveryBound({"erosion"}, ErosionInputTable(), {.needs = {measuredPressure}});

    const std::string curve = AlternatingCurve(dir.File("alternating.dat"));
    // The site's other inputs go with its latitude, its pressure with atmosphere pressure too.
    const std::vector<std::pair<std::string, Args>> site = {
        {"altitude", {"--latitude", "45"}},
        {"thickness", {"--latitude", "45"}},
        {"shield", {"--latitude", "45"}},
        {"pressure", {"--latitude", "45", "--atmosphere", "pressure"}},
    };
    RunAtEveryBound({"simulate", "--proxy", curve, "--report", dir.File("r1.txt")}, SimulationInputTable(),
                    {.written = dir.File("r1.txt"), .needs = site});
    RunAtEveryBound({"simulate", "--single", "--proxy", curve, "--report", dir.File("r2.txt"), "--table",
                     dir.File("t2.csv")},
                    SimulationInputTable(), {.written = dir.File("t2.csv"), .beyond = false, .needs = site});
    RunAtEveryBound({"cut", "--proxy", curve}, CutInputTable());
}

TEST(EdgeInputsCli, UnderflowAndOverflowGiveTheLimitOrARefusal)
{
    TempDir dir;
    const std::string curve = AlternatingCurve(dir.File("alternating.dat"));
    // Years near 1e297: the first stretch below the cut, 0 to 5e296 years,
    // holds the whole exposure, so the surface was never buried.
    test::WriteFile(dir.File("huge.dat"), "Proxy_Data\nHuge\n0 3.0\n1e297 5.0\n2e297 3.0\n3e297 5.0\n");
    struct Case {
        Args args;
        int exitCode;
        std::string lastLine; // of standard output; for a refusal, standard error
    };
    const std::vector<Case> cases = {
        // (1 - exp(-x)) / x tends to 1 as the mass thickness x underflows to 0.
        {{"thickness", "--thickness", "1e-322"}, 0, "Factor:   1.000000"},
        {{"thickness", "--density", "1e-322"}, 0, "Factor:   1.000000"},
        {{"slope-thickness", "--density", "1e-322"}, 0, "Factor:   1.000000"},
        // ... leaving the slope's shielding 1 - 3.6e-6 * 30^2.64 = 0.971431.
        {{"slope-thickness", "--density", "1e-322", "--slope", "30"}, 0, "Factor:   0.971431"},
        {{"cut", "--proxy", dir.File("huge.dat"), "--cut-value", "4"}, 0, "Intersect Numbers   :    0"},
        {{"simulate", "--single", "--proxy", curve, "--report", dir.File("r.txt"), "--al26", "1e-300"}, 1,
         "The measured 26Al/10Be ratio is too small to compare simulated ratios with: no simulation."},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.args.front() + " " + c.args.at(c.args.size() - 2) + " " + c.args.back());
        const auto run = RunQexcli(c.args);
        EXPECT_EQ(run.exitCode, c.exitCode) << run.err;
        const std::string& shown = c.exitCode == 0 ? run.out : run.err;
        EXPECT_NE(shown.find(c.lastLine + "\n"), std::string::npos) << shown;
        EXPECT_EQ(shown.size() - shown.rfind(c.lastLine + "\n"), c.lastLine.size() + 1) << shown;
        EXPECT_TRUE(AllFinite(run.out));
        EXPECT_TRUE(AgesAgree(run.out)) << run.out;
    }
    EXPECT_NE(RunQexcli(cases[4].args).out.find("Total Age(kyr)         :   25.000"), std::string::npos);
    EXPECT_FALSE(test::FileExists(dir.File("r.txt")));
}

TEST(EdgeInputsCli, PathsWithBlanksAndNonAsciiLetters)
{
    TempDir dir;
    const std::string folder = dir.File("Gl\xC3\xA4ttfj\xC3\xB6rd samples \xE2\x80\x94 \xC3\xA9t\xC3\xA9");
    std::filesystem::create_directories(folder);
    const std::string curve = AlternatingCurve(folder + "/Kurve \xC3\xBC" "ber Eis.dat");
    const std::string report = folder + "/Bericht \xC3\xA0 jour.txt";

    const auto cut = RunQexcli({"cut", "--proxy", curve, "--cut-value", "4"});
    EXPECT_EQ(cut.exitCode, 0) << cut.err;
    const auto simulate = RunQexcli({"simulate", "--single", "--proxy", curve, "--report", report});
    EXPECT_EQ(simulate.exitCode, 0) << simulate.err;
    EXPECT_NE(test::ReadFile(report).find("[Best Fit Information]"), std::string::npos);

    test::WriteFile(folder + "/St\xC3\xA4rke.dat", "Geomagnetic_Intensity_Data\nStack\n0 1.0\n1000 0.8\n");
    const auto normalize =
        RunQexcli({"normalize", folder + "/St\xC3\xA4rke.dat", folder + "/\xE8\xA9\xA6\xE6\x96\x99 out.dat"});
    EXPECT_EQ(normalize.exitCode, 0) << normalize.err;
    EXPECT_NE(test::ReadFile(folder + "/\xE8\xA9\xA6\xE6\x96\x99 out.dat").find("     500.0      0.900"),
              std::string::npos);

    test::WriteFile(folder + "/Horizont \xC3\xB8st.txt", "0 10\n180 20\n");
    const auto shielding = RunQexcli({"shielding", "--horizon-file", folder + "/Horizont \xC3\xB8st.txt"});
    EXPECT_EQ(shielding.exitCode, 0) << shielding.err;

    const auto table = RunQexcli({"world-table", "--output", folder + "/Tabelle \xC3\xA9t\xC3\xA9.txt"});
    EXPECT_EQ(table.exitCode, 0) << table.err;
    EXPECT_TRUE(test::FileExists(folder + "/Tabelle \xC3\xA9t\xC3\xA9.txt"));

    for (const char* name : {"pole02.dat", "pmagstack1.dat"})
        test::WriteFile(folder + "/P " + name, test::ReadFile(test::SourceDir() + "/examples/geomag/" + name));
    const auto exposure = RunQexcli({"exposure", "--geomagnetic", "--pole", folder + "/P pole02.dat", "--intensity",
                                     folder + "/P pmagstack1.dat", "--table", folder + "/\xC3\xB6mr.txt"});
    EXPECT_EQ(exposure.exitCode, 0) << exposure.err;
    EXPECT_TRUE(test::FileExists(folder + "/\xC3\xB6mr.txt"));
}

TEST(EdgeInputsCli, AFolderWhereAFileBelongsChangesNothing)
{
    TempDir dir;
    const std::string curve = AlternatingCurve(dir.File("alternating.dat"));
    const std::string locked = dir.File("locked");
    ASSERT_EQ(::mkdir(locked.c_str(), 0555), 0);
    // Each target with the system's reason, on the line after the message.
    std::vector<std::pair<std::string, std::string>> targets = {
        {dir.Path(), "Is a directory"}, {dir.File("missing/out.txt"), "No such file or directory"}};
    if (::geteuid() != 0) // the superuser may write into a read-only folder
        targets.push_back({locked + "/out.txt", "Permission denied"});
    for (const auto& [target, reason] : targets) {
        SCOPED_TRACE(target);
        const std::string detail = target + ": " + reason + "\n";
        const auto report = RunQexcli({"simulate", "--proxy", curve, "--report", target});
        EXPECT_EQ(report.exitCode, 1);
        EXPECT_EQ(report.err, "Can not find Output file!\n" + detail);
        const auto table = RunQexcli({"world-table", "--output", target});
        EXPECT_EQ(table.exitCode, 1);
        EXPECT_EQ(table.err, "Can not find Output file!\n" + detail);
        const auto normalize = RunQexcli({"normalize", test::SourceDir() + "/examples/geomag/pmagstack1.dat", target});
        EXPECT_EQ(normalize.exitCode, 1);
        EXPECT_EQ(normalize.err, "Can not find this file!\n" + detail);
    }
    // A folder as the file to read.
    const auto cut = RunQexcli({"cut", "--proxy", dir.Path()});
    EXPECT_EQ(cut.exitCode, 1);
    EXPECT_EQ(cut.err, "Can not find Proxy data file!\n" + dir.Path() + ": Is a directory\n");
    int entries = 0;
    for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(dir.Path()))
        ++entries;
    EXPECT_EQ(entries, 2); // the curve and the read-only folder
}

} // namespace
} // namespace qex
