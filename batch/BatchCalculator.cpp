#include "batch/BatchCalculator.h"

#include "calculators/CalculatorList.h"
#include "core/CommandGuard.h"
#include "core/Message.h"
#include "corrections/HorizonFile.h"
#include "corrections/ShieldingResult.h"
#include "geomag/ExposureAgeResult.h"
#include "proxy/CutResults.h"

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

// What a calculator asks of a batch beyond its input table.
struct BatchHooks {
    // Columns the table does not hold, first in the output; `prepare` reads them.
    std::vector<BatchColumn> extraColumns = {};
    // Reads what the table does not hold and checks combinations: empty, or why not.
    std::function<std::string(const BatchCells&, CCalculatorForm&)> prepare = {};
    // Whether these inputs use a column of the table (a cut uses one of its two cuts).
    std::function<bool(std::string_view column, CCalculatorForm&)> uses = {};
    bool makesReports = false;
};

std::string FromFolder(const std::string& folder, const std::string& path)
{
    if (path.empty() || path.front() == '/' || folder.empty() || folder == ".")
        return path;
    return folder + "/" + path;
}

// The fields a batch reads: every qexcli option but the files it writes (a
// row's report is the batch's to name).
std::vector<const InputField*> ColumnFields(CCalculatorForm& form)
{
    std::vector<const InputField*> fields;
    for (const InputField& field : form.Fields())
        if (field.option && field.description.kind != InputKind::FileToWrite)
            fields.push_back(&field);
    return fields;
}

BatchRowResult RunRow(const Calculator& calculator, const BatchHooks& hooks, const BatchCells& cells,
                      BatchShared& shared)
{
    BatchRowResult result;
    CThreadMessageCapture capture;
    CMessageBatch once; // a warning repeated within a row is said once, as in one qexcli run
    const std::unique_ptr<CCalculatorForm> form = calculator.form();
    const auto fields = ColumnFields(*form);

    std::string why;
    std::string_view refused; // the column whose cell was refused: shown as given
    for (const InputField* field : fields) {
        const std::string* cell = cells.Find(field->name);
        if (cell == nullptr)
            continue;
        std::string text = *cell;
        if (field->description.kind == InputKind::Number)
            text = WithDecimalPoint(text, cells.decimalComma);
        if (field->description.kind == InputKind::FileToRead)
            text = FromFolder(cells.folder, text);
        why = SetTargetFromText(field->target, field->description, text);
        if (!why.empty()) {
            why = std::string(field->name) + ": " + why;
            refused = field->name;
            break;
        }
    }
    if (why.empty() && hooks.prepare)
        why = hooks.prepare(cells, *form);
    // A cell given overrides its value in the row's constant set.
    if (why.empty())
        why = form->Complete([&cells](std::string_view name) { return cells.Find(name) != nullptr; });

    for (const BatchColumn& column : hooks.extraColumns) {
        const std::string* cell = cells.Find(column.name);
        result.inputs.push_back(cell != nullptr ? *cell : std::string());
        if (cell != nullptr)
            result.inputValues.push_back({column.name, column.description.unit, *cell});
    }
    for (const InputField* field : fields) {
        const std::string* cell = cells.Find(field->name);
        if ((field->description.kind == InputKind::FileToRead || field->name == refused) && cell != nullptr) {
            result.inputs.push_back(*cell); // as the file has it (paths relative to its folder)
            result.inputValues.push_back({field->name, field->description.unit, *cell});
        } else if (hooks.uses && !hooks.uses(field->name, *form)) {
            result.inputs.emplace_back();
        } else {
            result.inputs.push_back(TargetText(field->target));
            // An option added later is named only where it is not at its default.
            if (field->description.listedAtDefault || result.inputs.back() != field->description.defaultText)
                result.inputValues.push_back(TargetValue(field->name, field->description.unit, field->target));
        }
    }

    if (!why.empty()) {
        result.failed = true;
        result.messages.push_back(why);
        return result;
    }
    CalculatorContext context;
    context.curves = &shared.curves;
    context.batchRow = true;
    context.keepReport = shared.keepReports;
    context.running = [&shared] { return !shared.stop; };
    CResultList list;
    COutputBlocks blocks;
    bool ok = false;
    RunGuarded([&] { ok = form->Compute(list, blocks, context); });
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
    result.report = std::move(context.report);
    result.results = blocks.Values();
    result.constants = blocks.Constants();
    return result;
}

