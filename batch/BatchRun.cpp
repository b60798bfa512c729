#include "batch/BatchRun.h"

#include "core/AtomicFile.h"
#include "core/Concurrency.h"
#include "core/CsvTable.h"
#include "core/FileIdentity.h"
#include "core/Format.h"
#include "core/Message.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <chrono>
#include <condition_variable>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <mutex>
#include <set>
#include <sstream>
#include <thread>

namespace qex {

namespace {

constexpr const char* kSampleColumn = "sample";
constexpr const char* kErrorColumn = "error";

std::string Trimmed(std::string_view text)
{
    const std::size_t first = text.find_first_not_of(" \t");
    if (first == std::string_view::npos)
        return std::string();
    return std::string(text.substr(first, text.find_last_not_of(" \t") - first + 1));
}

std::string Lower(std::string text)
{
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

std::string ColumnList(const BatchCalculator& calculator)
{
    std::string list = kSampleColumn;
    for (const BatchColumn& column : calculator.inputColumns)
        list += ", " + column.name;
    return list;
}

bool IsBlankRecord(const CsvRecord& record)
{
    return std::all_of(record.fields.begin(), record.fields.end(),
                       [](const std::string& f) { return Trimmed(f).empty(); });
}

// A sample's name as part of a file name: letters, digits, '.', '-' and '_'
// kept, anything else '_', never starting with a dot.
std::string SafeName(const std::string& sample, int line)
{
    std::string name;
    for (char c : sample)
        name += std::isalnum(static_cast<unsigned char>(c)) || c == '.' || c == '-' || c == '_' ? c : '_';
    if (name.empty())
        return Format("row-%d", line);
    if (name.front() == '.')
        name.front() = '_';
    return name;
}

} // namespace

std::string BatchRowOutcome::Said() const
{
    std::string said;
    for (const std::string& message : result.messages)
        said += (said.empty() ? "" : "; ") + message;
    return said;
}

bool OpenBatch(const std::string& calculator, const std::string& path, BatchJob& job, std::string& error)
{
    const BatchCalculator* found = FindBatchCalculator(calculator);
    if (found == nullptr) {
        error = "no batch for the calculator '" + calculator + "'";
        return false;
    }
    return OpenBatch(*found, path, job, error);
}

bool OpenBatch(const BatchCalculator& calculator, const std::string& path, BatchJob& job, std::string& error)
{
    std::ifstream file(path, std::ios::binary);
    if (!file) {
        error = "Can not open the batch file! (" + FileErrorDetail(path, errno != 0 ? errno : ENOENT) + ")";
        return false;
    }
    std::ostringstream text;
    text << file.rdbuf();
    if (file.bad()) {
        error = "Can not read the batch file! (" + FileErrorDetail(path, errno != 0 ? errno : EIO) + ")";
        return false;
    }
    if (!OpenBatchText(calculator, text.str(), FolderOf(path), job, error)) {
        error = path + ": " + error;
        return false;
    }
    job.inputPath = path;
    return true;
}

bool OpenBatchText(const std::string& calculatorName, std::string_view text, const std::string& folder, BatchJob& job,
                   std::string& error)
{
    const BatchCalculator* found = FindBatchCalculator(calculatorName);
    if (found == nullptr) {
        job = BatchJob();
        error = "no batch for the calculator '" + calculatorName + "'";
        return false;
    }
    return OpenBatchText(*found, text, folder, job, error);
}

bool OpenBatchText(const BatchCalculator& calculator, std::string_view text, const std::string& folder, BatchJob& job,
                   std::string& error)
{
    job = BatchJob();
    job.calculator = &calculator;
    CsvTable table;
    if (!ReadCsv(text, table, error))
        return false;
    if (table.records.empty()) {
        error = "the file has no header line naming its columns";
        return false;
    }
    job.separator = table.separator;

    // The header: names without blanks around them, in any case.
    std::vector<std::string> unknown;
    std::set<std::string> seen;
    for (std::size_t c = 0; c < table.records.front().fields.size(); ++c) {
        const std::string name = Lower(Trimmed(table.records.front().fields[c]));
        bool known = name == kSampleColumn;
        for (const BatchColumn& column : calculator.inputColumns)
            known = known || column.name == name;
        if (name.empty()) {
            // A spreadsheet's trailing empty columns; a column with values needs a name.
            for (std::size_t r = 1; r < table.records.size(); ++r)
                if (c < table.records[r].fields.size() && !Trimmed(table.records[r].fields[c]).empty()) {
                    error = Format("column %d has values but no name", static_cast<int>(c + 1));
                    return false;
                }
        } else if (!known) {
            unknown.push_back("'" + name + "'");
        } else if (!seen.insert(name).second) {
            error = "the column '" + name + "' is named twice";
            return false;
        }
        job.header.push_back(name);
        job.known.push_back(known);
    }
    if (!unknown.empty()) {
        std::string names;
        for (const std::string& name : unknown)
            names += (names.empty() ? "" : ", ") + name;
        error = Format("unknown column%s %s; the columns of %s are: %s", unknown.size() > 1 ? "s" : "",
                       names.c_str(), calculator.name.c_str(), ColumnList(calculator).c_str());
        return false;
    }

    for (std::size_t r = 1; r < table.records.size(); ++r) {
        const CsvRecord& record = table.records[r];
        if (IsBlankRecord(record))
            continue;
        BatchInputRow row;
        row.line = record.line;
        row.cells.folder = folder;
        row.cells.decimalComma = table.separator == ';';
        for (std::size_t c = 0; c < record.fields.size(); ++c) {
            const std::string value = Trimmed(record.fields[c]);
            if (c >= job.header.size()) {
                if (!value.empty() && row.error.empty())
                    row.error = Format("the row has a value in column %d; the header names %d columns",
                                       static_cast<int>(c + 1), static_cast<int>(job.header.size()));
                continue;
            }
            if (job.header[c] == kSampleColumn)
                row.sample = value;
            else if (!job.header[c].empty())
                row.cells.cells[job.header[c]] = value;
        }
        job.rows.push_back(std::move(row));
    }
    return true;
}

BatchOutcome RunBatch(const BatchJob& job, int threads, bool keepReports, const BatchProgress& progress)
{
    BatchOutcome outcome;
    const int total = static_cast<int>(job.rows.size());
    outcome.rows.resize(job.rows.size());
    BatchShared shared;
    shared.keepReports = keepReports;

    std::mutex mutex;
    std::condition_variable rowDone;
    int done = 0;
    std::atomic<int> next{0};
    auto work = [&] {
        // The rows share the cores: a row's own calculation keeps to this thread.
        const CSharedWorkThread sharing;
        for (int i = next++; i < total && !shared.stop; i = next++) {
            const BatchInputRow& row = job.rows[static_cast<std::size_t>(i)];
            BatchRowOutcome& out = outcome.rows[static_cast<std::size_t>(i)];
            out.line = row.line;
            out.sample = row.sample;
            if (!row.error.empty()) {
                out.result.failed = true;
                out.result.messages.push_back(row.error);
            } else {
                out.result = job.calculator->run(row.cells, shared);
            }
            std::lock_guard<std::mutex> lock(mutex);
            ++done;
            rowDone.notify_one();
        }
    };

    if (threads <= 0)
        threads = AvailableThreads();
    threads = std::min(threads, std::max(total, 1));
    std::vector<std::thread> workers;
    for (int t = 0; t < threads; ++t)
        workers.emplace_back(work);
    {
        std::unique_lock<std::mutex> lock(mutex);
        int reported = -1;
        while (done < total && !shared.stop) {
            rowDone.wait_for(lock, std::chrono::milliseconds(100));
            if (progress) {
                const int now = done;
                lock.unlock();
                if (!progress(now, total))
                    shared.stop = true;
                lock.lock();
                reported = now;
            }
        }
        if (progress && reported != done && !shared.stop) {
            lock.unlock();
            progress(done, total);
        }
    }
    for (std::thread& worker : workers)
        worker.join();

    outcome.stopped = shared.stop;
    for (const BatchRowOutcome& row : outcome.rows)
        outcome.failed += row.result.failed ? 1 : 0;
    return outcome;
}

std::string FormatBatchCsv(const BatchJob& job, const BatchOutcome& outcome, CellDigits digits)
{
    const BatchCalculator& calculator = *job.calculator;
    std::vector<std::string> header = {kSampleColumn};
    for (const BatchColumn& column : calculator.inputColumns)
        header.push_back(column.name);
    // Every row's result columns, then those some rows add, in the order first met.
    std::vector<std::string> results = calculator.resultColumns;
    for (const BatchRowOutcome& row : outcome.rows)
        for (const OutputValue& value : row.result.results)
            if (std::find(results.begin(), results.end(), value.name) == results.end())
                results.push_back(value.name);
    header.insert(header.end(), results.begin(), results.end());
    header.push_back(kErrorColumn);

    std::string text = CsvLine(header);
    for (const BatchRowOutcome& row : outcome.rows) {
        std::vector<std::string> fields = {row.sample};
        fields.insert(fields.end(), row.result.inputs.begin(), row.result.inputs.end());
        fields.resize(1 + calculator.inputColumns.size());
        const std::vector<std::string> names = OutputNames(row.result.results);
        const std::vector<std::string> cells = OutputCells(row.result.results, digits);
        for (const std::string& name : results) {
            const auto found = std::find(names.begin(), names.end(), name);
            fields.push_back(found == names.end() ? std::string() : cells[static_cast<std::size_t>(found - names.begin())]);
        }
        fields.push_back(row.result.failed ? row.Said() : std::string());
        text += CsvLine(fields);
    }
    return text;
}

std::vector<std::string> BatchReportPaths(const BatchJob& job, const std::string& reportDir)
{
    std::vector<std::string> paths(job.rows.size());
    if (reportDir.empty() || !job.calculator->makesReports)
        return paths;
    std::set<std::string> taken;
    for (std::size_t i = 0; i < job.rows.size(); ++i) {
        const std::string base = SafeName(job.rows[i].sample, job.rows[i].line);
        std::string name = base;
        for (int n = 2; !taken.insert(name).second; ++n)
            name = Format("%s-%d", base.c_str(), n);
        paths[i] = reportDir + "/" + name + "-report.txt";
    }
    return paths;
}

bool CheckBatchFiles(const BatchJob& job, const std::string& outputPath, const std::string& reportDir,
                     const BatchFileNames& names)
{
    // Found now rather than after every row has run.
    std::error_code error;
    if (!reportDir.empty() && job.calculator->makesReports && std::filesystem::exists(reportDir, error) &&
        !std::filesystem::is_directory(reportDir, error)) {
        ShowMessage("Can not make the report folder!", reportDir + ": " + std::strerror(ENOTDIR));
        return false;
    }
    std::vector<FileUse> uses = {{names.input, job.inputPath, FileRole::Input},
                                 {names.output, outputPath, FileRole::Output}};
    std::set<std::string> read;
    for (const BatchInputRow& row : job.rows)
        for (const BatchColumn& column : job.calculator->inputColumns)
            if (column.description.kind == InputKind::FileToRead)
                if (const std::string* path = row.cells.Find(column.name))
                    if (read.insert(*path).second)
                        uses.push_back({"column " + column.name,
                                        path->front() == '/' ? *path : FolderOf(job.inputPath) + "/" + *path,
                                        FileRole::Input});
    const std::vector<std::string> reports = BatchReportPaths(job, reportDir);
    for (std::size_t i = 0; i < reports.size(); ++i)
        if (!reports[i].empty())
            uses.push_back({Format("the report of line %d", job.rows[i].line), reports[i], FileRole::Output});
    const FileClash clash = FindSameFile(uses);
    if (clash.message.empty())
        return true;
    ShowMessage(clash.message, clash.detail);
    return false;
}

bool WriteBatchOutputs(const BatchJob& job, const BatchOutcome& outcome, const std::string& outputPath,
                       const std::string& reportDir, const BatchOutputFormat& format)
{
    const std::vector<std::string> reports = BatchReportPaths(job, reportDir);
    const bool anyReport = std::any_of(outcome.rows.begin(), outcome.rows.end(),
                                       [](const BatchRowOutcome& row) { return !row.result.report.empty(); });
    if (anyReport && !reportDir.empty()) {
        std::error_code error;
        std::filesystem::create_directories(reportDir, error);
        if (error) {
            ShowMessage("Can not make the report folder!", reportDir + ": " + error.message());
            return false;
        }
    }
    CFileTransaction together;
    const std::string output = format.json ? FormatBatchJson(job, outcome) : FormatBatchCsv(job, outcome, format.digits);
    bool written = WriteFileAtomically(outputPath, output, "Can not write the batch output file!");
    for (std::size_t i = 0; written && i < reports.size(); ++i)
        if (!reports[i].empty() && !outcome.rows[i].result.report.empty())
            written = WriteFileAtomically(reports[i], outcome.rows[i].result.report, "Can not find Output file!");
    return written && together.Commit();
}

} // namespace qex
