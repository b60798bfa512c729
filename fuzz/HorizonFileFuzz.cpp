// The horizon-file reader of qexcli shielding on any bytes; points that load
// give a shielding factor between 0 and 1 with and without a slope.

#include "corrections/HorizonFile.h"
#include "corrections/ShieldingResult.h"
#include "fuzz/FuzzSupport.h"

#include <cmath>

using namespace qex;

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    fuzz::DropMessages();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    ShieldingInputs inputs;
    if (!ParseHorizonText(fuzz::Text(data, size), "fuzz", inputs.points))
        return 0;
    const InputRange azimuth = *HorizonPointInputTable().Find("azimuth")->range;
    const InputRange angle = *HorizonPointInputTable().Find("angle")->range;
    for (const HorizonPoint& p : inputs.points)
        fuzz::Require(p.azimuth >= azimuth.minimum && p.azimuth <= azimuth.maximum && p.angle >= angle.minimum &&
                          p.angle <= angle.maximum,
                      "every point lies within its ranges");
    // Dip and strike in degrees: a flat surface, then the steepest one.
    const double steepest = ShieldingInputTable().Find("dip")->range->maximum;
    const double farthest = ShieldingInputTable().Find("strike")->range->maximum;
    const double slopes[][2] = {{0.0, 0.0}, {35.0, 100.0}, {steepest, farthest}};
    for (const auto& slope : slopes) {
        inputs.dip = slope[0];
        inputs.strike = slope[1];
        const double factor = ShieldingFactor(inputs);
        fuzz::Require(factor >= 0.0 && factor <= 1.0, "the shielding factor lies within 0 to 1");
        CResultList list;
        AppendShieldingResult(inputs, list);
        fuzz::Require(fuzz::IsFiniteText(list.Text()), "the result line holds a number");
    }
    return 0;
}
