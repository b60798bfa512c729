#include "batch/BatchDefaults.h"

namespace qex {

namespace {
const BatchColumn* FindColumn(const BatchCalculator& calculator, const std::string& name)
{
    for (const BatchColumn& column : calculator.inputColumns)
        if (column.name == name)
            return &column;
    return nullptr;
}

// "1387000" and "1.387e6" are one value; a text that is no number compares as it is.
bool SameValue(const std::string& a, const std::string& b)
{
    double x = 0.0;
    double y = 0.0;
    if (ReadInputNumber(a, std::nullopt, x).empty() && ReadInputNumber(b, std::nullopt, y).empty())
        return x == y;
    return a == b;
}
} // namespace

void FillMissingCells(BatchJob& job, const SettingValues& values)
{
    for (const SettingValue& value : values) {
        if (FindColumn(*job.calculator, value.name) == nullptr)
            continue;
        for (BatchInputRow& row : job.rows)
            if (row.cells.Find(value.name) == nullptr)
                row.cells.cells[value.name] = value.value;
    }
}

std::vector<std::string> DescribeBatchSettings(const BatchCalculator& calculator, const SettingValues& values)
{
    std::vector<std::string> lines;
    for (const SettingValue& value : values) {
        const BatchColumn* column = FindColumn(calculator, value.name);
        if (column == nullptr || SameValue(value.value, column->description.defaultText))
            continue;
        std::string line = std::string(column->description.label) + ": " + value.value;
        if (!column->description.unit.empty())
            line += " " + std::string(column->description.unit);
        lines.push_back(std::move(line));
    }
    return lines;
}

} // namespace qex
