// qexcli thickness: the thickness correction dialog's calculation.

#include "cli/Command.h"
#include "corrections/ThicknessCorrection.h"

namespace {

using namespace qex;

const bool registered = cli::RegisterCommand(
    {"thickness", "Thickness correction factor of a sample (depth-averaged production)",
     [](CLI::App& command) -> cli::Runner {
         static ThicknessInputs inputs;
         cli::AddInputOptions(command, inputs, ThicknessInputTable());
         return [] {
             CResultList list;
             AppendThicknessResult(inputs, list);
             cli::PrintList(list);
             return cli::kSuccess;
         };
     }});

} // namespace
