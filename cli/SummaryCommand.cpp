// qexcli summary: the ages (or erosion rates) of a batch output read
// together, group by group: the mean, the error-weighted mean, the MSWD, the
// outliers a test names and the statistics without them. With --calculator
// the input is a file of samples, run through the batch first (nothing is
// written).

#include "batch/BatchRun.h"
#include "batch/GroupSummary.h"
#include "cli/Command.h"
#include "core/CommandGuard.h"
#include "core/Format.h"
#include "core/Message.h"

#include <cstdio>

namespace qex::cli {
namespace {

struct SummaryCommandOptions {
    std::string input;
    std::string calculator; // empty: the input is a batch output
    std::string outliers = "gesd";
    double alpha = 0.05;
    int threads = 0;
};

constexpr std::string_view kSummaryCalculators[] = {"exposure", "erosion"};

// Runs the batch of the samples in memory and reads its output.
bool SummarizeSamples(const SummaryCommandOptions& options, const SummaryOptions& how, SummaryTable& table)
{
    BatchJob job;
    std::string error;
    if (!OpenBatch(options.calculator, options.input, job, error)) {
        ShowMessage(PrintableText("summary: " + error));
        return false;
    }
    // A summary weighs by the internal uncertainties: every exposure row gives them unless it says otherwise.
    if (options.calculator == "exposure")
        for (BatchInputRow& row : job.rows)
            if (row.cells.Find("uncertainties") == nullptr)
                row.cells.cells["uncertainties"] = "on";
    const CStopRequest stop;
    const BatchOutcome outcome = RunBatch(job, options.threads, false, [&stop](int, int) { return !stop.Requested(); });
    if (outcome.stopped || stop.Requested()) {
        ShowMessage("summary: stopped.");
        return false;
    }
    for (const BatchRowOutcome& row : outcome.rows)
        if (!row.result.messages.empty())
            ShowMessage(PrintableText(Format("%s, line %d%s: %s", options.input.c_str(), row.line,
                                             row.sample.empty() ? "" : (" (" + row.sample + ")").c_str(),
                                             row.Said().c_str())));
    if (!SummarizeBatch(job, outcome, how, table, error)) {
        ShowMessage(PrintableText("summary: " + options.input + ": " + error));
        return false;
    }
    return true;
}

int Run(const SummaryCommandOptions& options)
{
    const SummaryOptions how{OutlierTestOf(options.outliers), options.alpha};
    SummaryTable table;
    if (!options.calculator.empty()) {
        if (!SummarizeSamples(options, how, table))
            return kFailure;
    } else {
        std::string error;
        if (!ReadSummaryFile(options.input, how, table, error)) {
            ShowMessage(PrintableText("summary: " + error));
            return kUsage;
        }
    }
    CResultList list;
    AppendSummary(table, list);
    if (JsonWanted())
        JsonResults(SummaryValues(table));
    PrintList(list);
    return kSuccess;
}

const bool registered = RegisterCommand(
    {"summary",
     [](CLI::App& command) -> Runner {
         static SummaryCommandOptions options;
         AddPath(command, "--input", options.input,
                 "a batch output (CSV) of exposure ages or erosion rates; with --calculator, a file of samples", true,
                 -1);
         AddChoice(command, "--calculator", options.calculator,
                   "run the samples of --input through this calculator's batch first (exposure with its "
                   "uncertainties); default none: --input is a batch output",
                   kSummaryCalculators);
         AddChoice(command, "--outliers", options.outliers,
                   "the outlier test: gesd (generalised ESD, Rosner 1983, at --alpha), chauvenet (Chauvenet's "
                   "criterion) or none; default gesd",
                   OutlierTestWords());
         AddNumber(command, "--alpha", options.alpha, "significance of the gesd test; default 0.05",
                   InputRange{0.001, 0.5});
         command
             .add_option("--threads", options.threads,
                         "with --calculator: rows run side by side; default 0: one per processor core")
             ->type_name("N")
             ->check(CLI::Range(0, 1024));
         command.footer(
             "Per group (a 'group' or 'landform' column; all rows without one): n, mean and sd, the weighted mean "
             "(weights 1/internal^2) with its internal uncertainty 1/sqrt(sum 1/internal^2) and its external one "
             "(the samples' relative production-rate share, sqrt(external^2 - internal^2)/value, weighted alike, "
             "times the mean, added in quadrature), the MSWD about the weighted mean with P(chi-square >= found, "
             "n-1 degrees of freedom), the oldest and youngest, the outliers with their statistic |x - mean|/sd "
             "and its critical value, and the same again without them. An 'elevation' (m) or 'distance' (km) column "
             "adds the thinning or retreat rate from the weighted line of age on position.\n"
             "Columns read: exposure_age_yr, internal_uncertainty_yr, external_uncertainty_yr (listed in kyr) or "
             "erosion_rate_m_per_myr, erosion_internal_m_per_myr, erosion_external_m_per_myr; sample, error, "
             "group or landform, elevation or distance. Rows with an error or without a value are left out and "
             "named.\nExit status: 0 the summary was printed; 1 the batch could not run; 2 bad usage or an "
             "unusable input file.");
         return [] {
             JsonInputs({{"input", "", options.input},
                         {"calculator", "", options.calculator},
                         {"outliers", "", options.outliers},
                         {"alpha", "", options.alpha}});
             return Run(options);
         };
     }});

} // namespace
} // namespace qex::cli
