#include "corrections/ShieldingResult.h"

#include "core/Format.h"
#include "corrections/TopographicShielding.h"

namespace qex {

double ShieldingFactor(const ShieldingInputs& inputs)
{
    std::vector<double> azimuths;
    std::vector<double> angles;
    for (const HorizonPoint& point : inputs.points) {
        azimuths.push_back(point.azimuth);
        angles.push_back(point.angle);
    }
    HorizonBins horizon{};
    return TopographicShieldingFactor(azimuths, angles, static_cast<int>(inputs.points.size()), inputs.dip,
                                      inputs.strike, horizon);
}

void AppendShieldingResult(const ShieldingInputs& inputs, CResultList& list)
{
    const double factor = ShieldingFactor(inputs);
    list.AppendBlock({Format("Shielding Factor:  %5.6f", factor)});
}

} // namespace qex
