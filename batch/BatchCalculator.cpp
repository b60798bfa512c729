#include "batch/BatchCalculator.h"

#include "core/CommandGuard.h"
#include "core/Constants.h"
#include "core/Format.h"
#include "core/Message.h"
#include "core/ResultList.h"
#include "corrections/HorizonFile.h"
#include "corrections/ShieldingResult.h"
#include "corrections/SlopeThicknessCorrection.h"
#include "corrections/ThicknessCorrection.h"
#include "geomag/ExposureAgeResult.h"
#include "proxy/CutResults.h"
#include "proxy/MonteCarlo.h"
#include "proxy/SimulationCalculation.h"
#include "scaling/ScalingFactorBlock.h"

#include <cctype>
#include <optional>

namespace qex {

std::string WithDecimalPoint(std::string text, bool decimalComma)
{
    if (decimalComma && text.find('.') == std::string::npos && text.find(',') == text.rfind(',') &&
        text.find(',') != std::string::npos)
        text[text.find(',')] = '.';
    return text;
}

namespace {

// A line of a calculator's block ("Label :   value") and the result column it
// fills. No column: the line repeats an input. A list: numbered lines
// ("Intersect year(kyr) 3") whose values share one cell, blank-separated.
struct ResultLabel {
    std::string_view label;
    std::string_view column;
    bool list = false;
};

template <class Inputs>
struct Recipe {
    std::string name;
    const InputTable<Inputs>& table;
    std::vector<ResultLabel> labels;
    // Columns the table does not hold, first in the output; `prepare` reads them.
    std::vector<BatchColumn> extraColumns = {};
    // Reads what the table does not hold and checks combinations: empty, or why not.
    std::function<std::string(const BatchCells&, Inputs&)> prepare = {};
    // Whether these inputs use a column of the table (a cut uses one of its two cuts).
    std::function<bool(std::string_view column, const Inputs&)> uses = {};
    // Runs the calculation into the list; false when it gave no result. It may
    // also fill the row's report and results that are not lines of the block.
    std::function<bool(Inputs&, CResultList&, BatchShared&, BatchRowResult& row)> run = {};
    bool makesReports = false;
};

// The table's rows a batch reads: every qexcli option but the files it writes
// (a row's report is the batch's to name).
template <class Inputs>
std::vector<const InputRow<Inputs>*> ColumnRows(const InputTable<Inputs>& table)
{
    std::vector<const InputRow<Inputs>*> rows;
    for (const InputRow<Inputs>& row : table.Rows())
        if (row.option && row.kind != InputKind::FileToWrite)
            rows.push_back(&row);
    return rows;
}

std::string Trimmed(std::string_view text)
{
    const std::size_t first = text.find_first_not_of(" \t\r\n");
    if (first == std::string_view::npos)
        return std::string();
    return std::string(text.substr(first, text.find_last_not_of(" \t\r\n") - first + 1));
}

std::string FromFolder(const std::string& folder, const std::string& path)
{
    if (path.empty() || path.front() == '/' || folder.empty() || folder == ".")
        return path;
    return folder + "/" + path;
}

std::vector<std::string> ResultColumnsOf(const std::vector<ResultLabel>& labels)
{
    std::vector<std::string> columns;
    for (const ResultLabel& label : labels) {
        if (label.column.empty())
            continue;
        bool seen = false;
        for (const std::string& column : columns)
            seen = seen || column == label.column;
        if (!seen)
            columns.emplace_back(label.column);
    }
    return columns;
}

// Reads a block's lines back into the result columns.
void ReadBlock(const std::vector<std::string>& lines, const std::vector<ResultLabel>& labels,
               const std::vector<std::string>& columns, BatchRowResult& result)
{
    result.results.assign(columns.size(), std::string());
    for (const std::string& line : lines) {
        const std::size_t colon = line.find(':');
        if (line.rfind("Calculation Result", 0) == 0 || colon == std::string::npos)
            continue;
        const std::string label = Trimmed(line.substr(0, colon));
        const std::string value = Trimmed(line.substr(colon + 1));
        const ResultLabel* match = nullptr;
        for (const ResultLabel& candidate : labels)
            if (candidate.list ? label.rfind(candidate.label, 0) == 0 : label == candidate.label)
                match = &candidate;
        if (match == nullptr) {
            result.extraResults.emplace_back(BatchColumnName(label), value);
            continue;
        }
        if (match->column.empty())
            continue;
        for (std::size_t c = 0; c < columns.size(); ++c) {
            if (columns[c] != match->column)
                continue;
            std::string& cell = result.results[c];
            cell = match->list && !cell.empty() ? cell + " " + value : value;
        }
    }
}

template <class Inputs>
BatchRowResult RunRow(const Recipe<Inputs>& recipe, const BatchCells& cells, BatchShared& shared)
{
    BatchRowResult result;
    const std::vector<std::string> resultColumns = ResultColumnsOf(recipe.labels);
    result.results.assign(resultColumns.size(), std::string());
    const auto rows = ColumnRows(recipe.table);

    CThreadMessageCapture capture;
    CMessageBatch once; // a warning repeated within a row is said once, as in one qexcli run
    Inputs inputs{};
    std::string why;
    std::string_view refused; // the column whose cell was refused: shown as given
    for (const InputRow<Inputs>* row : rows) {
        const std::string* cell = cells.Find(row->name);
        if (cell == nullptr)
            continue;
        std::string text = *cell;
        if (row->kind == InputKind::Number)
            text = WithDecimalPoint(text, cells.decimalComma);
        if (row->kind == InputKind::FileToRead)
            text = FromFolder(cells.folder, text);
        why = SetInputFromText(*row, inputs, text);
        if (!why.empty()) {
            why = std::string(row->name) + ": " + why;
            refused = row->name;
            break;
        }
    }
    if (why.empty() && recipe.prepare)
        why = recipe.prepare(cells, inputs);

    for (const BatchColumn& column : recipe.extraColumns) {
        const std::string* cell = cells.Find(column.name);
        result.inputs.push_back(cell != nullptr ? *cell : std::string());
    }
    for (const InputRow<Inputs>* row : rows) {
        const std::string* cell = cells.Find(row->name);
        if ((row->kind == InputKind::FileToRead || row->name == refused) && cell != nullptr)
            result.inputs.push_back(*cell); // as the file has it (paths relative to its folder)
        else if (recipe.uses && !recipe.uses(row->name, inputs))
            result.inputs.emplace_back();
        else
            result.inputs.push_back(InputValueText(*row, inputs));
    }

    if (!why.empty()) {
        result.failed = true;
        result.messages.push_back(why);
        return result;
    }
    CResultList list;
    bool ok = false;
    RunGuarded([&] { ok = recipe.run(inputs, list, shared, result); });
    for (std::size_t i = 0; i < capture.Messages().size(); ++i)
        result.messages.push_back(capture.Details()[i].empty()
                                      ? capture.Messages()[i]
                                      : capture.Messages()[i] + " (" + capture.Details()[i] + ")");
    if (!ok) {
        result.failed = true;
        if (result.messages.empty())
            result.messages.push_back(shared.stop ? "stopped" : "no result");
        return result;
    }
    ReadBlock(list.Lines(), recipe.labels, resultColumns, result);
    return result;
}

template <class Inputs>
BatchCalculator Make(Recipe<Inputs> recipe)
{
    BatchCalculator calculator;
    calculator.name = recipe.name;
    calculator.inputColumns = recipe.extraColumns;
    for (const InputRow<Inputs>* row : ColumnRows(recipe.table))
        calculator.inputColumns.push_back({std::string(row->name), DescribeInput(*row)});
    calculator.resultColumns = ResultColumnsOf(recipe.labels);
    calculator.makesReports = recipe.makesReports;
    calculator.run = [recipe = std::move(recipe)](const BatchCells& cells, BatchShared& shared) {
        return RunRow(recipe, cells, shared);
    };
    return calculator;
}

// The run of a calculator that always gives its block.
template <class Inputs>
auto Appending(void (*append)(const Inputs&, CResultList&))
{
    return [append](Inputs& in, CResultList& list, BatchShared&, BatchRowResult&) {
        append(in, list);
        return true;
    };
}

// The lines of the simulation's block, the central run's and the ranges of the nine.
const std::vector<ResultLabel> kSimulationLabels = {
    {"Cut Value", "cut_value"},
    {"Ratio_diff(100%)", "ratio_diff_percent"},
    {"Exposure Age(kyr)", "exposure_kyr"},
    {"Bural Age(kyr)", "burial_kyr"},
    {"Total Age(kyr)", "total_kyr"},
    {"Al-Be Ratio", "ratio"},
    {"Intersect Numbers", "crossings"},
    {"Intersect year(kyr)", "crossing_years_kyr", true},
    {"Total Exposure Minimum", "exposure_min_kyr"},
    {"Total Exposure Maximum", "exposure_max_kyr"},
    {"Total Burial Minimum", "burial_min_kyr"},
    {"Total Burial Maximum", "burial_max_kyr"},
    {"Total Duration Minimum", "total_min_kyr"},
    {"Total Duration Maximum", "total_max_kyr"},
    {"First_Cut Minimum", "first_cut_min_kyr"},
    {"First_Cut Maximum", "first_cut_max_kyr"},
    {"Cutoff Value Minimum", "cut_value_min"},
    {"Cutoff Value Maximum", "cut_value_max"},
    {"Ratio Difference Minimum", "ratio_diff_min_percent"},
    {"Ratio Difference Maximum", "ratio_diff_max_percent"},
};

// The Monte Carlo's summary as columns, with the digits of its block's lines:
// cut value 5 decimals, ratio difference and ages (kyr) 3.
std::vector<std::pair<std::string, std::string>> MonteCarloColumns(const MonteCarloResult& r)
{
    struct Quantity {
        const char* name;
        const char* number;
        double scale;
    };
    static const Quantity quantities[kMcQuantities] = {
        {"cut_value", "%.5f", 1.0},         {"ratio_diff_percent", "%.3f", 1.0}, {"exposure_kyr", "%.3f", kYearsPerKyr},
        {"burial_kyr", "%.3f", kYearsPerKyr}, {"total_kyr", "%.3f", kYearsPerKyr},
    };
    std::vector<std::pair<std::string, std::string>> columns;
    columns.emplace_back("mc_draws", Format("%d", r.draws));
    columns.emplace_back("mc_seed", Format("%llu", static_cast<unsigned long long>(r.seed)));
    for (int q = 0; q < kMcQuantities; ++q) {
        const Quantity& quantity = quantities[q];
        const MonteCarloSummary& s = r.summary[static_cast<std::size_t>(q)];
        const std::pair<const char*, double> statistics[] = {{"median", s.median}, {"p16", s.p16},   {"p84", s.p84},
                                                             {"p2_5", s.p2_5},     {"p97_5", s.p97_5}, {"mean", s.mean},
                                                             {"sd", s.sd}};
        for (const auto& [statistic, value] : statistics)
            columns.emplace_back(std::string("mc_") + quantity.name + "_" + statistic,
                                 r.succeeded > 0 ? Format(quantity.number, value / quantity.scale) : std::string());
    }
    const double n = r.draws > 0 ? r.draws : 1;
    columns.emplace_back("mc_matched_percent", Format("%.1f", 100.0 * r.matched / n));
    columns.emplace_back("mc_failed_percent", Format("%.1f", 100.0 * (r.draws - r.succeeded) / n));
    return columns;
}

BatchCalculator SimulationBatch()
{
    Recipe<SimulationInputs> recipe{"simulate", SimulationInputTable(), kSimulationLabels};
    recipe.makesReports = true;
    recipe.run = [](SimulationInputs& in, CResultList& list, BatchShared& shared, BatchRowResult& result) {
        SimulationBatchRow row{&shared.curves, shared.keepReports, {}};
        const auto running = [&shared](int, int) { return !shared.stop; };
        if (!AppendSimulation(in, list, nullptr, running, &row))
            return false;
        result.report = std::move(row.report);
        if (in.monteCarloDraws <= 0.0)
            return true;
        // The rows already run side by side: each row's draws run on its own
        // thread, and the same seed gives the same draws on any thread.
        MonteCarloResult draws;
        CResultList block;
        if (!AppendMonteCarlo(in, block, draws, running, 1))
            return false;
        for (auto& column : MonteCarloColumns(draws))
            result.extraResults.push_back(std::move(column));
        return true;
    };
    return Make(std::move(recipe));
}

BatchCalculator CutBatch()
{
    Recipe<CutInputs> recipe{"cut",
                         CutInputTable(),
                         {{"Exposure Age(kyr)", "exposure_kyr"},
                          {"Bural Age(kyr)", "burial_kyr"},
                          {"Total Age(kyr)", "total_kyr"},
                          {"Cut Value", "cut_value"},
                          {"Intersect Numbers", "crossings"},
                          {"Intersect year(kyr)", "crossing_years_kyr", true}}};
    // As qexcli: a cut value given is a cut by value, otherwise the cut is by age.
    recipe.prepare = [](const BatchCells& cells, CutInputs& in) -> std::string {
        if (cells.Find("cut-value") != nullptr && cells.Find("cut-age") != nullptr)
            return "cut-age and cut-value exclude each other: give one of them";
        in.cutByAge = cells.Find("cut-value") == nullptr;
        return std::string();
    };
    recipe.uses = [](std::string_view column, const CutInputs& in) {
        return column != (in.cutByAge ? "cut-value" : "cut-age");
    };
    recipe.run = [](CutInputs& in, CResultList& list, BatchShared&, BatchRowResult&) {
        std::string failure;
        const CutOutcome outcome = AppendCutResults(in, list, nullptr, &failure);
        if (outcome == CutOutcome::NoValidResult)
            ShowMessage(Trimmed(kNoValidResultsLine) + ": " + failure);
        return outcome == CutOutcome::Result;
    };
    return Make(std::move(recipe));
}

BatchCalculator ScalingBatch()
{
    Recipe<ScalingSite> recipe{"scaling",
                           ScalingInputTable(),
                           {{"Latitude", ""},
                            {"Altitude", ""},
                            {"Muon contribution", ""},
                            {"Stone 2000", "stone_2000_factor"},
                            {"Lal 1991 Be", "lal_1991_be_factor"},
                            {"Lal 1991 Al", "lal_1991_al_factor"},
                            {"Dunai 2000", "dunai_2000_factor"}}};
    recipe.run = Appending(&AppendScalingFactorResults);
    return Make(std::move(recipe));
}

BatchCalculator ThicknessBatch()
{
    Recipe<ThicknessInputs> recipe{"thickness",
                               ThicknessInputTable(),
                               {{"Density", ""}, {"FreePath", ""}, {"Thickness", ""}, {"Factor", "thickness_factor"}}};
    recipe.run = Appending(&AppendThicknessResult);
    return Make(std::move(recipe));
}

BatchCalculator SlopeThicknessBatch()
{
    Recipe<SlopeThicknessInputs> recipe{"slope-thickness",
                                    SlopeThicknessInputTable(),
                                    {{"Density", ""},
                                     {"FreePath", ""},
                                     {"Thickness", ""},
                                     {"Slope", ""},
                                     {"Factor", "slope_thickness_factor"}}};
    recipe.run = Appending(&AppendSlopeThicknessResult);
    return Make(std::move(recipe));
}

BatchCalculator ShieldingBatch()
{
    Recipe<ShieldingInputs> recipe{"shielding", ShieldingInputTable(), {{"Shielding Factor", "shielding_factor"}}};
    recipe.extraColumns = {
        {"horizon-file",
         {"Horizon file", "", "", "one \"azimuth angle\" pair a line; its points come before those of horizon",
          InputKind::FileToRead, "", std::nullopt, -1, false}},
        // Described as a flag is: by its default alone.
        {"horizon",
         {"Horizon points", "degrees", "",
          "azimuth:angle pairs separated by blanks (\"0:12 90:8.5 180:20\"), azimuth 0 to 360, angle 0 to 90",
          InputKind::Flag, "none", std::nullopt, -1, false}},
    };
    recipe.prepare = [](const BatchCells& cells, ShieldingInputs& in) -> std::string {
        if (const std::string* file = cells.Find("horizon-file")) {
            CThreadMessageCapture said;
            if (!ReadHorizonFile(FromFolder(cells.folder, *file), in.points))
                return "horizon-file: " + (said.Messages().empty() ? std::string("cannot be read")
                                                                     : said.Messages().front());
        }
        const std::string* horizon = cells.Find("horizon");
        std::size_t at = 0;
        while (horizon != nullptr && at < horizon->size()) {
            const std::size_t start = horizon->find_first_not_of(" \t", at);
            if (start == std::string::npos)
                break;
            at = std::min(horizon->find_first_of(" \t", start), horizon->size());
            const std::string pair = horizon->substr(start, at - start);
            const std::size_t colon = pair.find(':');
            if (colon == std::string::npos)
                return "horizon: '" + pair + "' is not an azimuth:angle pair";
            HorizonPoint point;
            const std::string why =
                ParseHorizonPoint(WithDecimalPoint(pair.substr(0, colon), cells.decimalComma) + "," +
                                      WithDecimalPoint(pair.substr(colon + 1), cells.decimalComma),
                                  point);
            if (!why.empty())
                return "horizon: '" + pair + "': " + why;
            in.points.push_back(point);
        }
        return std::string();
    };
    recipe.run = Appending(&AppendShieldingResult);
    return Make(std::move(recipe));
}

BatchCalculator ExposureBatch()
{
    Recipe<ExposureInputs> recipe{"exposure", ExposureInputTable(), {{"Exposure Age", "exposure_age_yr"}}};
    recipe.prepare = [](const BatchCells& cells, ExposureInputs& in) -> std::string {
        // As qexcli: only the fixed names may fall back to the installed
        // records. The rows run side by side: none writes the scratch table.
        in.poleMayBeInstalled = cells.Find("pole") == nullptr;
        in.intensityMayBeInstalled = cells.Find("intensity") == nullptr;
        in.tablePath.clear();
        return std::string();
    };
    recipe.run = [](ExposureInputs& in, CResultList& list, BatchShared&, BatchRowResult&) {
        return AppendExposureAge(in, list);
    };
    return Make(std::move(recipe));
}

} // namespace

const std::string* BatchCells::Find(std::string_view name) const
{
    const auto found = cells.find(name);
    return found == cells.end() || found->second.empty() ? nullptr : &found->second;
}

const std::vector<BatchCalculator>& BatchCalculators()
{
    static const std::vector<BatchCalculator> calculators = {SimulationBatch(), CutBatch(),
                                                             ScalingBatch(),    ThicknessBatch(),
                                                             SlopeThicknessBatch(), ShieldingBatch(),
                                                             ExposureBatch()};
    return calculators;
}

const BatchCalculator* FindBatchCalculator(std::string_view name)
{
    for (const BatchCalculator& calculator : BatchCalculators())
        if (calculator.name == name)
            return &calculator;
    return nullptr;
}

std::string BatchColumnName(std::string_view label)
{
    std::string name;
    for (char c : label) {
        if (std::isalnum(static_cast<unsigned char>(c)))
            name += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        else if (!name.empty() && name.back() != '_')
            name += '_';
    }
    while (!name.empty() && name.back() == '_')
        name.pop_back();
    return name;
}

} // namespace qex
