#include "corrections/ShieldingResult.h"

#include "core/Format.h"
#include "corrections/SampleSite.h"

namespace qex {

double ShieldingFactor(const ShieldingInputs& inputs)
{
    CSampleSite site;
    site.horizonCount = static_cast<int>(inputs.points.size());
    for (const HorizonPoint& point : inputs.points) {
        site.azimuths.push_back(point.azimuth);
        site.angles.push_back(point.angle);
    }
    site.dip = inputs.dip;
    site.strike = inputs.strike;
    return site.TopographicShielding();
}

void AppendShieldingResult(const ShieldingInputs& inputs, CResultList& list)
{
    const double factor = ShieldingFactor(inputs);
    list.AppendBlock({Format("Shielding Factor:  %5.6f", factor)});
}

} // namespace qex
