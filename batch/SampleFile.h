#pragma once
// A CSV file of samples read together, for a figure or a calculation over
// all of them rather than one result a row: read as a batch file is read
// (quoted fields, CRLF, a byte-order mark, ';' with decimal commas), its
// columns named after the rows of an input table and "sample" naming the
// row. Each row's cells fill a copy of a prototype, so a column left out or
// a cell left empty keeps the prototype's value (a command's option); a
// required row's column must hold a value in every row.

#include "batch/BatchRun.h"
#include "core/Format.h"
#include "core/InputTable.h"

#include <string>
#include <vector>

namespace qex {

template <class Sample>
struct SampleRow {
    int line = 0;     // where the row starts in the file, from 1
    std::string name; // its "sample" cell
    Sample values;
};

// Reads every row of the file at `path`, whose columns are those of `table`
// (`what` names them in a message). False, with why in `error` naming the
// file, the line and the column, for a file a batch would refuse, a cell that
// is not a number in its range, a required value missing, or no row at all.
template <class Sample>
bool ReadSampleFile(const std::string& path, const std::string& what, const InputTable<Sample>& table,
                    const Sample& prototype, std::vector<SampleRow<Sample>>& rows, std::string& error)
{
    BatchCalculator columns;
    columns.name = what;
    for (const InputRow<Sample>& row : table.Rows())
        columns.inputColumns.push_back({std::string(row.name), DescribeInput(row)});
    BatchJob job;
    if (!OpenBatch(columns, path, job, error))
        return false;
    rows.clear();
    for (const BatchInputRow& in : job.rows) {
        const std::string where =
            Format("%s, line %d%s: ", path.c_str(), in.line, in.sample.empty() ? "" : (" (" + in.sample + ")").c_str());
        if (!in.error.empty()) {
            error = where + in.error;
            return false;
        }
        SampleRow<Sample> out{in.line, in.sample, prototype};
        for (const InputRow<Sample>& row : table.Rows()) {
            const std::string* cell = in.cells.Find(row.name);
            if (cell == nullptr) {
                if (!row.required)
                    continue;
                error = where + "no value in the column '" + std::string(row.name) + "'";
                return false;
            }
            const std::string why = SetInputFromText(
                row, out.values, row.kind == InputKind::Number ? WithDecimalPoint(*cell, in.cells.decimalComma) : *cell);
            if (!why.empty()) {
                error = where + std::string(row.name) + ": " + why;
                return false;
            }
        }
        rows.push_back(std::move(out));
    }
    if (rows.empty()) {
        error = path + ": the file holds no samples";
        return false;
    }
    return true;
}

} // namespace qex
