#include "geomag/SampleSite.h"

#include "core/AtomicFile.h"
#include "core/BuildUp.h"
#include "core/Constants.h"
#include "core/Format.h"
#include "core/Message.h"
#include "corrections/ThicknessCorrection.h"
#include "geomag/ExposureAge.h"
#include "geomag/GeomagneticIntensityData.h"
#include "geomag/GeomagneticPoleData.h"
#include "scaling/Nuclide.h"
#include "scaling/ScalingSchemes.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace qex {

namespace {
// South of this latitude (degrees) the Antarctic atmosphere holds.
constexpr double kAntarcticLatitude = -60.0;
constexpr double kConverged = 0.5; // atoms/g: the modelled concentration matches
constexpr int kMostTests = 1000;   // the iteration gives up after this many tests
} // namespace

double CSampleSite::TopographicShielding()
{
    return TopographicShieldingFactor(azimuths, angles, horizonCount, dip, strike, horizon);
}

// The only place the Antarctic atmosphere is applied.
double CSampleSite::NuclideScalingFactor(const CNuclide* nuclide, double latitude, ScalingScheme scheme) const
{
    if (nuclide == nullptr) {
        ShowMessage("No Cosmogenic nuclide information!");
        return 1.0;
    }
    switch (scheme) {
    case kStone2000: {
        const double pressure =
            latitude < kAntarcticLatitude ? AntarcticPressure(altitude) : StandardAtmospherePressure(altitude);
        return StoneScalingFactor(latitude, pressure, nuclide->muonFraction);
    }
    case kLal1991:
        if (nuclide->kind == kBe10)
            return LalBeScalingFactor(latitude, altitude);
        if (nuclide->kind == kAl26)
            return LalAlScalingFactor(latitude, altitude);
        ShowMessage("Can not calculate the scaling factors for this nuclides!");
        return 1.0;
    case kDunai2000:
        return DunaiScalingFactor(latitude, altitude, nuclide->muonFraction);
    default:
        return 1.0; // no scheme: production stays unscaled
    }
}

double CSampleSite::ThicknessFactor(double attenuationLength) const
{
    return ThicknessCorrectionFactor(density, attenuationLength, thickness);
}

ResultPair CSampleSite::ProductionRate(const CNuclide* nuclide, double latitude, ScalingScheme scheme)
{
    return ProductionRate(nuclide, latitude, scheme, TopographicShielding());
}

ResultPair CSampleSite::ProductionRate(const CNuclide* nuclide, double latitude, ScalingScheme scheme,
                                       double shielding)
{
    if (nuclide == nullptr) {
        ShowMessage("No cosmogenic Informations!");
        return kNoResult;
    }
    const double scaling = NuclideScalingFactor(nuclide, latitude, scheme);
    const double thickness = ThicknessFactor(AttenuationLengthForLatitude(latitude));
    return {SiteProduction(nuclide->productionRate, scaling, thickness, shielding),
            SiteProduction(nuclide->productionRateError, scaling, thickness, shielding)};
}

ResultPair CSampleSite::ConstantExposureAge(const CNuclide* nuclide, double erosionRate)
{
    if (nuclide == nullptr) {
        ShowMessage("No cosmogenic information!");
        return kNoResult;
    }
    // The geographic latitude stands in for the geomagnetic one.
    const double attenuationLength = AttenuationLengthForLatitude(latitude);
    const ResultPair production = ProductionRate(nuclide, latitude, kStone2000);
    const double lambda = LossConstant(nuclide->decayConstant, density, erosionRate, attenuationLength);
    return ClosedFormExposureAge(production.first, production.second, nuclide->concentration,
                                 nuclide->concentrationError, lambda);
}

