#pragma once
// Every calculator that takes numbers, as a batch runs it: one sample a row
// of a CSV file whose columns are the calculator's qexcli options without
// their dashes. A row's results are the lines its dialog would list, read
// back from them, so a batch row and a single run carry the same digits.

#include "core/InputTable.h"
#include "proxy/SimulationCurveCache.h"

#include <atomic>
#include <functional>
#include <map>
#include <string>
#include <string_view>
#include <utility>
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
    std::vector<std::string> inputs;  // one per input column, as used (defaults filled in)
    std::vector<std::string> results; // one per result column; empty when the row failed
    // Lines of the block that have no column of their own: a column named
    // after the line's label, and its value.
    std::vector<std::pair<std::string, std::string>> extraResults;
    std::vector<std::string> messages; // what the row said, each with its detail
    std::string report;                // a simulation's report, when kept
};

struct BatchColumn {
    std::string name;
    InputDescription description;
};

struct BatchCalculator {
    std::string name; // the qexcli command
    std::vector<BatchColumn> inputColumns;
    std::vector<std::string> resultColumns;
    bool makesReports = false;
    std::function<BatchRowResult(const BatchCells& cells, BatchShared& shared)> run;
};

// The calculators in qexcli's order: simulate, cut, scaling, thickness,
// slope-thickness, shielding, exposure.
const std::vector<BatchCalculator>& BatchCalculators();
// Null when there is none of that name.
const BatchCalculator* FindBatchCalculator(std::string_view name);

// A number cell's text as an input row reads it: "1,5" is 1.5 in a file
// whose fields are separated by ';'.
std::string WithDecimalPoint(std::string text, bool decimalComma);

// A line's label as a column name: lower case, words joined by '_' ("Lal 1991 Be" -> "lal_1991_be").
std::string BatchColumnName(std::string_view label);

} // namespace qex
