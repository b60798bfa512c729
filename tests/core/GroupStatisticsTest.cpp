// The statistics of a group of ages against hand calculations: the weighted
// mean, its uncertainties and the MSWD with its probability; the outliers the
// generalised ESD test and Chauvenet's criterion name, with critical values
// from published tables; the weighted line of a transect; and a batch output
// read back in groups.

#include "batch/GroupSummary.h"

#include <gtest/gtest.h>
#include <cmath>

namespace qex {
namespace {

// Eight moraine boulders (kyr), internal 0.5 kyr each; the last one carries
// inheritance. External: the internal and 5 % of the age in quadrature, so
// every sample's relative production-rate share is 0.05 exactly.
std::vector<GroupValue> Moraine()
{
    std::vector<GroupValue> values;
    for (double age : {20.0, 20.4, 19.6, 20.2, 19.8, 20.1, 19.9, 25.0})
        values.push_back({age, 0.5, std::hypot(0.5, 0.05 * age)});
    return values;
}

TEST(GroupStatistics, WeightedMeanMswdAndProbabilityMatchHandCalculations)
{
    // By hand. Equal errors make the weighted mean the plain one.
    // All eight: sum 165, mean 20.625; sum (x - 20)^2 = 0.42 + 25 = 25.42, so
    // sum (x - 20.625)^2 = 25.42 - 8 * 0.625^2 = 22.295; chi2 = 22.295 / 0.25
    // = 89.18, MSWD = 89.18 / 7; sd = sqrt(22.295 / 7).
    // The first seven: mean 20, sum of squares 0.42, chi2 1.68 over 6 dof;
    // for even dof, P = exp(-x/2) (1 + x/2 + (x/2)^2/2) with x/2 = 0.84.
    // Three values 9, 10, 11 +/- 1: chi2 = 2 over 2 dof, MSWD 1 by
    // construction, P = exp(-1).
    struct Case {
        const char* what;
        std::vector<GroupValue> values;
        std::vector<bool> use;
        double mean, sd, weighted, internal, external, mswd, probability;
    } cases[] = {
        {"eight with the outlier", Moraine(), {}, 20.625, std::sqrt(22.295 / 7), 20.625, 0.5 / std::sqrt(8.0),
         std::hypot(0.5 / std::sqrt(8.0), 0.05 * 20.625), 89.18 / 7, -1.0},
        {"the seven kept", Moraine(), {true, true, true, true, true, true, true, false}, 20.0, std::sqrt(0.42 / 6),
         20.0, 0.5 / std::sqrt(7.0), std::hypot(0.5 / std::sqrt(7.0), 1.0), 0.28,
         std::exp(-0.84) * (1.0 + 0.84 + 0.84 * 0.84 / 2.0)},
        {"MSWD 1 by construction", {{9.0, 1.0, 1.0}, {10.0, 1.0, 1.0}, {11.0, 1.0, 1.0}}, {}, 10.0, 1.0, 10.0,
         1.0 / std::sqrt(3.0), 1.0 / std::sqrt(3.0), 1.0, std::exp(-1.0)},
        // Unequal errors: weights 1 and 1/4 give (10 + 15/4) / 1.25 = 11; chi2 = 1 + (4/2)^2 = 5 over 1 dof.
        {"unequal errors", {{10.0, 1.0, 1.0}, {15.0, 2.0, 2.0}}, {}, 12.5, std::sqrt(12.5), 11.0,
         1.0 / std::sqrt(1.25), 1.0 / std::sqrt(1.25), 5.0, std::erfc(std::sqrt(5.0 / 2.0))},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const GroupStatistics s = ComputeGroupStatistics(c.values, c.use);
        EXPECT_NEAR(s.mean, c.mean, 1e-9);
        EXPECT_NEAR(s.sd, c.sd, 1e-9);
        EXPECT_NEAR(s.weightedMean, c.weighted, 1e-9);
        EXPECT_NEAR(s.weightedInternal, c.internal, 1e-9);
        EXPECT_NEAR(s.weightedExternal, c.external, 1e-9);
        EXPECT_NEAR(s.mswd, c.mswd, 1e-9);
        if (c.probability >= 0.0)
            EXPECT_NEAR(s.probability, c.probability, 1e-9);
        else
            EXPECT_LT(s.probability, 1e-12); // chi2 89 on 7 dof: far out
    }
}

TEST(GroupStatistics, OutlierTestsNameTheInheritedBoulderWithTheirStatistics)
{
    // Critical values from the published tables: the GESD's lambda_i among n
    // values equals the two-sided Grubbs value for n - i + 1 values at 5 %
    // (ASTM E178, table 1: n = 8: 2.126); Chauvenet's for n = 8 is
    // Phi^-1(1 - 1/32) = 1.863 (Taylor 1997, table A).
    EXPECT_NEAR(GesdCritical(8, 1, 0.05), 2.126, 0.001);
    EXPECT_NEAR(GesdCritical(8, 2, 0.05), 2.020, 0.001);
    EXPECT_NEAR(GesdCritical(8, 3, 0.05), 1.887, 0.001);
    EXPECT_NEAR(ChauvenetCritical(8), 1.863, 0.001);

    std::vector<double> ages;
    for (const GroupValue& v : Moraine())
        ages.push_back(v.value);
    // The boulder of 25 kyr: |25 - 20.625| / sqrt(22.295 / 7). Next in line
    // for the GESD, 20.4 among the seven: 0.4 / sqrt(0.42 / 6) < 2.020.
    const double statistic = 4.375 / std::sqrt(22.295 / 7);
    for (OutlierTest test : {OutlierTest::Gesd, OutlierTest::Chauvenet}) {
        SCOPED_TRACE(std::string(OutlierTestName(test)));
        const std::vector<Outlier> found = FindOutliers(ages, test, 0.05);
        ASSERT_EQ(found.size(), 1u);
        EXPECT_EQ(found[0].index, 7u);
        EXPECT_NEAR(found[0].statistic, statistic, 1e-9);
        EXPECT_NEAR(found[0].critical, test == OutlierTest::Gesd ? 2.126 : 1.863, 0.001);
    }
    EXPECT_TRUE(FindOutliers(ages, OutlierTest::None, 0.05).empty());
    // Seven that agree have none.
    ages.pop_back();
    EXPECT_TRUE(FindOutliers(ages, OutlierTest::Gesd, 0.05).empty());
}

TEST(GroupStatistics, TransectLineAndRateMatchHandCalculation)
{
    // Ages 10 + 0.01 z (kyr, z in m) at 1000, 1100, 1200 m, 1 kyr each: by
    // hand S = 3, Sx = 3300, Sxx = 3.65e6, Delta = 3 * 3.65e6 - 3300^2 = 6e4,
    // var b = S / Delta = 5e-5; the rate 1/b = 100 m/kyr, sigma_b / b^2.
    WeightedLine line;
    ASSERT_TRUE(FitWeightedLine({1000.0, 1100.0, 1200.0}, {20.0, 21.0, 22.0}, {1.0, 1.0, 1.0}, line));
    EXPECT_NEAR(line.slope, 0.01, 1e-12);
    EXPECT_NEAR(line.intercept, 10.0, 1e-9);
    EXPECT_NEAR(line.varianceSlope, 5e-5, 1e-15);
    EXPECT_NEAR(line.varianceIntercept, 3.65e6 / 6e4, 1e-9);
    EXPECT_NEAR(line.covariance, -3300.0 / 6e4, 1e-12);
    const TransectRate rate = RateOf(line);
    EXPECT_NEAR(rate.rate, 100.0, 1e-9);
    EXPECT_NEAR(rate.sigma, std::sqrt(5e-5) / 1e-4, 1e-6);
    EXPECT_FALSE(FitWeightedLine({5.0, 5.0}, {1.0, 2.0}, {1.0, 1.0}, line));
}

TEST(GroupSummary, BatchOutputIsReadInGroupsWithFailedRowsNamed)
{
    // Years in the file, kyr in the summary; a failed row and a row without
    // a value are named, not summarised; erosion rates are read alike.
    const std::string ages = "sample,landform,elevation,exposure_age_yr,internal_uncertainty_yr,"
                             "external_uncertainty_yr,error\n"
                             "A1,M1,100,9000,1000,1500,\n"
                             "A2,M1,200,10000,1000,1500,\n"
                             "A3,M1,300,11000,1000,1500,\n"
                             "\"B1\x1b[31m\xff\",M2,,20000,500,900,\n"
                             "B2,M2,,,,,Concentration out of range\n"
                             "B3,M2,,abc,500,900,\n";
    SummaryTable table;
    std::string error;
    ASSERT_TRUE(ReadSummaryText(ages, {}, table, error)) << error;
    EXPECT_EQ(table.quantity.unit, "kyr");
    ASSERT_EQ(table.groups.size(), 2u);
    EXPECT_EQ(table.groups[0].name, "M1");
    EXPECT_NEAR(table.groups[0].all.weightedMean, 10.0, 1e-12);
    EXPECT_NEAR(table.groups[0].all.mswd, 1.0, 1e-12);
    ASSERT_TRUE(table.groups[0].transect);
    EXPECT_NEAR(RateOf(table.groups[0].line).rate, 100.0, 1e-9); // 100 m per kyr
    ASSERT_EQ(table.groups[1].samples.size(), 1u);
    // A name's control and broken bytes are written out, never drawn or printed as they are.
    EXPECT_EQ(table.groups[1].samples[0].name, "B1\\x1b[31m\\xff");
    ASSERT_EQ(table.groups[1].leftOut.size(), 2u);
    EXPECT_NE(table.groups[1].leftOut[0].find("Concentration out of range"), std::string::npos);
    EXPECT_NE(table.groups[1].leftOut[1].find("'abc' is not a number"), std::string::npos);

    ASSERT_TRUE(ReadSummaryText("sample,erosion_rate_m_per_myr,erosion_internal_m_per_myr,erosion_external_m_per_myr\n"
                                "E1,2,0.1,0.2\nE2,4,0.2,0.4\n",
                                {}, table, error));
    EXPECT_EQ(table.quantity.unit, "m/Myr");
    // Weights 100 and 25: (200 + 100) / 125.
    EXPECT_NEAR(table.groups.at(0).all.weightedMean, 2.4, 1e-12);

    for (const char* text : {"", "sample,age\nA,1\n", "sample,exposure_age_yr\nA,1\n",
                             "sample,exposure_age_yr,internal_uncertainty_yr,external_uncertainty_yr\nA,,,\n"}) {
        SCOPED_TRACE(text);
        EXPECT_FALSE(ReadSummaryText(text, {}, table, error));
        EXPECT_FALSE(error.empty());
    }
}

} // namespace
} // namespace qex
