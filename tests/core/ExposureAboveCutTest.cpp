// Exposure above the cut: the simulation and the cut results of a curve read
// with every value negated are those of the negated file, value for value,
// with every cut value shown in the curve's own units (a cut of zero as 0,
// never -0), and ranges taken in those units.

#include "core/Message.h"
#include "proxy/CutResults.h"
#include "proxy/SimulationCalculation.h"
#include "tests/core/SimulationTestCurves.h"

#include <gtest/gtest.h>
#include <cstdlib>
#include <sstream>

namespace qex {
namespace {

using namespace test;

// The curve's text with every value negated as text: "-390.9" becomes
// "390.9" and "3.0" "-3.0", which read back as exactly the negated numbers.
std::string NegatedCurveText(const std::string& text)
{
    const auto lines = Lines(text);
    std::string out = lines.at(0) + "\n" + lines.at(1) + "\n";
    for (std::size_t i = 2; i < lines.size(); ++i) {
        std::istringstream fields(lines[i]);
        std::string year;
        std::string value;
        fields >> year >> value;
        out += year + " " + (value.front() == '-' ? value.substr(1) : "-" + value) + "\n";
    }
    return out;
}

double NumberAfter(const std::string& line, char separator)
{
    return std::atof(line.substr(line.find(separator) + 1).c_str());
}

// A line that holds a cut value, and where its number starts.
bool HoldsCutValue(const std::string& line)
{
    return line.rfind("Cut Value", 0) == 0 || line.rfind("Cutoff Value", 0) == 0;
}

// The lines of a calculation above the cut against those of the negated
// curve: equal, but for the line that names the option and the cut values,
// which are negated, a minimum being the negated maximum.
void ExpectNegatedCutValues(std::vector<std::string> above, const std::vector<std::string>& negated)
{
    const auto named = std::find(above.begin(), above.end(), kExposureAboveCutLine);
    ASSERT_NE(named, above.end());
    above.erase(named);
    ASSERT_EQ(above.size(), negated.size());
    for (std::size_t i = 0; i < above.size(); ++i) {
        if (!HoldsCutValue(above[i])) {
            EXPECT_EQ(above[i], negated[i]);
            continue;
        }
        std::size_t other = i;
        if (above[i].rfind("Cutoff Value Minimum", 0) == 0)
            other = i + 1;
        if (above[i].rfind("Cutoff Value Maximum", 0) == 0)
            other = i - 1;
        EXPECT_NEAR(NumberAfter(above[i], ':'), -NumberAfter(negated.at(other), ':'), 5e-6) << above[i];
    }
}

// The report's lines: headed by the option's line, then the cut value of
// each of the 998 lines after the column header and of the best fit
// negated, everything else equal.
void ExpectNegatedReport(const std::string& above, const std::string& negated)
{
    const std::string heading = std::string(kExposureAboveCutLine) + "\n";
    ASSERT_EQ(above.rfind(heading, 0), 0u);
    const auto a = Lines(above.substr(heading.size()));
    const auto n = Lines(negated);
    ASSERT_EQ(a.size(), n.size());
    ASSERT_GT(a.size(), 1001u);
    ASSERT_EQ(a[2].rfind("Cut_value,", 0), 0u);
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (i >= 3 && i < 3 + 998) {
            EXPECT_NEAR(std::atof(a[i].c_str()), -std::atof(n[i].c_str()), 5e-4) << a[i];
            EXPECT_EQ(a[i].substr(a[i].find(',')), n[i].substr(n[i].find(','))) << a[i];
        } else if (a[i].rfind("Cut Value:", 0) == 0) {
            EXPECT_NEAR(NumberAfter(a[i], ':'), -NumberAfter(n[i], ':'), 5e-6);
        } else {
            EXPECT_EQ(a[i], n[i]);
        }
    }
}

class ExposureAboveCut : public ::testing::Test {
protected:
    TempDir dir;
    // The bundled EPICA Dome C deltaD record, where high means warm, and the same negated.
    const std::string warm = SourceDir() + "/examples/proxy/EDC-dD.dat";
    const std::string negated = WriteCurve(dir, "negated.dat", NegatedCurveText(ReadFile(warm)));
};

TEST_F(ExposureAboveCut, TheSimulationIsThatOfTheNegatedCurve)
{
    // Both calculations of the dialog, with and without erosion.
    for (const bool single : {true, false}) {
        SCOPED_TRACE(single);
        SimulationInputs above;
        above.proxyFile = warm;
        above.outputFile = dir.File("above.txt");
        above.exposureAboveCut = true;
        above.single = single;
        above.aerialErosion = single ? 0.0 : 0.2;
        SimulationInputs plain = above;
        plain.proxyFile = negated;
        plain.outputFile = dir.File("plain.txt");
        plain.exposureAboveCut = false;
        CResultList aboveList;
        CResultList plainList;
        CMessageRecorder messages;
        SimulationDetail detail;
        ASSERT_TRUE(AppendSimulation(above, aboveList, &detail));
        ASSERT_TRUE(AppendSimulation(plain, plainList));
        ExpectNegatedCutValues(aboveList.Lines(), plainList.Lines());
        ExpectNegatedReport(ReadFile(above.outputFile), ReadFile(plain.outputFile));
        // The plots see the curve in its own units: deltaD of -390.9 permil at 38.4 yr.
        EXPECT_EQ(detail.values.at(1), -390.9);
    }
}

TEST_F(ExposureAboveCut, TheCutIsThatOfTheNegatedCurve)
{
    for (const bool byAge : {true, false}) {
        CutInputs above;
        above.path = warm;
        above.exposureAboveCut = true;
        above.cutByAge = byAge;
        above.cutValue = -400.0; // permil, in the curve's own units
        CutInputs plain = above;
        plain.path = negated;
        plain.exposureAboveCut = false;
        plain.cutValue = 400.0;
        CResultList aboveList;
        CResultList plainList;
        ProxyHistoryPlot plot;
        ASSERT_EQ(AppendCutResults(above, aboveList, &plot), CutOutcome::Result);
        ASSERT_EQ(AppendCutResults(plain, plainList), CutOutcome::Result);
        ExpectNegatedCutValues(aboveList.Lines(), plainList.Lines());
        EXPECT_NEAR(plot.cutValue, NumberAfter(aboveList.Lines().at(4), ':'), 5e-4);
    }
}

TEST(ExposureAboveCutZero, ACutOfZeroShowsAsZero)
{
    TempDir dir;
    // Negated, the curve runs from -1 at the present to 1: cut value k = 500
    // is -1 + 500 * 0.001 * 2 = 0.
    const std::string curve = WriteCurve(dir, "symmetric.dat", "Proxy_Data\nSym\n0 1\n1000 -1\n2000 1\n3000 -1\n");
    SimulationInputs in;
    in.proxyFile = curve;
    in.outputFile = dir.File("r.txt");
    in.exposureAboveCut = true;
    in.single = true;
    CResultList list;
    CMessageRecorder messages; // 3000 years hold no best fit; the report is written all the same
    AppendSimulation(in, list);
    const std::string report = ReadFile(dir.File("r.txt"));
    EXPECT_NE(report.find("\n     0.000,"), std::string::npos);
    EXPECT_EQ(report.find("-0.000"), std::string::npos);

    CutInputs cut;
    cut.path = curve;
    cut.exposureAboveCut = true;
    cut.cutByAge = false;
    cut.cutValue = 0.0;
    list.CleanUp();
    ASSERT_EQ(AppendCutResults(cut, list), CutOutcome::Result);
    EXPECT_EQ(list.Lines().at(4), "Cut Value              :   0.000     ");
}

} // namespace
} // namespace qex
