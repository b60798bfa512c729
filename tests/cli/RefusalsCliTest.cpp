// What once passed for success is refused with a message that names its
// cause: counts with fractions, samples without draws, curves older than the
// Earth, records without a field or going back in time, a file of the wrong
// kind, a device for a batch file; and a name from a file never reaches the
// terminal raw. A failed command leaves its files as they were.

#include "tests/cli/RunQexcli.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

namespace qex {
namespace {

using namespace test;

TEST(Refusals, EachNamesItsCauseWithItsExitCode)
{
    TempDir dir;
    const std::string lr04 = test::SourceDir() + "/examples/proxy/LR04.dat";
    const std::string poles = test::SourceDir() + "/examples/geomag/pole02.dat";
    WriteFile(dir.File("old.dat"), "Proxy_Data\nOld\n0 3\n1e17 5\n2e17 3\n3e17 5\n");
    WriteFile(dir.File("zero.dat"), "Geomagnetic_Intensity_Data\nZero\n0 0\n1000 0\n2000 0\n");
    WriteFile(dir.File("back.dat"), "Geomagnetic_Intensity_Data\nBack\n2000 1\n1000 1.1\n0 1.2\n");
    WriteFile(dir.File("b.csv"), "sample,proxy\nA," + lr04 + "\n");
    WriteFile(dir.File("evil.csv"), "sample,thickness\n\"evil\x1b[31m\nforged: line 9\",abc\n");
    ASSERT_EQ(::mkfifo(dir.File("fifo").c_str(), 0600), 0);
    WriteFile(dir.File("r.txt"), "the earlier report\n");
    struct Case {
        std::vector<std::string> args;
        int exitCode;
        std::string said;
    };
    const std::vector<Case> cases = {
        {{"simulate", "--proxy", lr04, "--report", "r.txt", "--monte-carlo", "1.5"}, 2,
         "--monte-carlo: '1.5' is not a whole number"},
        {{"simulate", "--proxy", lr04, "--report", "r.txt", "--monte-carlo", "2", "--seed", "1.5"}, 2,
         "--seed: '1.5' is not a whole number"},
        {{"batch", "simulate", "--input", "b.csv", "--output", "o.csv", "--monte-carlo", "1.5"}, 2,
         "is not a whole number"},
        {{"simulate", "--proxy", lr04, "--report", "r.txt", "--monte-carlo", "0", "--samples", "s.csv"}, 1,
         "--samples needs Monte Carlo draws"},
        {{"simulate", "--single", "--proxy", "old.dat", "--report", "r.txt"}, 1,
         "Line 6 holds the year 3e+17, older than the Earth"},
        {{"simulate", "--single", "--proxy", lr04, "--report", "r.txt", "--be10", "1"}, 1,
         "is above the production ratio 6.12: no burial history can produce it."},
        {{"simulate", "--single", "--proxy", poles, "--report", "r.txt"}, 1,
         "Proxy data file is not correct!\n" + poles + ": its first word is 'Geomagnetic_Pole_Data', not Proxy_Data"},
        {{"exposure", "--geomagnetic", "--pole", poles, "--intensity", "zero.dat", "--table", "omr.txt"}, 1,
         "Every intensity is zero"},
        {{"normalize", "back.dat", "n.dat"}, 1, "The ages go back at line 4."},
        {{"batch", "thickness", "--input", "fifo", "--output", "o.csv"}, 2, "fifo: not a regular file"},
        {{"batch", "thickness", "--input", "evil.csv", "--output", "o.csv"}, 1,
         "evil.csv, line 2 (evil\\x1b[31m\\nforged: line 9): thickness: 'abc' is not a number"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.args.front() + " " + c.args.back());
        const auto run = RunQexcli(c.args, dir.Path());
        EXPECT_EQ(run.exitCode, c.exitCode) << run.err;
        EXPECT_NE(run.err.find(c.said), std::string::npos) << run.err;
        EXPECT_EQ(run.err.find('\x1b'), std::string::npos);
        EXPECT_EQ(ReadFile(dir.File("r.txt")), "the earlier report\n"); // nothing put in place
    }
    for (const char* never : {"s.csv", "omr.txt", "n.dat"})
        EXPECT_FALSE(test::FileExists(dir.File(never))) << never;
}

} // namespace
} // namespace qex
