// qexcli simulate: the burial-exposure simulation of the simulation dialog,
// with uncertainties (its "Calculation") or, with --single, the single
// calculation. Prints the block the dialog appends; the report goes to --report,
// and with --table the central run's per-cut-value table and best pairs as CSV.

#include "cli/Command.h"
#include "core/AtomicFile.h"
#include "core/Message.h"
#include "proxy/SimulationCalculation.h"
#include "proxy/SimulationTable.h"

namespace qex::cli {
namespace {

constexpr const char* kTableFailure = "Can not write the table file!";

const bool registered = RegisterCommand(
    {"simulate", "Burial-exposure history from 10Be, 26Al and a climatic proxy curve (best cut value, ages)",
     [](CLI::App& cmd) -> Runner {
         static SimulationInputs inputs;
         AddInputOptions(cmd, inputs, SimulationInputTable());
         return [] {
             if (!DistinctFiles(InputFileUses(inputs, SimulationInputTable())))
                 return kUsage;
             // As in the desktop, a warning that repeats within one command is shown once.
             CMessageBatch batch;
             const std::string& table = inputs.tableFile;
             // A table that cannot be written is found before the long calculation.
             if (!table.empty() && !CAtomicFile(table, kTableFailure).Open())
                 return kFailure;
             CResultList list;
             SimulationDetail detail;
             if (!AppendSimulation(inputs, list, &detail))
                 return kFailure;
             if (!table.empty() && !WriteFileAtomically(table, FormatSimulationTableCsv(detail), kTableFailure))
                 return kFailure;
             PrintList(list);
             return kSuccess;
         };
     }});

} // namespace
} // namespace qex::cli
