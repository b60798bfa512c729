// qexcli simulate: the burial-exposure simulation of the simulation dialog,
// with uncertainties (its "Calculation") or, with --single, the single
// calculation. Prints the block the dialog appends; the report goes to --report,
// and with --table the central run's per-cut-value table and best pairs as CSV.

#include "cli/Command.h"
#include "core/AtomicFile.h"
#include "core/Message.h"
#include "proxy/SimulationCalculation.h"
#include "proxy/SimulationTable.h"

#include <cstdio>
#include <cstdlib>

namespace qex::cli {
namespace {

constexpr const char* kTableFailure = "Can not write the table file!";
constexpr const char* kSamplesFailure = "Can not write the samples file!";

bool g_progress = false;

// QEX_THREADS=N runs the draws on N threads (every core when unset).
int ThreadsFromEnvironment()
{
    const char* text = std::getenv("QEX_THREADS");
    return text != nullptr ? std::atoi(text) : 0;
}

// The Monte Carlo after the usual block, with progress on standard error.
int RunMonteCarloBlock(const SimulationInputs& inputs, CResultList& list, COutputBlocks& blocks)
{
    // Ctrl+C stops the draws; nothing is then written and nothing printed.
    const CStopRequest stop;
    int lastPercent = -1;
    MonteCarloResult result;
    const bool done = AppendMonteCarlo(inputs, list, result, [&](int drawn, int total) {
        const int percent = total == 0 ? 100 : static_cast<int>(100LL * drawn / total);
        if (g_progress && percent != lastPercent) {
            lastPercent = percent;
            std::fprintf(stderr, "simulate: Monte Carlo %3d%% (%d of %d draws)\n", percent, drawn, total);
        }
        return !stop.Requested();
    }, ThreadsFromEnvironment(), &blocks);
    // A stop asked for as the last draws ended is a stop too.
    if (stop.Requested()) {
        std::fputs("simulate: stopped; no file was written.\n", stderr);
        return kFailure;
    }
    if (!done)
        return kFailure;
    if (!inputs.samplesFile.empty() &&
        !WriteFileAtomically(inputs.samplesFile, FormatMonteCarloSamplesCsv(result), kSamplesFailure))
        return kFailure;
    return kSuccess;
}

const bool registered = RegisterCommand(
    {"simulate",
     [](CLI::App& cmd) -> Runner {
         static SimulationInputs inputs;
         AddInputOptions(cmd, inputs, SimulationInputTable());
         AddCommandFlag(cmd, "--progress", g_progress, "Report the Monte Carlo's progress on standard error");
         cmd.footer("With --monte-carlo D, the usual block is followed by \"Monte Carlo (D draws, seed S)\" and one "
                    "line per quantity (cut value, Ratio_diff(100%), exposure, burial and total age in kyr):\n"
                    "  NAME :   median M  -A +B  95% [L, H]  mean X  sd S\n"
                    "where M - A and M + B are the 16th and 84th percentiles and [L, H] the 2.5th and 97.5th; then "
                    "\"Matched\", \"Lower limit\", \"Unmatched\" and \"Failed\", the shares of draws whose best "
                    "history matched the drawn 10Be (the statistics are over these), whose total is a lower limit, "
                    "whose best history never matched, and without a best fit; a \"Warning\" line when fewer than "
                    "95 % matched. The draws run on every core; the same seed gives the same "
                    "bytes on any number of cores.");
         return [&cmd]() -> int {
             if (!CompleteOptions(cmd, inputs, SimulationInputTable()))
                 return kUsage;
             if (!DistinctFiles(InputFileUses(inputs, SimulationInputTable())))
                 return kUsage;
             // As in the desktop, a warning that repeats within one command is shown once.
             CMessageBatch batch;
             const std::string& table = inputs.tableFile;
             // A table that cannot be written is found before the long calculation.
             if (!table.empty() && !CAtomicFile(table, kTableFailure).Open())
                 return kFailure;
             const std::string& samples = inputs.samplesFile;
             if (!samples.empty() && !(inputs.monteCarloDraws > 0.0)) {
                 ShowMessage("--samples needs Monte Carlo draws (--monte-carlo D): no file was written.");
                 return kFailure;
             }
             if (!samples.empty() && !CAtomicFile(samples, kSamplesFailure).Open())
                 return kFailure;
             JsonInputs(InputValues(inputs, SimulationInputTable()));
             CResultList list;
             COutputBlocks blocks;
             SimulationDetail detail;
             if (!AppendSimulation(inputs, list, &detail, {}, nullptr, &blocks))
                 return kFailure;
             if (!table.empty() && !WriteFileAtomically(table, FormatSimulationTableCsv(detail), kTableFailure))
                 return kFailure;
             if (inputs.monteCarloDraws > 0.0) {
                 const int status = RunMonteCarloBlock(inputs, list, blocks);
                 if (status != kSuccess)
                     return status;
             }
             JsonBlocks(blocks);
             PrintList(list);
             return kSuccess;
         };
     }});

} // namespace
} // namespace qex::cli
