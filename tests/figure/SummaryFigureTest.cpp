// The probability plot of a group: the kept samples' summed density has unit
// area (integrated here by the trapezoid rule) and the outlier is left out
// of it; the transect's band is the line's 1-sigma.

#include "figure/SummaryFigure.h"

#include <gtest/gtest.h>
#include <cmath>

namespace qex {
namespace {

SummaryTable Moraine()
{
    // Seven ages that agree and one far off, 1 kyr each; elevations 100 m apart.
    const std::string csv = "sample,group,elevation,exposure_age_yr,internal_uncertainty_yr,external_uncertainty_yr\n"
                            "A,M,100,20000,1000,1500\nB,M,200,20400,1000,1500\nC,M,300,19600,1000,1500\n"
                            "D,M,400,20200,1000,1500\nE,M,500,19800,1000,1500\nF,M,600,20100,1000,1500\n"
                            "G,M,700,19900,1000,1500\nH,M,800,40000,1000,1500\n";
    SummaryTable table;
    std::string error;
    EXPECT_TRUE(ReadSummaryText(csv, {}, table, error)) << error;
    return table;
}

TEST(SummaryFigure, TheSumHasUnitAreaAndLeavesTheOutlierOut)
{
    const SummaryTable table = Moraine();
    ASSERT_EQ(table.groups.at(0).outliers.size(), 1u);
    const figure::Figure f = MakeProbabilityFigure(table);
    // The thickest line is the sum.
    const figure::Polyline* sum = nullptr;
    for (const figure::Item& item : f.items)
        if (const auto* line = std::get_if<figure::Polyline>(&item))
            if (!sum || line->stroke.width > sum->stroke.width)
                sum = line;
    ASSERT_NE(sum, nullptr);
    double area = 0.0, atOutlier = 0.0;
    for (std::size_t i = 1; i < sum->points.size(); ++i) {
        area += 0.5 * (sum->points[i].y + sum->points[i - 1].y) * (sum->points[i].x - sum->points[i - 1].x);
        if (std::fabs(sum->points[i].x - 40.0) < 0.2)
            atOutlier = sum->points[i].y;
    }
    EXPECT_NEAR(area, 1.0, 1e-3);
    EXPECT_LT(atOutlier, 1e-12);
}

TEST(SummaryFigure, TransectNeedsPositions)
{
    figure::Figure f;
    std::string error;
    EXPECT_TRUE(MakeTransectFigure(Moraine(), {}, f, error)) << error;
    SummaryTable none;
    EXPECT_FALSE(MakeTransectFigure(none, {}, f, error));
    EXPECT_NE(error.find("elevation or distance"), std::string::npos);
}

} // namespace
} // namespace qex
