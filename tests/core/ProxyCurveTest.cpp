// Proxy curves: reading the file, the year-0 point, merging close years, and
// the cut walk. Expected values are worked by hand from the walk's rules.

#include "core/Message.h"
#include "proxy/ProxyCurve.h"
#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>

namespace qex {
namespace {

constexpr double kYearTolerance = 1e-9;   // years
constexpr double kValueTolerance = 1e-12; // proxy units
const std::string kOutOfRange = "The input year is out of the range of current proxy curve!";
using Doubles = std::vector<double>;
using Texts = std::vector<std::string>;

class ProxyCurveTest : public ::testing::Test {
protected:
    std::string Curve(const std::string& text)
    {
        const std::string path = m_dir.File("curve" + std::to_string(++m_files) + ".dat");
        test::WriteFile(path, text);
        return path;
    }
    test::TempDir m_dir;
    int m_files = 0;
    CMessageRecorder m_messages;
};

TEST_F(ProxyCurveTest, WorkedExampleStopsInTheFirstExposureStretchThatExceedsTheAge)
{
    // (0, 5), (10, 3), (20, 5), (30, 3) cut at 4; the layout of white space is free.
    CProxyCurve curve(Curve("  Proxy_Data\tSaw 0 5.0\t10 3.0\r\n\r\n20\n5.0 30 3.0"));
    ASSERT_EQ(curve.pointCount, 4);
    EXPECT_EQ(curve.name, "Saw");

    // Leaves at 5 (A = 5), returns at 15 (A = 10 > 7): stops at R = 20.
    EXPECT_NEAR(curve.CutAtValue(4.0, 7.0), 20.0, kYearTolerance);
    EXPECT_EQ(curve.crossings, (Doubles{5.0, 15.0}));
    EXPECT_DOUBLE_EQ(curve.exposureAge, 7.0);
    EXPECT_NEAR(curve.burialAge, 10.0, kYearTolerance);
    EXPECT_NEAR(curve.totalAge, 17.0, kYearTolerance);

    // Never reaching 100 years of exposure, the walk ends with the curve.
    EXPECT_NEAR(curve.CutAtValue(4.0, 100.0), 25.0, kYearTolerance);
    EXPECT_EQ(curve.crossings, (Doubles{5.0, 15.0, 25.0}));
    EXPECT_NEAR(curve.burialAge, 10.0, kYearTolerance);
    EXPECT_NEAR(curve.totalAge, 110.0, kYearTolerance);

    // A = 5 = E at year 5 does not stop the walk, nor record that crossing.
    EXPECT_NEAR(curve.CutAtValue(4.0, 5.0), 20.0, kYearTolerance);
    EXPECT_EQ(curve.crossings, (Doubles{15.0}));
    EXPECT_NEAR(curve.totalAge, 15.0, kYearTolerance);

    // No valid result: the extremes, and the result of the last cut stays.
    EXPECT_EQ(curve.CutAtValue(5.0, 7.0), -1.0);
    EXPECT_EQ(curve.CutAtValue(3.0, 7.0), -1.0);
    EXPECT_EQ(curve.crossings, (Doubles{15.0}));
    EXPECT_TRUE(m_messages.Messages().empty());
}

TEST_F(ProxyCurveTest, APointOnTheCutCountsWithTheExposureSide)
{
    // Back onto the cut at year 20, then on into exposure: the return is a crossing.
    CProxyCurve touch(Curve("Proxy_Data T\n0 5\n10 3\n20 4\n30 5\n"));
    EXPECT_NEAR(touch.CutAtValue(4.0, 100.0), 30.0, kYearTolerance);
    EXPECT_EQ(touch.crossings, (Doubles{5.0, 20.0}));
    EXPECT_NEAR(touch.burialAge, 15.0, kYearTolerance);

    // Grazing the cut at 20 from below the exposure side: returns and leaves at 20.
    CProxyCurve graze(Curve("Proxy_Data G\n0 3\n10 5\n20 4\n30 5\n40 3\n"));
    EXPECT_NEAR(graze.CutAtValue(4.0, 100.0), 40.0, kYearTolerance);
    EXPECT_EQ(graze.crossings, (Doubles{5.0, 20.0, 20.0, 35.0}));
    EXPECT_NEAR(graze.burialAge, 30.0, kYearTolerance); // exposure 0-5 and 35-40
    EXPECT_NEAR(graze.totalAge, 130.0, kYearTolerance);

    // The present exactly on the cut has no side.
    CProxyCurve onCut(Curve("Proxy_Data P\n0 4\n10 3\n20 5\n"));
    EXPECT_EQ(onCut.CutAtValue(4.0, 7.0), -1.0);
}

TEST_F(ProxyCurveTest, CutAtYearTakesTheYearsOfTheFileWithBothBoundsInclusive)
{
    // Years 500 to 20000; the year-0 point (value 0) is added but is not in range.
    CProxyCurve curve(Curve("Proxy_Data Y\n500 2\n1000 4\n10000 6\n20000 5\n"));
    ASSERT_EQ(curve.pointCount, 5);
    EXPECT_GT(curve.CutAtYear(500.0, 100.0), 0.0);
    EXPECT_DOUBLE_EQ(curve.cutValue, 2.0);
    EXPECT_GT(curve.CutAtYear(20000.0, 100.0), 0.0);
    EXPECT_DOUBLE_EQ(curve.cutValue, 5.0);
    EXPECT_GT(curve.CutAtYear(15500.0, 100.0), 0.0); // 6 - 0.55 * (6 - 5)
    EXPECT_NEAR(curve.cutValue, 5.45, kValueTolerance);
    EXPECT_TRUE(m_messages.Messages().empty());
    EXPECT_EQ(curve.CutAtYear(0.0, 100.0), -1.0);
    EXPECT_EQ(curve.CutAtYear(20000.5, 100.0), -1.0);
    EXPECT_EQ(m_messages.Messages(), (Texts{kOutOfRange, kOutOfRange}));

    // Descending years: 300 lies within 100..500 but no pair ascends across it.
    m_messages.Clear();
    CProxyCurve descending(Curve("Proxy_Data D\n500 1\n100 2\n"));
    EXPECT_EQ(descending.CutAtYear(300.0, 10.0), -1.0);
    EXPECT_TRUE(m_messages.Messages().empty());
}

TEST_F(ProxyCurveTest, TheYearZeroPointAndMerging)
{
    CProxyCurve three(Curve("Proxy_Data A\n500 3.0\n1000 3.5\n1500 3.2\n"));
    EXPECT_EQ(three.years, (Doubles{0.0, 500.0, 1000.0, 1500.0}));
    EXPECT_NEAR(three.values.front(), 2.5, kValueTolerance); // 3.0 - 0.5 / 500 * 500
    EXPECT_NEAR(three.valueMin, 2.5, kValueTolerance);
    EXPECT_DOUBLE_EQ(three.yearMin, 500.0);
    EXPECT_EQ(CProxyCurve(Curve("Proxy_Data B\n500 3.0\n1000 3.5\n")).pointCount, 2);
    EXPECT_EQ(CProxyCurve(Curve("Proxy_Data C\n0.01 3.0\n1000 3.5\n2000 3.2\n")).pointCount, 3);

    // Values 2, 4, 8 within a thousandth of a year: ((2 + 4) / 2 + 8) / 2 = 5.5.
    CProxyCurve run(Curve("Proxy_Data R\n0 1\n100 2\n100.0004 4\n100.0008 8\n200 1\n"));
    EXPECT_EQ(run.years, (Doubles{0.0, 100.0, 200.0}));
    EXPECT_EQ(run.values, (Doubles{1.0, 5.5, 1.0}));
    EXPECT_DOUBLE_EQ(run.valueMax, 5.5);

    // Duplicate first ages: the year-0 point follows the merged line (500, 3)-(1000, 5).
    CProxyCurve first(Curve("Proxy_Data F\n500 2\n500 4\n1000 5\n"));
    EXPECT_EQ(first.years, (Doubles{0.0, 500.0, 1000.0}));
    EXPECT_NEAR(first.values.front(), 1.0, kValueTolerance);

    // Extremes are those of the data, however far they lie.
    CProxyCurve big(Curve("Proxy_Data Big\n20000000 250000\n30000000 300000\n"));
    EXPECT_DOUBLE_EQ(big.yearMin, 2e7);
    EXPECT_DOUBLE_EQ(big.valueMin, 250000.0);
    EXPECT_EQ(big.CutAtValue(200000.0, 10.0), -1.0);
}

TEST_F(ProxyCurveTest, FilesThatCannotBeReadAsACurveFailWithTheirMessage)
{
    auto line = [](int n) {
        return "Proxy data file is not correct: line " + std::to_string(n) + " does not hold a year and a proxy value!";
    };
    const std::pair<std::string, std::string> cases[] = {
        {"Proxy_data X\n0 1\n10 2\n", "Proxy data file is not correct!"},
        {"", "Proxy data file is not correct!"},
        {"Proxy_Data X\n", "Proxy data are too little!"},
        {"Proxy_Data X\n0 1\n10 2\n20\n", line(4)},
        {"Proxy_Data X\n0 1\n\n# note\n20 3\n", line(4)},
        {"Proxy_Data X\n0 1\n10 nan\n", line(3)},
    };
    for (const auto& [text, message] : cases) {
        SCOPED_TRACE(text);
        m_messages.Clear();
        CProxyCurve curve(Curve(text));
        EXPECT_EQ(curve.pointCount, 0);
        EXPECT_EQ(curve.CutAtValue(1.5, 10.0), -1.0);
        EXPECT_EQ(curve.CutAtYear(5.0, 10.0), -1.0);
        EXPECT_EQ(m_messages.Messages(), Texts{message});
    }
    m_messages.Clear();
    CProxyCurve missing(m_dir.File("no-such.dat"));
    CProxyCurve folder(m_dir.Path());
    EXPECT_EQ(m_messages.Messages(), (Texts{"Can not find Proxy data file!", "Can not find Proxy data file!"}));
}

} // namespace
} // namespace qex
