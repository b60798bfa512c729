// Today's constants one switch away: the sets, the AMS standards, the
// atmospheres, 26Al exposure ages with their uncertainties, steady-state
// erosion rates and the site production of the simulation, each against a
// value worked out independently of the code (published, by hand or by a
// forward model written here).

#include "core/Message.h"
#include "geomag/ErosionRate.h"
#include "geomag/ExposureAgeResult.h"
#include "proxy/SimulationSite.h"

#include <gtest/gtest.h>
#include <algorithm>
#include <cmath>
#include <map>

namespace qex {
namespace {

// The Stone (2000) factor at 60 degrees or more and sea level (1013.25 hPa),
// from the 60-degree row of his table 1, with muon share f (the muon part is 1
// at sea level there).
double StoneAtSixtyDegreesSeaLevel(double f)
{
    const double p = 1013.25;
    const double spallation = 71.8733 + 863.1927 * std::exp(p / -150.0) - 0.207069 * p + 0.00020127 * p * p -
                              6.6043e-8 * p * p * p;
    return (1.0 - f) * spallation + f;
}

// The values of a block by their names.
template <class Inputs>
std::map<std::string, double> BlockValues(bool (*append)(const Inputs&, CResultList&, COutputBlocks*), const Inputs& in)
{
    CResultList list;
    COutputBlocks blocks;
    std::map<std::string, double> values;
    if (!append(in, list, &blocks))
        return values;
    for (const OutputValue& value : blocks.Values())
        values[value.name] = value.numbers.empty() ? NAN : value.numbers.front();
    return values;
}

// The inputs as a user gives them: the named ones given, the rest from the set.
template <class Inputs>
Inputs Completed(const InputTable<Inputs>& table, Inputs in, std::vector<std::string> given)
{
    const std::string why = CompleteInputs(table, in, [&given](std::string_view name) {
        return std::find(given.begin(), given.end(), name) != given.end();
    });
    EXPECT_EQ(why, "");
    return in;
}

// PH-1, the documentation sample of the online exposure age calculator of
// Balco et al. (2008): its published St age, with today's constants and the
// KNSTD concentration normalised to 07KNSTD, is 28,196 yr, internal
// uncertainty 871 yr, external 2446 yr; the 26Al age of its 26Al
// concentration follows from Stone (2000) and Lal (1991) with the current
// set, worked out independently: 26,449.1 yr.
ExposureInputs PhOne()
{
    ExposureInputs in;
    in.latitude = 41.3567;
    in.altitude = 91.0;
    in.thickness = 4.5;
    in.density = 2.65;
    in.shield = 1.0;
    in.erosion = 0.00008;
    in.constants = "current";
    return in;
}

TEST(ConstantSets, PhOneWithTodaysConstantsGivesItsPublishedAgeAndUncertainties)
{
    const std::vector<std::string> given = {"latitude", "altitude",      "thickness",     "density", "shield",
                                            "erosion",  "concentration", "concentration-err", "constants"};
    ExposureInputs be10 = PhOne();
    be10.concentration = 123453.0;
    be10.concentrationError = 3717.0;
    be10.be10Standard = "KNSTD";
    ExposureInputs al26 = PhOne();
    al26.nuclide = "al26";
    al26.concentration = 712408.0;
    al26.concentrationError = 31238.0;
    al26.al26Standard = "KNSTD";
    struct Expected {
        const char* name;
        double value;
        double tolerance; // relative
    };
    const struct {
        ExposureInputs in;
        std::vector<Expected> expected;
    } cases[] = {
        {be10,
         {{"exposure_age_yr", 28196.0, 0.03}, {"internal_uncertainty_yr", 871.0, 0.03},
          {"external_uncertainty_yr", 2446.0, 0.08}}},
        {al26, {{"exposure_age_yr", 26449.1, 1e-4}}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.in.nuclide);
        const auto values = BlockValues(AppendExposureAge, Completed(ExposureInputTable(), c.in, given));
        for (const Expected& e : c.expected) {
            ASSERT_EQ(values.count(e.name), 1u) << e.name;
            EXPECT_NEAR(values.at(e.name), e.value, e.value * e.tolerance) << e.name;
        }
    }
}

TEST(ConstantSets, TheSetGivesWhatIsNotGivenAndAnExplicitValueOverridesIt)
{
    const struct {
        const char* set;
        const char* nuclide;
        std::vector<std::string> given;
        double production, productionError, freePath, be10HalfLife;
    } cases[] = {
        {"original", "be10", {}, 5.1, 0.3, 150.0, 1.5e6},
        {"original", "al26", {}, 31.1, 1.8, 150.0, 1.5e6},
        {"current", "be10", {}, 4.01, 0.33, 160.0, 1.387e6},
        {"CURRENT", "al26", {}, 27.9, 2.8, 160.0, 1.387e6},
        // Given values stay (here the defaults of the original set).
        {"current", "be10", {"production-rate", "free-path", "be10-half-life"}, 5.1, 0.33, 150.0, 1.5e6},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.set) + " " + c.nuclide);
        ErosionInputs in;
        in.constants = c.set;
        in.nuclide = c.nuclide;
        in = Completed(ErosionInputTable(), in, c.given);
        EXPECT_EQ(in.productionRate, c.production);
        EXPECT_EQ(in.productionRateError, c.productionError);
        EXPECT_EQ(in.freePath, c.freePath);
        EXPECT_EQ(in.be10HalfLife, c.be10HalfLife);
    }
    // 26Al decays with ln 2 / 9.83e-7 in the current set (Nishiizumi 2004).
    ExposureInputs current;
    current.constants = "current";
    EXPECT_NEAR(Completed(ExposureInputTable(), current, {}).al26HalfLife, 705134.0, 1.0);
}