BatchHooks CutHooks()
{
    BatchHooks hooks;
    // As qexcli: a cut value given is a cut by value, otherwise the cut is by age.
    hooks.prepare = [](const BatchCells& cells, CCalculatorForm& form) -> std::string {
        if (cells.Find("cut-value") != nullptr && cells.Find("cut-age") != nullptr)
            return "cut-age and cut-value exclude each other: give one of them";
        TypedForm<CutInputs>(&form)->Held().cutByAge = cells.Find("cut-value") == nullptr;
        return std::string();
    };
    hooks.uses = [](std::string_view column, CCalculatorForm& form) {
        return column != (TypedForm<CutInputs>(&form)->Held().cutByAge ? "cut-value" : "cut-age");
    };
    return hooks;
}

BatchHooks ShieldingHooks()
{
    BatchHooks hooks;
    hooks.extraColumns = {
        {"horizon-file",
         {"Horizon file", "", "", "one \"azimuth angle\" pair a line; its points come before those of horizon",
          InputKind::FileToRead, "", std::nullopt, -1, false}},
        // Described as a flag is: by its default alone.
        {"horizon",
         {"Horizon points", "degrees", "",
          "azimuth:angle pairs separated by blanks (\"0:12 90:8.5 180:20\"), azimuth 0 to 360, angle 0 to 90",
          InputKind::Flag, "none", std::nullopt, -1, false}},
    };
    hooks.prepare = [](const BatchCells& cells, CCalculatorForm& form) -> std::string {
        ShieldingInputs& in = TypedForm<ShieldingInputs>(&form)->Held();
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
    return hooks;
}

BatchHooks ExposureHooks()
{
    BatchHooks hooks;
    // As qexcli: only the fixed names may fall back to the installed records.
    hooks.prepare = [](const BatchCells& cells, CCalculatorForm& form) -> std::string {
        ExposureInputs& in = TypedForm<ExposureInputs>(&form)->Held();
        in.poleMayBeInstalled = cells.Find("pole") == nullptr;
        in.intensityMayBeInstalled = cells.Find("intensity") == nullptr;
        return std::string();
    };
    return hooks;
}

BatchHooks HooksOf(std::string_view name)
{
    if (name == "cut")
        return CutHooks();
    if (name == "shielding")
        return ShieldingHooks();
    if (name == "exposure")
        return ExposureHooks();
    BatchHooks hooks;
    hooks.makesReports = name == "simulate";
    return hooks;
}

BatchCalculator Make(const Calculator& calculator)
{
    BatchHooks hooks = HooksOf(calculator.info.name);
    BatchCalculator batch;
    batch.name = std::string(calculator.info.name);
    batch.inputColumns = hooks.extraColumns;
    const std::unique_ptr<CCalculatorForm> form = calculator.form();
    for (const InputField* field : ColumnFields(*form))
        batch.inputColumns.push_back({std::string(field->name), field->description});
    batch.resultColumns = calculator.resultColumns;
    batch.makesReports = hooks.makesReports;
    batch.run = [&calculator, hooks = std::move(hooks)](const BatchCells& cells, BatchShared& shared) {
        return RunRow(calculator, hooks, cells, shared);
    };
    return batch;
}

} // namespace

const std::string* BatchCells::Find(std::string_view name) const
{
    const auto found = cells.find(name);
    return found == cells.end() || found->second.empty() ? nullptr : &found->second;
}

const std::vector<BatchCalculator>& BatchCalculators()
{
    static const std::vector<BatchCalculator> calculators = [] {
        std::vector<BatchCalculator> batch;
        for (const Calculator& calculator : Calculators())
            if (calculator.info.batch)
                batch.push_back(Make(calculator));
        return batch;
    }();
    return calculators;
}

const BatchCalculator* FindBatchCalculator(std::string_view name)
{
    for (const BatchCalculator& calculator : BatchCalculators())
        if (calculator.name == name)
            return &calculator;
    return nullptr;
}

} // namespace qex
