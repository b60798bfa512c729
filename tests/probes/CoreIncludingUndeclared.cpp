// Built only by the core_rejects_undeclared_include test, which expects this
// to fail: a file of the burial library sees its own folder and the core it
// declares, and not the scaling folder it does not declare.
#include "core/Format.h"
#include "burial/BurialModel.h"
#include "scaling/ScalingSchemes.h"

double ProbeUsesScaling()
{
    return qex::StandardAtmospherePressure(0.0);
}
