// qexcli simulate: the burial-exposure simulation of the simulation dialog,
// with uncertainties (its "Calculation") or, with --single, the single
// calculation. Prints the block the dialog appends; the report goes to --report,
// and with --table the central run's per-cut-value table and best pairs as CSV.

#include "cli/Command.h"
#include "core/AtomicFile.h"
#include "core/Format.h"
#include "core/Message.h"
#include "proxy/SimulationCalculation.h"
#include "proxy/SimulationTable.h"

namespace qex::cli {
namespace {

struct SimulateOptions {
    SimulationInputs inputs;
    bool single = false;
    std::string table; // CSV file of the central run, empty for none
};

constexpr const char* kTableFailure = "Can not write the table file!";

std::pair<double, double> Range(const InputRange& range)
{
    return {range.minimum, range.maximum};
}

const bool registered = RegisterCommand(
    {"simulate", "Burial-exposure history from 10Be, 26Al and a climatic proxy curve (best cut value, ages)",
     [](CLI::App& cmd) -> Runner {
         static SimulateOptions options;
         SimulationInputs& in = options.inputs;
         cmd.add_option("--proxy", in.proxyFile, "Proxy curve file (keyword Proxy_Data)")
             ->required()
             ->type_name("FILE")
             ->check(CLI::Validator(
                 [](std::string& path) -> std::string {
                     return path.size() > static_cast<std::size_t>(kProxyPathMaxChars)
                                ? Format("the path is longer than %d characters", kProxyPathMaxChars)
                                : std::string();
                 },
                 "", ""));
         cmd.add_option("--report", in.outputFile, "Report file to write (replaced if it exists)")
             ->required()
             ->type_name("FILE");
         AddNumber(cmd, "--be10", in.be10, "Measured 10Be concentration", "atoms/g", Range(kConcentrationRange));
         AddNumber(cmd, "--be10-err", in.be10Error, "Uncertainty of the 10Be concentration", "atoms/g",
                   Range(kUncertaintyRange));
         AddNumber(cmd, "--al26", in.al26, "Measured 26Al concentration", "atoms/g", Range(kConcentrationRange));
         AddNumber(cmd, "--al26-err", in.al26Error, "Uncertainty of the 26Al concentration", "atoms/g",
                   Range(kUncertaintyRange));
         AddNumber(cmd, "--be10-production", in.be10Production, "10Be production rate", "atoms/g/yr",
                   Range(kProductionRange));
         AddNumber(cmd, "--al26-production", in.al26Production, "26Al production rate", "atoms/g/yr",
                   Range(kProductionRange));
         AddNumber(cmd, "--density", in.density, "Rock density", "g/cm3", Range(kDensityRange));
         AddNumber(cmd, "--free-path", in.freePath, "Attenuation free path", "g/cm2", Range(kFreePathRange));
         AddNumber(cmd, "--aerial-erosion", in.aerialErosion, "Erosion rate while exposed", "cm/kyr",
                   Range(kAerialErosionRange));
         AddNumber(cmd, "--glacial-erosion", in.glacialErosion, "Erosion rate while buried", "cm/kyr",
                   Range(kGlacialErosionRange));
         cmd.add_flag("--single", options.single,
                      "Single calculation with the measured values only (no uncertainty runs)");
         cmd.add_option("--table", options.table,
                        "CSV file to write (replaced if it exists): the central run's ratio difference per cut "
                        "value and its best history's 10Be/26Al pairs")
             ->type_name("FILE");
         return [] {
             if (!DistinctFiles({{"--proxy", options.inputs.proxyFile, FileRole::Input},
                                 {"--report", options.inputs.outputFile, FileRole::Output},
                                 {"--table", options.table, FileRole::Output}}))
                 return kUsage;
             // As in the desktop, a warning that repeats within one command is shown once.
             CMessageBatch batch;
             // A table that cannot be written is found before the long calculation.
             if (!options.table.empty() && !CAtomicFile(options.table, kTableFailure).Open())
                 return kFailure;
             CResultList list;
             SimulationDetail detail;
             const bool ok = options.single ? AppendSingleSimulation(options.inputs, list, &detail)
                                            : AppendSimulationWithUncertainties(options.inputs, list, &detail);
             if (!ok)
                 return kFailure;
             if (!options.table.empty() &&
                 !WriteFileAtomically(options.table, FormatSimulationTableCsv(detail), kTableFailure))
                 return kFailure;
             PrintList(list);
             return kSuccess;
         };
     }});

} // namespace
} // namespace qex::cli
