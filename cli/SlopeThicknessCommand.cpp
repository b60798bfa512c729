// qexcli slope-thickness: the slope-thickness correction dialog's calculation.

#include "cli/Command.h"
#include "corrections/SlopeThicknessCorrection.h"

namespace {

using namespace qex;

const bool registered = cli::RegisterCommand(
    {"slope-thickness", "Slope and thickness correction factor of a sample on a sloping surface",
     [](CLI::App& command) -> cli::Runner {
         static SlopeThicknessInputs inputs;
         cli::AddNumber(command, "--thickness", inputs.thickness, "sample thickness", "cm",
                        std::make_pair(0.0, kMaxSlopeThicknessCm));
         cli::AddNumber(command, "--density", inputs.density, "rock density", "g/cm3",
                        std::make_pair(0.0, kMaxSlopeDensity));
         cli::AddNumber(command, "--free-path", inputs.freePath, "attenuation length", "g/cm2",
                        std::make_pair(0.0, kMaxSlopeFreePath));
         cli::AddNumber(command, "--slope", inputs.slope, "slope of the sampled surface", "degrees",
                        std::make_pair(0.0, kMaxSlopeDegrees));
         cli::AddNumber(command, "--strike", inputs.strike, "strike of the sampled surface, not used by the factor",
                        "degrees", std::make_pair(0.0, kMaxStrikeDegrees));
         return [] {
             CResultList list;
             AppendSlopeThicknessResult(inputs, list);
             cli::PrintList(list);
             return cli::kSuccess;
         };
     }});

} // namespace
