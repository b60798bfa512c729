// Half-lives other than the original 1.5 and 0.71 Myr: the exposure age
// decays with them, and every block computed with them ends by naming them
// (before its closing empty line), while the original ones add nothing.

#include "core/Message.h"
#include "geomag/ExposureAgeResult.h"
#include "proxy/SimulationCalculation.h"
#include "tests/core/SimulationTestCurves.h"

#include <gtest/gtest.h>
#include <cmath>
#include <cstdlib>
#include <functional>

namespace qex {
namespace {

using namespace test;

constexpr HalfLives kToday{1387000.0, 705000.0};
const std::vector<std::string> kTodayLines = {"Half-life 10Be(yr)  :   1387000", "Half-life 26Al(yr)  :   705000"};

double ValueOf(const std::string& line)
{
    return std::atof(line.substr(line.find(':') + 1).c_str());
}

// Each block, computed with the half-lives given, into a fresh list.
struct Block {
    const char* name;
    std::function<bool(const HalfLives&, CResultList&)> append;
    bool closesWithEmptyLine;
};

TEST(HalfLives, ABlockComputedWithOtherHalfLivesEndsByNamingThem)
{
    TempDir dir;
    const std::string curve = WriteCurve(dir, "alternating.dat", AlternatingCurveText());
    auto simulation = [&](bool single) {
        return [&curve, &dir, single](const HalfLives& h, CResultList& list) {
            SimulationInputs in;
            in.proxyFile = curve;
            in.outputFile = dir.File("report.txt");
            in.single = single;
            in.be10HalfLife = h.be10;
            in.al26HalfLife = h.al26;
            return AppendSimulation(in, list);
        };
    };
    const Block blocks[] = {
        {"single simulation", simulation(true), false},
        {"simulation with uncertainties", simulation(false), true},
        {"exposure age",
         [](const HalfLives& h, CResultList& list) {
             ExposureInputs in;
             in.be10HalfLife = h.be10;
             in.al26HalfLife = h.al26;
             return AppendExposureAge(in, list);
         },
         false},
    };
    for (const Block& block : blocks) {
        SCOPED_TRACE(block.name);
        CMessageRecorder messages;
        CResultList original;
        CResultList today;
        ASSERT_TRUE(block.append(HalfLives{}, original));
        ASSERT_TRUE(block.append(kToday, today));
        const auto& a = original.Lines();
        const auto& b = today.Lines();
        // The same lines up to their values (the crossings may differ), the
        // two half-lives added last but for a closing empty line.
        auto layout = [](const std::vector<std::string>& lines) {
            std::vector<std::string> labels;
            for (const std::string& line : lines)
                if (line.rfind("Intersect year", 0) != 0)
                    labels.push_back(line.substr(0, line.find(':')));
            return labels;
        };
        std::vector<std::string> expected = layout(a);
        expected.insert(expected.end() - (block.closesWithEmptyLine ? 1 : 0),
                        {"Half-life 10Be(yr)  ", "Half-life 26Al(yr)  "});
        EXPECT_EQ(layout(b), expected);
        ASSERT_GE(b.size(), 3u);
        const std::size_t end = block.closesWithEmptyLine ? b.size() - 1 : b.size();
        EXPECT_EQ(std::vector<std::string>(b.begin() + static_cast<long>(end) - 2, b.begin() + static_cast<long>(end)),
                  kTodayLines);
        // The original half-lives leave the block as it always was: no such line.
        for (const std::string& line : a)
            EXPECT_EQ(line.find("Half-life"), std::string::npos);
    }
}

// Without erosion the closed form fixes N / P = (1 - e^(-lambda T)) / lambda:
// the same concentration decayed with a shorter half-life is older,
// T' = -ln(1 - lambda' N / P) / lambda'. About 1.1 % at half a million years.
TEST(HalfLives, TheExposureAgeDecaysWithTheChosenHalfLife)
{
    // The dialog's sample (541 kyr) and one of 500 kyr.
    for (const double concentration : {2139000.0, 1995300.0}) {
        ExposureInputs in;
        in.concentration = concentration;
        CResultList original;
        ASSERT_TRUE(AppendExposureAge(in, original));
        in.be10HalfLife = kToday.be10;
        in.al26HalfLife = kToday.al26;
        CResultList today;
        ASSERT_TRUE(AppendExposureAge(in, today));
        const double t = ValueOf(original.Lines().at(1));
        const double lambda = std::log(2.0) / 1500000.0;
        const double lambdaToday = std::log(2.0) / 1387000.0;
        const double perProduction = -std::expm1(-lambda * t) / lambda; // N / P, years
        const double expected = -std::log1p(-lambdaToday * perProduction) / lambdaToday;
        EXPECT_NEAR(ValueOf(today.Lines().at(1)), expected, 1e-5 * expected) << t;
        EXPECT_GT(expected / t, 1.009);
    }

    // Production that follows the past field decays with it too.
    TempDir dir;
    ExposureInputs geomagnetic;
    geomagnetic.magneticCorrection = true;
    geomagnetic.polePath = SourceDir() + "/examples/geomag/pole02.dat";
    geomagnetic.intensityPath = SourceDir() + "/examples/geomag/pmagstack1.dat";
    geomagnetic.tablePath = dir.File("omr.txt");
    CResultList original;
    ASSERT_TRUE(AppendExposureAge(geomagnetic, original));
    geomagnetic.be10HalfLife = kToday.be10;
    CResultList today;
    ASSERT_TRUE(AppendExposureAge(geomagnetic, today));
    EXPECT_GT(ValueOf(today.Lines().at(1)), 1.005 * ValueOf(original.Lines().at(1)));
    EXPECT_EQ(today.Lines().at(2), "Half-life 10Be(yr)  :   1387000");
    EXPECT_EQ(today.Lines().at(3), "Half-life 26Al(yr)  :   710000");
}

} // namespace
} // namespace qex