TEST(ConstantSets, AStandardNormalisesTheConcentrationAndItsUncertaintyFirst)
{
    // 10Be against KNSTD is 0.9042 of 07KNSTD; 26Al against ZAL94 0.9134 of KNSTD.
    const struct {
        const char* nuclide;
        const char* standard;
        double factor;
    } cases[] = {{"be10", "KNSTD", 0.9042}, {"be10", "nist_30000", 0.9313}, {"al26", "ZAL94", 0.9134},
                 {"al26", "Z92-0222", 1.0}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.standard);
        ExposureInputs measured;
        measured.uncertainties = true;
        measured.nuclide = c.nuclide;
        ExposureInputs normalised = measured;
        (std::string(c.nuclide) == "al26" ? measured.al26Standard : measured.be10Standard) = c.standard;
        normalised.concentration *= c.factor;
        normalised.concentrationError *= c.factor;
        const auto a = BlockValues(AppendExposureAge, measured);
        const auto b = BlockValues(AppendExposureAge, normalised);
        for (const char* name : {"exposure_age_yr", "internal_uncertainty_yr", "external_uncertainty_yr"})
            EXPECT_DOUBLE_EQ(a.at(name), b.at(name)) << name;
    }
}

TEST(ConstantSets, EachAtmosphereScalesWithItsPressure)
{
    // At 2500 m: Stone (2000) eq. 1, 1013.25 exp(-0.03417/0.0065 ln(288.15/(288.15 - 0.0065 z)));
    // his Antarctic form 989.1 exp(-z/7588).
    const double z = 2500.0;
    const double standard = 1013.25 * std::exp(-0.03417 / 0.0065 * std::log(288.15 / (288.15 - 0.0065 * z)));
    const double antarctic = 989.1 * std::exp(-z / 7588.0);
    for (const auto& [atmosphere, pressure] : {std::pair{"std", standard}, std::pair{"antarctic", antarctic}}) {
        SCOPED_TRACE(atmosphere);
        ExposureInputs chosen;
        chosen.altitude = z;
        chosen.atmosphere = atmosphere;
        ExposureInputs measured = chosen;
        measured.atmosphere = "pressure";
        measured.pressure = pressure;
        EXPECT_NEAR(BlockValues(AppendExposureAge, chosen).at("exposure_age_yr"),
                    BlockValues(AppendExposureAge, measured).at("exposure_age_yr"), 1e-6);
    }
    // A pressure needs atmosphere pressure, and atmosphere pressure a pressure.
    ExposureInputs alone;
    alone.pressure = 800.0;
    EXPECT_NE(CompleteInputs(ExposureInputTable(), alone, EveryInputGiven), "");
    ExposureInputs without;
    without.atmosphere = "pressure";
    EXPECT_NE(CompleteInputs(ExposureInputTable(), without, EveryInputGiven), "");
}

