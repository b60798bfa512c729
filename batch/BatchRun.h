#pragma once
// A batch: a CSV file of samples run through one calculator, one result row
// per input row in input order, rows spread over the processor's cores, the
// output file and the reports written together at the end, whole or not at all.

#include "batch/BatchCalculator.h"

#include <functional>
#include <string>
#include <vector>

namespace qex {

struct BatchInputRow {
    int line = 0; // where the row starts in the file, from 1 (the header is line 1)
    std::string sample;
    BatchCells cells;
    std::string error; // why the row cannot run before it starts (more cells than the header has columns)
};

struct BatchJob {
    const BatchCalculator* calculator = nullptr;
    std::string inputPath;
    std::vector<std::string> header;  // the file's column names, in its order
    std::vector<bool> known;          // per header column: a column of the calculator (or sample)
    char separator = ',';
    std::vector<BatchInputRow> rows;
};

// Reads a batch file for a calculator. False, with why in `error`, when the
// file is unusable: it cannot be read, is not CSV, has no header, or names a
// column the calculator does not take (each such column named) or one twice.
bool OpenBatch(const std::string& calculator, const std::string& path, BatchJob& job, std::string& error);
// The same from the file's text; `folder` is where its relative paths start.
bool OpenBatchText(const std::string& calculator, std::string_view text, const std::string& folder, BatchJob& job,
                   std::string& error);
// The same for a table of samples that is not one of the calculators (a
// figure's, read as a batch is): its columns are the calculator's input
// columns, and the calculator must outlive the job.
bool OpenBatch(const BatchCalculator& calculator, const std::string& path, BatchJob& job, std::string& error);
bool OpenBatchText(const BatchCalculator& calculator, std::string_view text, const std::string& folder, BatchJob& job,
                   std::string& error);

struct BatchRowOutcome {
    int line = 0;
    std::string sample;
    BatchRowResult result;
    // The row's messages in one line (empty for a row without any).
    std::string Said() const;
};

struct BatchOutcome {
    std::vector<BatchRowOutcome> rows; // in input order
    int failed = 0;
    bool stopped = false; // the progress callback asked to stop: nothing is to be written
};

// Called with the rows done so far, on the calling thread, after each row and
// at least every tenth of a second; false stops the rows still to run.
using BatchProgress = std::function<bool(int done, int total)>;

// Runs every row on `threads` threads (0: one per core). With keepReports,
// simulation rows keep their report's text.
BatchOutcome RunBatch(const BatchJob& job, int threads, bool keepReports, const BatchProgress& progress = {});

// How the output file is written: CSV with numbers in full (the shortest
// text that reads back to the same double) or with the list's digits, or JSON.
struct BatchOutputFormat {
    bool json = false;
    CellDigits digits = CellDigits::Full;
};

// The output file: "sample", the input columns as used, the result columns,
// the columns some rows add (the Monte Carlo's), and "error".
std::string FormatBatchCsv(const BatchJob& job, const BatchOutcome& outcome, CellDigits digits = CellDigits::Full);
// The same as one JSON document, an object per sample (see
// packaging/qexcli-output.schema.json).
std::string FormatBatchJson(const BatchJob& job, const BatchOutcome& outcome);

// Where each row's report goes: DIR/<sample>-report.txt, the sample's name
// made safe for a file name ("row-N" without one), a name used twice numbered
// ("B1-2-report.txt"). One entry per row, empty for a row that makes none.
std::vector<std::string> BatchReportPaths(const BatchJob& job, const std::string& reportDir);

// How the messages name the input and output files: qexcli's options, or a dialog's fields.
struct BatchFileNames {
    std::string input = "--input";
    std::string output = "--output";
};

// Refuses, with a message naming both, an output or report that names the
// input file or a file a row reads, or another output.
bool CheckBatchFiles(const BatchJob& job, const std::string& outputPath, const std::string& reportDir,
                     const BatchFileNames& names = {});

// Writes the output file and the reports the rows kept (with a report folder,
// made when missing), together: all in place or none. False after a message.
bool WriteBatchOutputs(const BatchJob& job, const BatchOutcome& outcome, const std::string& outputPath,
                       const std::string& reportDir, const BatchOutputFormat& format = {});

} // namespace qex
