#pragma once
// A batch: a CSV file of samples run through one calculator, one result row
// per input row in input order, rows spread over the processor's cores, the
// output file and the reports put in place together at the end.

#include "batch/BatchCalculator.h"
#include "batch/SampleFormats.h"
#include "core/AtomicFile.h"
#include "core/FolderLock.h"
#include "core/StagingFolder.h"

#include <functional>
#include <memory>
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
    SampleFormat format = SampleFormat::Csv; // the format the file was read in
    std::vector<std::string> notes;          // what was read and not used (calibration lines, unused fields)
};

// Whether a column is one a batch carries from its input to its output
// untouched, for what reads the rows together (batch/GroupSummary.h):
// "group", "landform", "elevation", "distance".
bool IsCarriedColumn(std::string_view name);

// Reads a batch file for a calculator. False, with why in `error`, when the
// file is unusable: it cannot be read, is not CSV, has no header, or names a
// column the calculator does not take (each such column named) or one twice.
bool OpenBatch(const std::string& calculator, const std::string& path, BatchJob& job, std::string& error);
// The same from the file's text; `folder` is where its relative paths start.
bool OpenBatchText(const std::string& calculator, std::string_view text, const std::string& folder, BatchJob& job,
                   std::string& error);
// The whole text of a batch file: false, with why in `error`, for one that
// cannot be read or is not a regular file (a pipe or a device could block).
bool ReadBatchFile(const std::string& path, std::string& text, std::string& error);
// The same for a table of samples that is not one of the calculators (a
// figure's, read as a batch is): its columns are the calculator's input
// columns, and the calculator must outlive the job.
bool OpenBatch(const BatchCalculator& calculator, const std::string& path, BatchJob& job, std::string& error);
bool OpenBatchText(const BatchCalculator& calculator, std::string_view text, const std::string& folder, BatchJob& job,
                   std::string& error);
// The same in a format named rather than detected from the content
// (SampleFormat::Auto: detected). A sample measured for both nuclides is a
// row per nuclide where the calculator takes one concentration.
bool OpenBatch(const BatchCalculator& calculator, const std::string& path, SampleFormat format, BatchJob& job,
               std::string& error);
bool OpenBatchText(const BatchCalculator& calculator, std::string_view text, const std::string& folder,
                   SampleFormat format, BatchJob& job, std::string& error);

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
// Called on the row's own thread as soon as row `index` has run (to write its
// report and let go of its text).
using BatchRowDone = std::function<void(std::size_t index, BatchRowOutcome& row)>;

// Runs every row on `threads` threads (0: one per core; fewer when the system
// gives no more, and std::system_error when it gives none). With keepReports,
// simulation rows keep their report's text. A row that throws (memory
// running out) fails alone.
BatchOutcome RunBatch(const BatchJob& job, int threads, bool keepReports, const BatchProgress& progress = {},
                      const BatchRowDone& rowDone = {});

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
// input file, a file a row reads (by default too: the geomagnetic records a
// row without them reads), or another output.
bool CheckBatchFiles(const BatchJob& job, const std::string& outputPath, const std::string& reportDir,
                     const BatchFileNames& names = {});

// The files a batch writes: the output file and, with a report folder, one
// report per simulation row. Each report is written whole as soon as its row
// has run (one file open at a time, its text then let go) into a hidden
// folder of the report folder; Commit renames them into place, removes the
// old report of each row that failed, and puts the output file in place
// last. A batch stopped or failed before Commit leaves every file as it was.
class CBatchOutputs {
public:
    CBatchOutputs(const BatchJob& job, std::string outputPath, std::string reportDir,
                  const BatchOutputFormat& format = {});
    ~CBatchOutputs();
    CBatchOutputs(const CBatchOutputs&) = delete;
    CBatchOutputs& operator=(const CBatchOutputs&) = delete;

    // Before any row runs, once CheckBatchFiles passed: the output file and
    // the report folder (made when missing) found writable. False after a
    // message (none when `wait` gave up waiting for the folder).
    bool Open(const FolderLockWait& wait = {});
    // Whether simulation rows are to keep their report's text.
    bool WantsReports() const;
    // For RunBatch's rowDone: writes the row's report, or marks its old one
    // for removal when the row failed. A report that cannot be written fails
    // its row alone, with the reason in its messages.
    void TakeRow(std::size_t index, BatchRowOutcome& row);
    // Puts everything in place: syncs the reports (asking `wait(false)`
    // meanwhile whether to go on) and waits while another batch puts its
    // files in the same folders. False after a message (none when `wait`
    // gave up).
    bool Commit(const BatchOutcome& outcome, const FolderLockWait& wait = {});

private:
    const BatchJob& m_job;
    std::string m_outputPath;
    std::string m_reportDir;
    std::vector<std::string> m_reportPaths;
    std::unique_ptr<CAtomicFile> m_output;
    std::unique_ptr<CStagingFolder> m_reports;
    BatchOutputFormat m_format;
};

} // namespace qex
