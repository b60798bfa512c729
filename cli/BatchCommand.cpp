// qexcli batch: many samples in one CSV file through one calculator, one
// result row each, written to a CSV file (and the simulations' reports to a
// folder, each written as its row ends) and put in place once every row has run.

#include "batch/BatchDefaults.h"
#include "batch/BatchRun.h"
#include "core/AmsStandards.h"
#include "core/ConstantSets.h"
#include "cli/Command.h"
#include "core/FileIdentity.h"
#include "core/Format.h"
#include "core/Message.h"
#include "proxy/SimulationCalculation.h"

#include <cstdio>
#include <filesystem>

namespace qex::cli {
namespace {

struct BatchOptions {
    std::string calculator;
    std::string input;
    std::string output;
    std::string reportDir;
    int threads = 0;
    bool progress = false;
    std::string monteCarlo; // draws for every simulation row that names none; empty: as the rows say
    std::string seed;
    std::string digits = "full";
    std::string outputFormat = "csv";
    std::string format = "auto"; // of the input file
    // Choices for every row that does not make its own (its cell missing or empty).
    std::string constants;
    std::string be10Standard;
    std::string al26Standard;
    std::string proxy; // simulate: the curve of rows that name none
    bool uncertainties = false;
};

// Whether the calculator has a column of that name.
bool HasColumn(const BatchCalculator& calculator, std::string_view name)
{
    for (const BatchColumn& column : calculator.inputColumns)
        if (column.name == name)
            return true;
    return false;
}

// Every calculator's columns with their units, defaults and ranges.
std::string ColumnHelp()
{
    std::string help = "Columns (the options of the calculator's command without their dashes, in any order; "
                       "a column left out or a cell left empty takes the default; 'sample' names the row):\n";
    for (const BatchCalculator& calculator : BatchCalculators()) {
        help += "\n" + calculator.name + ":\n";
        for (const BatchColumn& column : calculator.inputColumns)
            help += "  " + column.name + ": " + InputHelpLine(column.description) + "\n";
        help += "  results:";
        for (const std::string& result : calculator.resultColumns)
            help += " " + result;
        help += "\n";
    }
    help += "\nBeside the columns, a header may name (in any case): " + SampleColumnAliases() +
            ". A sample measured for 10Be and 26Al gives a row per nuclide (exposure, erosion).\n";
    help += "\nFiles named in cells are read from the CSV file's folder when relative. A file whose header "
            "separates its names with ';' is read with ';' between fields and a decimal comma.\n"
            "Exit status: 0 every row gave its result; 1 a row failed (its 'error' cell says why) or the "
            "output could not be written; 2 the file itself is unusable or bad usage.";
    return help;
}

// The calculators that have a column, for a message.
std::string CalculatorsWithColumn(std::string_view name)
{
    std::string names;
    for (const BatchCalculator& calculator : BatchCalculators())
        if (HasColumn(calculator, name))
            names += (names.empty() ? "" : ", ") + calculator.name;
    return names;
}

int Run(const BatchOptions& options)
{
    BatchJob job;
    std::string error;
    const BatchCalculator* calculator = FindBatchCalculator(options.calculator);
    if (calculator == nullptr ||
        !OpenBatch(*calculator, options.input, FindSampleFormat(options.format).value_or(SampleFormat::Auto), job,
                   error)) {
        ShowMessage(PrintableText("batch: " + error));
        return kUsage;
    }
    for (const std::string& note : job.notes)
        ShowMessage(PrintableText(options.input + ": " + note));
    if (!options.monteCarlo.empty() || !options.seed.empty()) {
        if (job.calculator->name != "simulate") {
            ShowMessage("batch: --monte-carlo and --seed apply to simulate only.");
            return kUsage;
        }
        // The options stand in for the columns: a row's own cell wins.
        SettingValues values;
        if (!options.monteCarlo.empty())
            values.push_back({"monte-carlo", options.monteCarlo});
        if (!options.seed.empty())
            values.push_back({"seed", options.seed});
        FillMissingCells(job, values);
    }
    const std::pair<const char*, std::string> choices[] = {
        {"constants", options.constants},
        {"be10-standard", options.be10Standard},
        {"al26-standard", options.al26Standard},
        {"uncertainties", options.uncertainties ? "on" : ""},
        {"proxy", options.proxy.empty() ? std::string() : std::filesystem::absolute(options.proxy).string()},
    };
    for (const auto& [column, value] : choices) {
        if (value.empty())
            continue;
        if (!HasColumn(*job.calculator, column)) {
            ShowMessage(Format("batch: --%s applies to the calculators with a %s column (%s), not to %s.", column,
                               column, CalculatorsWithColumn(column).c_str(), job.calculator->name.c_str()));
            return kUsage;
        }
        for (BatchInputRow& row : job.rows)
            if (row.cells.Find(column) == nullptr)
                row.cells.cells[column] = value;
    }

    // Ctrl+C stops the rows still to run, or the wait for another batch;
    // nothing is written. A second Ctrl+C ends at once.
    const CStopRequest stop;
    const std::string folder = options.reportDir.empty() ? FolderOf(options.output) : options.reportDir;
    const FolderLockWait wait = [&](bool first) {
        if (first)
            std::fprintf(stderr, "batch: waiting for another batch writing to %s...\n",
                         PrintableText(folder).c_str());
        return !stop.Requested();
    };
    auto stopped = [] {
        ShowMessage("batch: stopped; no file was written.");
        return kFailure;
    };
    if (!CheckBatchFiles(job, options.output, options.reportDir))
        return kUsage;
    const BatchOutputFormat format{options.outputFormat == "json",
                                   options.digits == "list" ? CellDigits::List : CellDigits::Full};
    CBatchOutputs outputs(job, options.output, options.reportDir, format);
    if (!outputs.Open(wait))
        return stop.Requested() ? stopped() : kFailure;

    int lastPercent = -1;
    const BatchOutcome outcome = RunBatch(
        job, options.threads, outputs.WantsReports(),
        [&](int done, int total) {
            if (options.progress) {
                const int percent = total == 0 ? 100 : done * 100 / total;
                if (percent != lastPercent) {
                    lastPercent = percent;
                    std::fprintf(stderr, "batch: %3d%% (%d of %d rows)\n", percent, done, total);
                }
            }
            return !stop.Requested();
        },
        [&outputs](std::size_t index, BatchRowOutcome& row) { outputs.TakeRow(index, row); });
    if (outcome.stopped || stop.Requested())
        return stopped();

    for (const BatchRowOutcome& row : outcome.rows) {
        if (row.result.messages.empty())
            continue;
        const std::string name = row.sample.empty() ? std::string() : " (" + row.sample + ")";
        // Said as messages, so that --json keeps them too.
        ShowMessage(PrintableText(
            Format("%s, line %d%s: %s", options.input.c_str(), row.line, name.c_str(), row.Said().c_str())));
    }
    if (!outputs.Commit(outcome, wait))
        return stop.Requested() ? stopped() : kFailure;
    if (outcome.failed > 0) {
        ShowMessage(Format("batch: %d of %d rows failed.", outcome.failed, static_cast<int>(outcome.rows.size())));
        return kFailure;
    }
    return kSuccess;
}

const bool registered = RegisterCommand(
    {"batch",
     [](CLI::App& command) -> Runner {
         static BatchOptions options;
         std::vector<std::string> names;
         for (const BatchCalculator& calculator : BatchCalculators())
             names.push_back(calculator.name);
         command.add_option("calculator", options.calculator, "the calculator the rows go through")
             ->required()
             ->check(CLI::IsMember(names));
         AddPath(command, "--input", options.input, "file of samples: a CSV table, one sample a row, a header naming the columns, or any format --format "
                 "names",
                 true, -1);
         AddPath(command, "--output", options.output,
                 "CSV file to write, replaced if it exists: each row's sample, inputs as used, results and error",
                 true, -1);
         AddChoice(command, "--format", options.format,
                   "the input's format: auto (from its content), csv (QEX's table, ',' ';' tab or blanks between "
                   "fields), v3 (the online calculators' input block), expage (a named header, erosion in mm/ka), v2 "
                   "(expage's 16 columns without a header), icetea, crep; default auto",
                   SampleFormatNames());
         AddPath(command, "--report-dir", options.reportDir,
                 "folder for the simulation reports, one DIR/<sample>-report.txt a row (made when missing); "
                 "default none: no reports",
                 false, -1)
             ->type_name("DIR");
         command
             .add_option("--threads", options.threads,
                         "rows run side by side; default 0: one per processor core")
             ->type_name("N")
             ->check(CLI::Range(0, 1024));
         // Read as the rows of the simulation's table read them (whole numbers in range).
         auto asRow = [](const char* name) {
             const auto* row = SimulationInputTable().Find(name);
             return CLI::Validator(
                 [row](std::string& text) {
                     SimulationInputs ignored;
                     return SetInputFromText(*row, ignored, text);
                 },
                 "", "");
         };
         command
             .add_option("--monte-carlo", options.monteCarlo,
                         "simulate: Monte Carlo draws for each row whose monte-carlo cell is missing or empty; "
                         "adds the mc_ columns (median, 16th/84th and 2.5th/97.5th percentiles, mean, sd of cut "
                         "value, ratio difference and ages in kyr; shares matched and failed)")
             ->type_name("D")
             ->check(asRow("monte-carlo"));
         command
             .add_option("--seed", options.seed, "simulate: Monte Carlo seed for each row whose seed cell is missing or empty")
             ->type_name("S")
             ->check(asRow("seed"));
         // An option of two words, the default first.
         const auto choice = [&command](const char* name, std::string& value, const char* help,
                                        const std::vector<std::string>& words) {
             command.add_option(name, value, help)->type_name(words[0] + "|" + words[1])->check(CLI::IsMember(words));
         };
         choice("--digits", options.digits,
                "numbers in the CSV cells: full, the shortest text that reads back to the same number, or list, the "
                "digits the calculator's list shows; default full",
                {"full", "list"});
         choice("--output-format", options.outputFormat,
                "csv, or json: one document with an object per sample (inputs, results with their units, constants, "
                "messages; schema qexcli-output.schema.json); default csv",
                {"csv", "json"});
         AddChoice(command, "--constants", options.constants,
                   "the constant set of each row whose constants cell is missing or empty (original, current); "
                   "a row's own cells (production-rate, free-path, half-lives...) override the set",
                   ConstantSetNames());
         AddChoice(command, "--be10-standard", options.be10Standard,
                   "the 10Be AMS standard of each row whose be10-standard cell is missing or empty",
                   AmsStandardChoices(kBe10));
         AddChoice(command, "--al26-standard", options.al26Standard,
                   "the 26Al AMS standard of each row whose al26-standard cell is missing or empty",
                   AmsStandardChoices(kAl26));
         AddPath(command, "--proxy", options.proxy,
                 "simulate and cut: the proxy curve of each row whose proxy cell is missing or empty (a file of samples "
                 "from another calculator names none)",
                 false, -1);
         AddCommandFlag(command, "--uncertainties", options.uncertainties,
                        "exposure: the internal and external uncertainties of every row that does not say");
         AddCommandFlag(command, "--progress", options.progress, "Report progress on standard error");
         command.footer(ColumnHelp());
         return [] {
             std::vector<InputValue> inputs = {{"calculator", "", options.calculator},
                                               {"input", "", options.input},
                                               {"output", "", options.output},
                                               {"report-dir", "", options.reportDir},
                                               {"output-format", "", options.outputFormat},
                                               {"digits", "", options.digits}};
             if (options.format != "auto")
                 inputs.push_back({"format", "", options.format});
             // The choices added later are named where they were made.
             for (const auto& [name, value] : {std::pair{"constants", options.constants},
                                               std::pair{"be10-standard", options.be10Standard},
                                               std::pair{"al26-standard", options.al26Standard},
                                               std::pair{"proxy", options.proxy}})
                 if (!value.empty())
                     inputs.push_back({name, "", value});
             if (options.uncertainties)
                 inputs.push_back({"uncertainties", "", true});
             JsonInputs(std::move(inputs));
             return Run(options);
         };
     }});

} // namespace
} // namespace qex::cli
