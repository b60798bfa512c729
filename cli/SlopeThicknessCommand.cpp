// qexcli slope-thickness: the slope-thickness correction dialog's calculation.

#include "cli/Command.h"
#include "corrections/SlopeThicknessCorrection.h"

namespace {

using namespace qex;

const bool registered = cli::RegisterCommand(
    {"slope-thickness", "Slope and thickness correction factor of a sample on a sloping surface",
     [](CLI::App& command) -> cli::Runner {
         static SlopeThicknessInputs inputs;
         cli::AddInputOptions(command, inputs, SlopeThicknessInputTable());
         return [] {
             CResultList list;
             AppendSlopeThicknessResult(inputs, list);
             cli::PrintList(list);
             return cli::kSuccess;
         };
     }});

} // namespace
