// qexcli burial: what a sample that needs no burial, or that no history
// explains, gives on the command line and in the batch.

#include "tests/cli/RunQexcli.h"

#include <gtest/gtest.h>

namespace qex {
namespace {

using namespace test;

TEST(CliBurial, EachOutcomeHasItsExitStatusAndItsReason)
{
    struct Case {
        std::vector<std::string> arguments;
        int exitCode;
        std::string out; // a line the list must have
        std::string err; // the start of the message
    } cases[] = {
        {{"burial", "--be10-half-life", "1387000", "--al26-half-life", "705000", "--free-path", "160"},
         0, "Burial age(Myr):   1.1664\n", ""},
        {{"burial", "--al26", "735000"}, 0, "No burial:   the ratio 6.5768 lies at or above", ""},
        {{"burial", "--al26", "780000"}, 1, "", "The 26Al/10Be ratio 6.9795 is above the production ratio 6.5966"},
        {{"burial", "--be10", "3e7", "--be10-err", "1"}, 1, "", "The 10Be concentration is at or above"},
        {{"burial", "--al26", "10", "--al26-err", "1"}, 1, "", "The 26Al/10Be ratio 0.0001 is below"},
        {{"burial", "--burial-depth", "100", "--post-burial-be10-production", "0.1"}, 2, "",
         "Give the burial depth or the post-burial production rates, not both."},
        {{"burial", "--latitude", "30", "--be10-production", "4"}, 2, "", "latitude computes both production rates"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.arguments.back());
        const auto result = RunQexcli(c.arguments);
        EXPECT_EQ(result.exitCode, c.exitCode) << result.err;
        EXPECT_NE(result.out.find(c.out), std::string::npos) << result.out;
        EXPECT_EQ(result.err.rfind(c.err, 0), 0u) << result.err;
    }
}

TEST(CliBurial, TheCaveSampleRunsAsABatch)
{
    TempDir dir;
    const auto result = RunQexcli(
        {"batch", "burial", "--input", SourceDir() + "/examples/burial/ssc.csv", "--output", "ssc.csv"}, dir.Path());
    ASSERT_EQ(result.exitCode, 0) << result.err;
    const std::string text = ReadFile(dir.File("ssc.csv"));
    EXPECT_NE(text.find(",burial_age_myr,burial_age_err_myr,source_erosion_m_per_myr,"), std::string::npos);
    EXPECT_NE(text.find(",1.16636"), std::string::npos) << text;
}

} // namespace
} // namespace qex
