// Numbers at the limits: files holding values near 1e308, typed values at the
// ends of their ranges, and inputs for which a formula has no value. No result
// may print "nan" or "inf"; where there is no value, a message says why and
// nothing is appended.

#include "core/Message.h"
#include "geomag/ExposureAge.h"
#include "geomag/ExposureAgeResult.h"
#include "geomag/GeomagneticIntensityData.h"
#include "geomag/GeomagneticPoleData.h"
#include "proxy/CutResults.h"
#include "proxy/PlotData.h"
#include "proxy/ProxyCurve.h"
#include "proxy/SimulationCalculation.h"
#include "scaling/Nuclide.h"
#include "tests/core/SimulationTestCurves.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cctype>
#include <cstdlib>

namespace qex {
namespace {

using test::AllFinite;
using test::TempDir;
using Texts = std::vector<std::string>;

std::string Joined(const std::vector<std::string>& lines)
{
    std::string text;
    for (const auto& line : lines)
        text += line + "\n";
    return text;
}

TEST(HugeValues, ProxyCurvesNear1e308CutToFiniteAges)
{
    TempDir dir;
    CMessageRecorder messages;
    const std::string path = dir.File("huge.dat");
    test::WriteFile(path, "Proxy_Data\nHuge\n0 -1e308\n1000 1e308\n2000 -1e308\n3000 1e308\n");
    CProxyCurve curve(path);
    ASSERT_TRUE(curve.IsLoaded());
    // By hand: below the cut is the present's side; the curve leaves it at
    // 500 and 2500 and returns at 1500. Exposure 500 + 500 + 500 reaches 1500
    // at 2500: burial 1000, total 1500 + 2500 - 1500.
    EXPECT_EQ(curve.CutAtValue(0.0, 1500.0), 2500.0);
    EXPECT_EQ(curve.crossings, (std::vector<double>{500.0, 1500.0}));
    EXPECT_EQ(curve.burialAge, 1000.0);
    EXPECT_EQ(curve.totalAge, 2500.0);
    // The plot shades the same walk: exposure to 500, burial to 1500, exposure to 2500 (kyr / 1000).
    const std::vector<HistoryStretch> shaded = MakeCutHistoryPlot(curve).stretches;
    ASSERT_EQ(shaded.size(), 3u);
    EXPECT_EQ(shaded[1].kind, StretchKind::Burial);
    EXPECT_EQ(shaded[1].start, 0.5);
    EXPECT_EQ(shaded[1].end, 1.5);
    EXPECT_EQ(shaded[2].end, 2.5);
    // A quarter of the way from -1e308 to 1e308 is -5e307, not infinity.
    EXPECT_GT(curve.CutAtYear(250.0, 100.0), 0.0);
    EXPECT_DOUBLE_EQ(curve.cutValue, -5e307);

    // Years spanning the whole range: below the cut from -1e308 to -5e307 and
    // from 5e307 to 1e308, 1e308 years of exposure in all, none of it buried;
    // the total is the exposure plus a burial of 0, summed without overflow.
    test::WriteFile(path, "Proxy_Data\nWide\n-1e308 0\n0 1\n1e308 0\n");
    CProxyCurve wide(path);
    EXPECT_EQ(wide.CutAtValue(0.5, 1.5e308), 1e308);
    EXPECT_EQ(wide.burialAge, 0.0);
    EXPECT_EQ(wide.totalAge, 1.5e308);
    EXPECT_TRUE(messages.Messages().empty());
}

TEST(HugeValues, ACutValueOf1e300IsListedWhole)
{
    TempDir dir;
    test::WriteFile(dir.File("c.dat"), "Proxy_Data\nTall\n0 0\n1 1e301\n2 0\n");
    CutInputs in;
    in.path = dir.File("c.dat");
    in.cutByAge = false;
    in.cutValue = 1e300;
    in.exposureAge = 1.0;
    CResultList list;
    ASSERT_EQ(AppendCutResults(in, list), CutOutcome::Result);
    // printf's "%.3f" of 1e300, as Python prints it: 301 digits and three decimals.
    const std::string digits =
        "1000000000000000052504760255204420248704468581108159154915854115511802457988908195786371375080447864"
        "0437044438328838781769425232353604305756447921847867069828483872009265758037378302337947880900593689"
        "5323497079994508111903896764088007465274278014249457925878882005684283811566947219638686545940054016"
        "0.000";
    EXPECT_EQ(list.Lines().at(4), "Cut Value              :   " + digits);
}

TEST(HugeValues, TheSimulationReportAndGeomagneticDataStayFinite)
{
    TempDir dir;
    // Values near the top of the range; the last year as old as the Earth
    // allows (a curve older than that is refused, nothing written).
    const std::string older = test::WriteCurve(
        dir, "older.dat", "Proxy_Data\nHuge\n0 -1e308\n20000 1e308\n40000 -1e308\n60000 1e308\n1e308 -1e308\n");
    const std::string curve = test::WriteCurve(
        dir, "huge.dat", "Proxy_Data\nHuge\n0 -1e308\n20000 1e308\n40000 -1e308\n60000 1e308\n4.5e9 -1e308\n");
    SimulationInputs in;
    in.proxyFile = older;
    in.outputFile = dir.File("report.txt");
    CResultList list;
    CMessageRecorder messages;
    EXPECT_FALSE(AppendSimulationWithUncertainties(in, list));
    EXPECT_FALSE(test::FileExists(in.outputFile));
    in.proxyFile = curve;
    AppendSimulationWithUncertainties(in, list);
    ASSERT_TRUE(test::FileExists(in.outputFile));
    const std::string report = test::ReadFile(in.outputFile);
    EXPECT_TRUE(AllFinite(report)) << report.substr(0, 2000);
    EXPECT_TRUE(AllFinite(Joined(list.Lines())));

    // A midpoint between two ages near the top of the range is not infinite.
    CGeomagneticIntensityData intensities(dir.File("none.dat"));
    intensities.LoadText("Geomagnetic_Intensity_Data\nI\n0 1e308\n1.5e308 1e308\n1.7e308 -1e308\n");
    // (0, 1e308), the midpoint (0.75e308, 1e308), (1.5e308, 1e308), the midpoint (1.6e308, 0), (1.7e308, -1e308).
    ASSERT_EQ(intensities.pointCount, 5);
    EXPECT_DOUBLE_EQ(intensities.intensities.at(3), 0.0);
    EXPECT_DOUBLE_EQ(intensities.years.at(1), 0.75e308);
    EXPECT_DOUBLE_EQ(intensities.intensities.at(1), 1e308);
    EXPECT_TRUE(AllFinite(intensities.FileText()));

    // Poles at the edges of the globe (a pole off it is refused) give
    // geomagnetic latitudes within -90..90.
    CGeomagneticPoleData poles(dir.File("none.dat"));
    poles.LoadText("Geomagnetic_Pole_Data\nP\n0 -90 -360\n0.0005 -90 360\n1000 90 0\n");
    ASSERT_EQ(poles.pointCount, 2);
    EXPECT_EQ(poles.poleLatitudes.at(0), -90.0);
    poles.ComputeGeomagneticLatitudes(45.0, 10.0);
    for (double m : poles.geomagneticLatitudes)
        EXPECT_TRUE(m >= -90.0 && m <= 90.0) << m;
    EXPECT_NEAR(poles.geomagneticLatitudes.at(1), 45.0, 1e-9); // the pole at 90 gives the site's own latitude

    // The corrected age on records whose intensities are huge: an age or a
    // message, never a number that is not one.
    CGeomagneticIntensityData strong(dir.File("none.dat"));
    strong.LoadText("Geomagnetic_Intensity_Data\nI\n0 1e308\n500 1e308\n1000 1e308\n");
    CGeomagneticPoleData polar(dir.File("none.dat"));
    polar.LoadText("Geomagnetic_Pole_Data\nP\n0 90 0\n500 90 0\n1000 90 0\n");
    CSampleSite site;
    site.latitude = 10.0;
    CNuclide be10;
    be10.Init(kBe10);
    be10.concentration = 6000.0;
    messages.Clear();
    const ResultPair age = site.GeomagneticExposureAge(&polar, &strong, &be10, 0.0);
    EXPECT_TRUE(std::isfinite(age.first));
    if (age.first < 0.0) {
        EXPECT_EQ(messages.Messages().size(), 1u);
    }
}

TEST(EdgeValues, ExposureAgesWithoutAValueSayWhyAndAppendNothing)
{
    TempDir dir;
    CMessageRecorder messages;
    CResultList list;
    auto ageOf = [&](const ExposureInputs& in) {
        list.CleanUp();
        messages.Clear();
        if (!AppendExposureAge(in, list))
            return std::nan("");
        EXPECT_TRUE(messages.Messages().empty());
        return std::atof(list.Lines().at(1).substr(std::string("Exposure Age:   ").size()).c_str());
    };

    // Without erosion the free path plays no part, a zero one included: the
    // default sample's age of about 540929.3 years.
    ExposureInputs in;
    in.freePath = 0.0;
    EXPECT_NEAR(ageOf(in), 540929.3, 0.1);
    // A zero concentration is exposed for no time: "0.000000", not "-0.000000".
    in.concentration = 0.0;
    EXPECT_EQ(ageOf(in), 0.0);
    EXPECT_EQ(list.Lines().at(1), "Exposure Age:   0.000000");

    struct Case {
        const char* what;
        std::function<void(ExposureInputs&)> set;
        const char* message;
    };
    const std::vector<Case> cases = {
        {"no production", [](ExposureInputs& e) { e.productionRate = 0.0; },
         "The production rate at this site is zero: no exposure age."},
        {"a full shield", [](ExposureInputs& e) { e.shield = 0.0; },
         "The production rate at this site is zero: no exposure age."},
        {"the largest concentration", [](ExposureInputs& e) { e.concentration = 1e9; },
         "The concentration is at or above what production at this site can sustain: no exposure age."},
        {"the largest erosion", [](ExposureInputs& e) { e.erosion = 1000.0; },
         "The concentration is at or above what production at this site can sustain: no exposure age."},
        // The standard atmosphere's temperature reaches 0 K at 288.15 / 0.0065 = 44330.8 m.
        {"the highest altitude", [](ExposureInputs& e) { e.altitude = 100000.0; },
         "The altitude 100000 m lies above the top of the standard atmosphere: no exposure age."},
    };
    const std::string records = test::SourceDir() + "/examples/geomag/";
    for (const Case& c : cases) {
        for (bool geomagnetic : {false, true}) {
            SCOPED_TRACE(std::string(c.what) + (geomagnetic ? " corrected" : ""));
            ExposureInputs e;
            e.magneticCorrection = geomagnetic;
            e.polePath = records + "pole02.dat";
            e.intensityPath = records + "pmagstack1.dat";
            e.tablePath = dir.File("omr.txt");
            if (geomagnetic && std::string(c.what) == "a full shield")
                continue; // the corrected age takes no shield
            c.set(e);
            EXPECT_TRUE(std::isnan(ageOf(e)));
            EXPECT_TRUE(list.Lines().empty());
            EXPECT_EQ(messages.Messages(), Texts{c.message});
        }
    }
    // 44330 m is still inside the atmosphere.
    ExposureInputs high;
    high.altitude = 44330.0;
    EXPECT_GT(ageOf(high), 0.0);
}

TEST(EdgeValues, SimulationInputsWithoutAValueSayWhyInOneMessage)
{
    TempDir dir;
    const std::string curve = test::WriteCurve(dir, "alternating.dat", test::AlternatingCurveText());
    const std::string zeroN = "The measured 10Be and 26Al concentrations must be above zero: no simulation.";
    const std::string zeroP = "The 10Be and 26Al production rates must be above zero: no simulation.";
    // 12.7 atoms/g/yr sustain at most 12.7 / (ln 2 / 1.5e6) = 2.75e7 atoms/g of 10Be.
    const std::string saturated = "The 10Be concentration is at or above what production can sustain: no simulation.";
    // 8000000 / 1165000 = 6.867 against 77.7 / 12.7 = 6.118.
    const std::string above = "The measured 26Al/10Be ratio 6.87 is above the production ratio 6.12: no burial "
                              "history can produce it.";
    // 7130000 / 1165000 = 6.12017 and 77.7 / 12.7 = 6.11811: alike to two decimals, apart at three.
    const std::string justAbove = "The measured 26Al/10Be ratio 6.120 is above the production ratio 6.118: no "
                                  "burial history can produce it.";
    const std::vector<std::pair<std::function<void(SimulationInputs&)>, std::string>> cases = {
        {[](SimulationInputs& s) { s.be10 = 0.0; }, zeroN},
        {[](SimulationInputs& s) { s.al26 = 0.0; }, zeroN},
        {[](SimulationInputs& s) { s.be10Production = 0.0; }, zeroP},
        {[](SimulationInputs& s) { s.be10 = 1e8; }, saturated},
        {[](SimulationInputs& s) { s.al26 = 8000000.0; }, above},
        {[](SimulationInputs& s) { s.al26 = 7130000.0; }, justAbove},
    };
    for (bool single : {true, false}) {
        for (const auto& [set, reason] : cases) {
            SCOPED_TRACE(reason);
            SimulationInputs in;
            in.proxyFile = curve;
            in.outputFile = dir.File("r.txt");
            set(in);
            CResultList list;
            CMessageRecorder messages;
            EXPECT_FALSE(single ? AppendSingleSimulation(in, list) : AppendSimulationWithUncertainties(in, list));
            EXPECT_TRUE(list.Lines().empty());
            // The reason alone: "Calculation Error!" after it would say nothing more.
            EXPECT_EQ(messages.Messages(), Texts{reason});
        }
    }
}

} // namespace
} // namespace qex
