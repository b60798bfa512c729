// The scaling factor of one nuclide at one latitude for the site's altitude,
// by a chosen scheme. The only place the Antarctic atmosphere is applied.

#include "core/Message.h"
#include "corrections/SampleSite.h"
#include "scaling/Nuclide.h"
#include "scaling/ScalingSchemes.h"

namespace qex {

namespace {
// South of this latitude (degrees) the Antarctic atmosphere holds.
constexpr double kAntarcticLatitude = -60.0;
} // namespace

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
        if (nuclide->kind == CNuclide::kBe10)
            return LalBeScalingFactor(latitude, altitude);
        if (nuclide->kind == CNuclide::kAl26)
            return LalAlScalingFactor(latitude, altitude);
        ShowMessage("Can not calculate the scaling factors for this nuclides!");
        return 1.0;
    case kDunai2000:
        return DunaiScalingFactor(latitude, altitude, nuclide->muonFraction);
    default:
        return 1.0; // no scheme: production stays unscaled
    }
}

} // namespace qex
