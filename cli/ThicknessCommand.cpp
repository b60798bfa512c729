// qexcli thickness: the thickness correction dialog's calculation.

#include "cli/Command.h"
#include "corrections/ThicknessCorrection.h"

namespace {

using namespace qex;

const bool registered = cli::RegisterCommand(
    {"thickness", "Thickness correction factor of a sample (depth-averaged production)",
     [](CLI::App& command) -> cli::Runner {
         static ThicknessInputs inputs;
         cli::AddNumber(command, "--thickness", inputs.thickness, "sample thickness", "cm",
                        std::make_pair(0.0, kMaxThicknessCm));
         cli::AddNumber(command, "--density", inputs.density, "rock density", "g/cm3",
                        std::make_pair(0.0, kMaxThicknessDensity));
         cli::AddNumber(command, "--free-path", inputs.freePath, "attenuation length", "g/cm2",
                        std::make_pair(0.0, kMaxFreePath));
         return [] {
             CResultList list;
             AppendThicknessResult(inputs, list);
             cli::PrintList(list);
             return cli::kSuccess;
         };
     }});

} // namespace