TEST(ErosionRate, PutBackIntoALongExposureTheRateRebuildsTheConcentration)
{
    // Sea level at 70 degrees, no thickness, no shielding: the production is
    // the set's rate times Stone's factor at 60 degrees and sea level.
    const struct {
        const char* nuclide;
        const char* set;
        const char* standard;
        double concentration, factor, production, f, halfLife, attenuation;
    } cases[] = {
        {"be10", "original", "none", 200000.0, 1.0, 5.1, 0.022, 1.5e6, 150.0},
        {"al26", "current", "ZAL94", 600000.0, 0.9134, 27.9, 0.026, std::log(2.0) / 9.83e-7, 160.0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.nuclide);
        ErosionInputs in;
        in.latitude = 70.0;
        in.density = 2.65;
        in.nuclide = c.nuclide;
        in.constants = c.set;
        in.concentration = c.concentration;
        (std::string(c.nuclide) == "al26" ? in.al26Standard : in.be10Standard) = c.standard;
        const auto values = BlockValues(AppendErosionRate, Completed(ErosionInputTable(), in, {"latitude", "density"}));
        ASSERT_EQ(values.count("erosion_rate_cm_per_yr"), 1u);
        const double epsilon = values.at("erosion_rate_cm_per_yr");
        EXPECT_NEAR(values.at("erosion_rate_m_per_myr"), epsilon * 1e4, 1e-9);
        // Lal (1991): N(t) = P / mu (1 - exp(-mu t)), mu = lambda + rho eps / Lambda, for 100 Myr.
        const double P = c.production * StoneAtSixtyDegreesSeaLevel(c.f);
        const double mu = std::log(2.0) / c.halfLife + in.density * epsilon / c.attenuation;
        const double rebuilt = P / mu * (1.0 - std::exp(-mu * 1e8));
        EXPECT_NEAR(rebuilt, c.concentration * c.factor, c.concentration * 1e-9);
    }
}

TEST(ErosionRate, AConcentrationAtOrAboveSaturationHasNoRate)
{
    CThreadMessageCapture messages;
    ErosionInputs in;
    in.concentration = 1e9; // above P / lambda of the default site, about 9.7e6
    CResultList list;
    EXPECT_FALSE(AppendErosionRate(in, list));
    EXPECT_TRUE(list.Lines().empty());
    ASSERT_EQ(messages.Messages().size(), 1u);
    EXPECT_NE(messages.Messages().front().find("saturation"), std::string::npos);
}

TEST(SimulationSite, TheSiteGivesBothProductionRatesFromTheSet)
{
    SimulationInputs in;
    in.latitude = 65.0;
    in.constants = "current";
    in = Completed(SimulationInputTable(), in, {"latitude", "constants"});
    EXPECT_NEAR(in.be10Production, 4.01 * StoneAtSixtyDegreesSeaLevel(0.022), 1e-12);
    EXPECT_NEAR(in.al26Production, 27.9 * StoneAtSixtyDegreesSeaLevel(0.026), 1e-12);
    EXPECT_EQ(in.freePath, 160.0);
    // Given rates and a site exclude each other; a site needs its latitude.
    SimulationInputs both;
    both.latitude = 65.0;
    EXPECT_NE(CompleteInputs(SimulationInputTable(), both, EveryInputGiven), "");
    SimulationInputs noLatitude;
    noLatitude.altitude = 1000.0;
    EXPECT_NE(CompleteInputs(SimulationInputTable(), noLatitude, NoInputGiven), "");
}

} // namespace
} // namespace qex