ResultPair CSampleSite::GeomagneticExposureAge(CGeomagneticPoleData* poles,
                                               const CGeomagneticIntensityData* intensities, const CNuclide* nuclide,
                                               double erosionRate, int* tests)
{
    if (tests != nullptr)
        *tests = 0;
    if (nuclide == nullptr) {
        ShowMessage("No cosmogenic information!");
        return kNoResult;
    }
    if (intensities == nullptr) {
        ShowMessage("No Geomagnetic Intensity Information!");
        return kNoResult;
    }
    if (poles == nullptr) {
        ShowMessage("No Geomagnetic Pole Information!");
        return kNoResult;
    }
    // Production scales with the fourth root of the field's strength.
    if (intensities->NegativeLine() > 0) {
        ShowMessage(Format("Geomagnetic Intensity file is not correct! Line %d holds a negative intensity (%.15g).",
                           intensities->NegativeLine(), intensities->NegativeValue()));
        return kNoResult;
    }
    // A record that is zero throughout holds no field at all: no data, not a past.
    if (std::all_of(intensities->intensities.begin(), intensities->intensities.end(),
                    [](double intensity) { return intensity == 0.0; })) {
        ShowMessage("Geomagnetic Intensity file is not correct! Every intensity is zero: no corrected exposure age.");
        return kNoResult;
    }

    // The records are paired by index: they must be usable as such.
    const int np = poles->pointCount;
    const int ni = intensities->pointCount;
    if (np < 2) {
        ShowMessage("The geomagnetic pole data hold fewer than two records: no corrected exposure age.");
        return kNoResult;
    }
    if (ni < np) {
        ShowMessage("The geomagnetic intensity data hold fewer records than the pole data: no corrected exposure age.");
        return kNoResult;
    }
    const std::vector<double>& t = poles->years;
    const std::vector<double>& u = intensities->years;
    const std::vector<double>& I = intensities->intensities;
    if (std::fabs(t.at(0)) >= kSameAgeYears || std::fabs(u.at(0)) >= kSameAgeYears) {
        ShowMessage("The geomagnetic data do not start at age 0: no corrected exposure age.");
        return kNoResult;
    }
    for (int i = 0; i < np; ++i) {
        const auto k = static_cast<std::size_t>(i);
        if (std::fabs(t.at(k) - u.at(k)) >= kSameAgeYears) {
            ShowMessage(Format("The geomagnetic pole and intensity records are out of step: record %d is at %.1f years "
                               "in the pole data and at %.1f years in the intensity data. No corrected exposure age.",
                               i + 1, t.at(k), u.at(k)));
            return kNoResult;
        }
    }
    for (int i = 1; i < ni; ++i) {
        const auto k = static_cast<std::size_t>(i);
        if (!(u.at(k) > u.at(k - 1)) || (i < np && !(t.at(k) > t.at(k - 1)))) {
            ShowMessage("The geomagnetic data are not in ascending order of age: no corrected exposure age.");
            return kNoResult;
        }
    }

    poles->ComputeGeomagneticLatitudes(latitude, longitude);
    const std::size_t first = poles->geomagneticLatitudes.size() - static_cast<std::size_t>(np);
    auto m = [&](int k) { return poles->geomagneticLatitudes.at(first + static_cast<std::size_t>(k)); };
    auto at = [](const std::vector<double>& v, int k) { return v.at(static_cast<std::size_t>(k)); };

    // No production, no age: said as such rather than as saturation.
    if (!(ProductionRate(nuclide, latitude, kStone2000).first > 0.0)) {
        ShowMessage("The production rate at this site is zero: no exposure age.");
        return kNoResult;
    }
    double T = ConstantExposureAge(nuclide, erosionRate).first;
    if (!std::isfinite(T) || T < 0.0) {
        ShowMessage("The concentration is at or above what production at this site can sustain: no exposure age.");
        return kNoResult;
    }

    // The site's shielding does not change with time: computed once. Unlike
    // the plain exposure age, production here follows the effective latitude
    // of the field at each time, and the site's own shielding stands for the
    // typed factor.
    const double shielding = TopographicShielding();
    auto production = [&](double L) { return ProductionRate(nuclide, L, kStone2000, shielding).first; };
    // Concentration produced at constant rate from age a to age b (years),
    // decayed and eroded to the present; the rate is returned in `rate`.
    auto step = [&](double a, double b, double L, double& rate) {
        rate = production(L);
        const double lambda = LossConstant(nuclide->decayConstant, density, erosionRate, AttenuationLengthForLatitude(L));
        return (rate / lambda) * (std::exp(-lambda * a) - std::exp(-lambda * b));
    };

    double meanLatitude = 0.0; // M: mean effective latitude over the pole records
    for (int i = 0; i < np; ++i)
        meanLatitude += EffectiveLatitude(at(I, i), m(i));
    meanLatitude /= np;
    double meanIntensity = 0.0;
    for (int i = 0; i < ni; ++i)
        meanIntensity += at(I, i);
    meanIntensity /= ni;

    // Running sums: sum[k] is the concentration produced from age 0 to record k.
    std::vector<double> sum(static_cast<std::size_t>(ni), 0.0);
    double rate = 0.0;
    for (int k = 1; k < ni; ++k) {
        const double intensity = (at(I, k - 1) + at(I, k)) / 2.0;
        const double concentration =
            k < np ? step(at(t, k - 1), at(t, k), EffectiveLatitude(intensity, (m(k - 1) + m(k)) / 2.0), rate)
                   : step(at(u, k - 1), at(u, k), EffectiveLatitude(intensity, meanLatitude), rate);
        sum[static_cast<std::size_t>(k)] = sum[static_cast<std::size_t>(k - 1)] + concentration;
    }
    const double wholeRecord = sum.back();

    // The first interval [ages[j], ages[j+1]) holding the age; the end of the
    // last interval belongs to it. -1 when the age lies before the records.
    auto interval = [&](const std::vector<double>& ages, int count, double age) {
        if (age < at(ages, 0))
            return -1;
        const auto end = ages.begin() + count;
        const auto above = std::upper_bound(ages.begin(), end, age);
        return std::min(static_cast<int>(above - ages.begin()) - 1, count - 2);
    };

    for (int test = 1; test <= kMostTests; ++test) {
        double produced = 0.0;
        double last = 0.0;
        if (T < poles->yearMax) {
            const int j = interval(t, np, T);
            if (j < 0)
                break;
            const double delta = T - at(t, j);
            const double intensityT = at(I, j) + delta * (at(I, j + 1) - at(I, j)) / (at(u, j + 1) - at(u, j));
            const double latitudeT = m(j) + delta * (m(j + 1) - m(j)) / (at(t, j + 1) - at(t, j));
            produced = sum.at(static_cast<std::size_t>(j));
            last = step(at(t, j), T,
                        EffectiveLatitude((at(I, j) + intensityT) / 2.0, (m(j) + latitudeT) / 2.0), rate);
        } else if (T <= intensities->yearMax) {
            const int j = interval(u, ni, T);
            if (j < 0)
                break;
            const double delta = T - at(u, j);
            const double intensityT = at(I, j) + delta * (at(I, j + 1) - at(I, j)) / (at(u, j + 1) - at(u, j));
            produced = sum.at(static_cast<std::size_t>(j));
            last = step(at(u, j), T, EffectiveLatitude((at(I, j) + intensityT) / 2.0, meanLatitude), rate);
        } else {
            // Beyond the records: the mean field at the mean latitude.
            produced = wholeRecord;
            last = step(intensities->yearMax, T, EffectiveLatitude(meanIntensity, meanLatitude), rate);
        }
        if (tests != nullptr)
            *tests = test;
        const double mismatch = produced + last - nuclide->concentration;
        if (std::fabs(mismatch) < kConverged)
            return {T, -1.0};
        T -= mismatch / rate;
        if (!std::isfinite(T) || T < 0.0)
            break;
        if (test == kMostTests) {
            ShowMessage(Format("The geomagnetic correction did not converge within %d steps: no corrected exposure age.",
                               kMostTests));
            return kNoResult;
        }
    }
    ShowMessage("The exposure age left the range of the geomagnetic data: no corrected exposure age.");
    return kNoResult;
}

