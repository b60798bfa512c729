// The batch file reader on any bytes: the CSV reader either refuses the text
// or reads records that the writer writes back to the same records (text a
// spreadsheet would run as a formula behind a '); a file
// that opens as a batch runs its rows (thickness and shielding: every cell
// read, the horizon parsed) to a finite result or an error.

#include "batch/BatchRun.h"
#include "core/CsvTable.h"
#include "fuzz/FuzzSupport.h"

using namespace qex;

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    fuzz::DropMessages();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string text = fuzz::Text(data, size);
    CsvTable table;
    std::string error;
    if (!ReadCsv(text, table, error)) {
        fuzz::Require(!error.empty(), "a refused text says why");
        return 0;
    }
    std::string written;
    for (const CsvRecord& record : table.records)
        written += CsvLine(record.fields);
    CsvTable again;
    fuzz::Require(ReadCsv(written, again, error), "what the writer writes reads back");
    fuzz::Require(again.records.size() == table.records.size(), "as many records");
    // ... but for the ' that keeps a spreadsheet from running a formula.
    for (std::size_t r = 0; r < table.records.size(); ++r) {
        std::vector<std::string> guarded = table.records[r].fields;
        for (std::string& field : guarded)
            if (ReadAsFormula(field))
                field.insert(0, "'");
        fuzz::Require(again.records[r].fields == guarded, "the same fields");
    }

    for (const char* calculator : {"thickness", "shielding"}) {
        BatchJob job;
        if (!OpenBatchText(calculator, text, ".", job, error) || job.rows.size() > 64)
            continue;
        const BatchOutcome outcome = RunBatch(job, 1, false);
        fuzz::Require(outcome.rows.size() == job.rows.size(), "one outcome a row");
        for (const BatchRowOutcome& row : outcome.rows) {
            fuzz::Require(!row.result.failed || !row.result.messages.empty(),
                          "a failed row says why");
            for (const std::string& cell : OutputCells(row.result.results, CellDigits::Full))
                fuzz::Require(fuzz::IsFiniteText(cell), "results are finite numbers");
        }
        fuzz::Require(!FormatBatchCsv(job, outcome).empty(), "the output has its header");
    }
    return 0;
}
