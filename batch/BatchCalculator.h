#pragma once
// Every calculator of the list that takes numbers, as a batch runs it: one
// sample a row of a CSV file whose columns are the calculator's qexcli
// options without their dashes. A row's results are the values of its
// output table, the numbers themselves.

#include "core/InputTable.h"
#include "core/OutputTable.h"
#include "proxy/SimulationCurveCache.h"

#include <atomic>
#include <functional>
#include <map>
#include <string>
#include <string_view>
#include <vector>

namespace qex {

// The cells of one row by column name.
struct BatchCells {
    std::map<std::string, std::string, std::less<>> cells;
    std::string folder;        // of the CSV file: relative paths in cells are read from there
    bool decimalComma = false; // a ';' file: "1,5" is 1.5

    // The cell's text without the blanks around it; null when the row leaves it out or blank.
    const std::string* Find(std::string_view name) const;
};

// What the rows of one batch share.
struct BatchShared {
    CSimulationCurveCache curves;  // each proxy curve read once
    bool keepReports = false;      // simulation rows keep their report's text
    std::atomic<bool> stop{false}; // set to abandon the rows still running
};

struct BatchRowResult {
    bool failed = false;
    std::vector<std::string> inputs;     // one per input column, as used (defaults filled in)
    std::vector<InputValue> inputValues; // the same as values, the columns the row uses
    std::vector<OutputValue> results;    // of every block the row gave; empty when it failed
    Provenance constants;                // the constants in force
    std::vector<std::string> messages;   // what the row said, each with its detail
    std::string report;                  // a simulation's report, when kept
};

struct BatchColumn {
    std::string name;
    InputDescription description;
};

struct BatchCalculator {
    std::string name; // the qexcli command
    std::vector<BatchColumn> inputColumns;
    std::vector<std::string> resultColumns; // every row's; a row may add more (the Monte Carlo's)
    bool makesReports = false;
    std::function<BatchRowResult(const BatchCells& cells, BatchShared& shared)> run;
};

// The calculators of the list that a batch runs, in its order.
const std::vector<BatchCalculator>& BatchCalculators();
// Null when there is none of that name.
const BatchCalculator* FindBatchCalculator(std::string_view name);

// A number cell's text as an input row reads it: "1,5" is 1.5 in a file
// whose fields are separated by ';'.
std::string WithDecimalPoint(std::string text, bool decimalComma);

} // namespace qex