void CSampleSite::WriteIntensityTable(std::string path, const CGeomagneticIntensityData* intensities,
                                      const CNuclide* nuclide, ScalingScheme scheme)
{
    if (nuclide == nullptr) {
        ShowMessage("No cosmogenic information!");
        return;
    }
    if (intensities == nullptr) {
        ShowMessage("No Geomagnetic Intensity Information!");
        return;
    }
    CAtomicFile file(std::move(path), "Can not find this file!");
    if (!file.Open())
        return;
    std::FILE* out = file.Stream();
    std::fprintf(out, "%s\t%s", "Year", "Intensity");
    for (int L = 0; L <= 60; L += 5)
        std::fprintf(out, "\t%d", L);
    std::fprintf(out, "\n");
    for (int i = 0; i + 1 < intensities->pointCount; ++i) {
        const double intensity = intensities->intensities.at(static_cast<std::size_t>(i));
        std::fprintf(out, "%10.1lf\t%10.1lf", intensities->years.at(static_cast<std::size_t>(i)), intensity);
        for (int L = 0; L <= 60; L += 5) {
            // Production at this latitude under this field, relative to today's field.
            const double ratio = NuclideScalingFactor(nuclide, EffectiveLatitude(intensity, L), scheme) /
                                 NuclideScalingFactor(nuclide, L, scheme);
            std::fprintf(out, "\t%10.2lf", ratio);
        }
        std::fprintf(out, "\n");
    }
    file.Commit();
}

} // namespace qex
