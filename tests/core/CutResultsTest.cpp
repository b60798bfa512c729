// One Calculate of the cut results: the block's lines, the block of a cut
// without result and its counting, and the stops that append nothing.

#include "core/Message.h"
#include "proxy/CutResults.h"
#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>

namespace qex {
namespace {

using Lines = std::vector<std::string>;

class CutResultsTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        // (0, 1), (10000, 2), (20000, 1): 1.97 at year 9700. Exposure lies below
        // the cut; the curve leaves it at 9700 and returns at 10300, and ends
        // with 9700 + 9700 years of exposure, so 600 years of burial.
        m_inputs.path = m_dir.File("hill.dat");
        test::WriteFile(m_inputs.path, "Proxy_Data Hill\n0 1\n10000 2\n20000 1\n");
    }
    test::TempDir m_dir;
    CMessageRecorder m_messages;
    CResultList m_list;
    CutInputs m_inputs;
};

TEST_F(CutResultsTest, TheDefaultsCutAtTheValueOfYear9700)
{
    EXPECT_EQ(AppendCutResults(m_inputs, m_list), CutOutcome::Result);
    EXPECT_EQ(m_list.Lines(), (Lines{"Calculation Result 1", "Exposure Age(kyr)  :   25.000    ",
                                     "Bural Age(kyr)         :   0.600     ", "Total Age(kyr)         :   25.600    ",
                                     "Cut Value              :   1.970     ", "Intersect Numbers   :    2",
                                     "Intersect year(kyr) 1:   9.700     ", "Intersect year(kyr) 2:   10.300    "}));
    EXPECT_EQ(m_list.m_nResultCount, 1);
    EXPECT_EQ(m_list.Selected(), 0);
    EXPECT_TRUE(m_messages.Messages().empty());
}

TEST_F(CutResultsTest, ACutWithoutResultIsListedUnderItsOwnHeadingWithItsReason)
{
    // Each way a cut on the hill (values 1 to 2, years 0 to 20000) has no
    // result, with the reason in the curve's own units, read negated too.
    struct Case {
        bool byAge;
        double cut;
        bool negated;
        const char* reason;
    };
    const Case cases[] = {
        {false, 6.0, false, "6 is above the curve's maximum 2"},
        {false, 2.0, false, "2 is the curve's maximum: a cut must lie below it"},
        {false, 0.5, false, "0.5 is below the curve's minimum 1"},
        {false, 6.0, true, "6 is above the curve's maximum 2"},
        {false, 1.0, true, "1 is the curve's minimum: a cut must lie above it"},
        {true, 20001.0, false, "the year is beyond the curve's last year 20000"},
    };
    for (const Case& c : cases) {
        CResultList list;
        ASSERT_EQ(AppendCutResults(m_inputs, list), CutOutcome::Result);
        m_inputs.cutByAge = c.byAge;
        (c.byAge ? m_inputs.cutAge : m_inputs.cutValue) = c.cut;
        m_inputs.exposureAboveCut = c.negated;
        std::string reason;
        EXPECT_EQ(AppendCutResults(m_inputs, list, nullptr, nullptr, &reason), CutOutcome::NoValidResult) << c.reason;
        EXPECT_EQ(reason, c.reason);
        EXPECT_EQ(Lines(list.Lines().begin() + 8, list.Lines().end()),
                  (Lines{"Calculation Failed", "Calculation doesn't have valid results\n",
                         std::string("Reason: ") + c.reason}));
        // No result: the numbering and the selection stay with the block before.
        EXPECT_EQ(list.m_nResultCount, 1);
        EXPECT_EQ(list.Selected(), 0);
        m_inputs = CutInputs{m_inputs.path};
    }
}

TEST_F(CutResultsTest, StopsAndOutOfRangeYearsFollowTheirMessages)
{
    m_inputs.cutAge = 20001.0;
    EXPECT_EQ(AppendCutResults(m_inputs, m_list), CutOutcome::NoValidResult);
    m_inputs.path.clear();
    EXPECT_EQ(AppendCutResults(m_inputs, m_list), CutOutcome::Stopped);
    m_inputs.path = m_dir.File("missing.dat");
    EXPECT_EQ(AppendCutResults(m_inputs, m_list), CutOutcome::Stopped);
    EXPECT_EQ(m_messages.Messages(), (Lines{"The input year is out of the range of current proxy curve!",
                                            "Please select a proxy curve file!", "Can not find Proxy data file!"}));
    EXPECT_EQ(m_list.m_nLineCount, 3);
    EXPECT_EQ(m_list.m_nResultCount, 0);
}

} // namespace
} // namespace qex
