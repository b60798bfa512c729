#include "batch/BatchRun.h"

#include "core/AtomicFile.h"
#include "core/CommandGuard.h"
#include "core/Concurrency.h"
#include "core/CsvTable.h"
#include "core/FileIdentity.h"
#include "core/FolderLock.h"
#include "core/Format.h"
#include "core/InstalledFiles.h"
#include "core/JsonDocument.h"
#include "core/Message.h"
#include "core/StagingFolder.h"
#include "core/TextNumber.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <cerrno>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <mutex>
#include <set>
#include <sstream>
#include <sys/stat.h>
#include <thread>

namespace qex {

namespace {

constexpr const char* kSampleColumn = "sample";
constexpr const char* kErrorColumn = "error";
// Columns a batch carries from its input to its output untouched, for what
// reads the rows together: the landform a sample dates and its place on a
// transect (batch/GroupSummary.h).
constexpr std::array<std::string_view, 4> kCarriedColumns = {"group", "landform", "elevation", "distance"};

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

// The longest sample part of a report's name: with "-report.txt" and a
// number for a name used again it stays well within a file name's 255 bytes.
constexpr std::size_t kMostNameBytes = 200;
constexpr std::size_t kHashDigits = 16;

// FNV-1a, 64 bits: the same name gives the same digits on every run.
std::uint64_t NameHash(std::string_view text)
{
    std::uint64_t hash = 0xcbf29ce484222325ULL;
    for (char c : text) {
        hash ^= static_cast<unsigned char>(c);
        hash *= 0x100000001b3ULL;
    }
    return hash;
}

// A sample's name as part of a file name: letters, digits, '.', '-' and '_'
// kept, anything else '_', never starting with a dot or a dash (which a
// command would take for an option). A name too long for a file is cut and
// ends in a hash of the whole name, so that long names differing only at
// their ends still name different files.
std::string SafeName(const std::string& sample, int line)
{
    std::string name;
    for (char c : sample)
        name += std::isalnum(static_cast<unsigned char>(c)) || c == '.' || c == '-' || c == '_' ? c : '_';
    if (name.empty())
        return Format("row-%d", line);
    if (name.front() == '.' || name.front() == '-')
        name.front() = '_';
    if (name.size() > kMostNameBytes)
        name = name.substr(0, kMostNameBytes - kHashDigits - 1) +
               Format("-%016llx", static_cast<unsigned long long>(NameHash(sample)));
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

bool IsCarriedColumn(std::string_view name)
{
    return std::find(kCarriedColumns.begin(), kCarriedColumns.end(), name) != kCarriedColumns.end();
}

bool OpenBatch(const BatchCalculator& calculator, const std::string& path, BatchJob& job, std::string& error)
{
    return OpenBatch(calculator, path, SampleFormat::Auto, job, error);
}

bool ReadBatchFile(const std::string& path, std::string& text, std::string& error)
{
    // A pipe or a device could block or never end (/dev/zero).
    struct stat st {};
    if (::stat(path.c_str(), &st) == 0 && !S_ISREG(st.st_mode)) {
        error = "Can not open the batch file! (" +
                (S_ISDIR(st.st_mode) ? FileErrorDetail(path, EISDIR) : path + ": not a regular file") + ")";
        return false;
    }
    std::ifstream file(path, std::ios::binary);
    if (!file) {
        error = "Can not open the batch file! (" + FileErrorDetail(path, errno != 0 ? errno : ENOENT) + ")";
        return false;
    }
    std::ostringstream read;
    read << file.rdbuf();
    if (file.bad()) {
        error = "Can not read the batch file! (" + FileErrorDetail(path, errno != 0 ? errno : EIO) + ")";
        return false;
    }
    text = read.str();
    return true;
}

bool OpenBatch(const BatchCalculator& calculator, const std::string& path, SampleFormat format, BatchJob& job,
               std::string& error)
{
    std::string text;
    if (!ReadBatchFile(path, text, error))
        return false;
    if (!OpenBatchText(calculator, text, FolderOf(path), format, job, error)) {
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
    return OpenBatchText(calculator, text, folder, SampleFormat::Auto, job, error);
}

namespace {

// A table of samples (QEX's CSV, the expage, iceTEA and CREp tables): its
// header (or the format's fixed columns) named in the calculator's terms,
// then a record a row.
bool ReadSampleTable(const BatchCalculator& calculator, std::string_view text, SampleFormat format, BatchJob& job,
                     std::vector<SampleRecord>& records, std::string& error)
{
    CsvTable table;
    if (!ReadCsv(text, table, error))
        return false;
    if (table.records.empty()) {
        error = "the file has no header line naming its columns";
        return false;
    }
    job.separator = table.separator;
    // Tables without a header: every record is a sample.
    std::vector<std::string> names = PositionalColumns(format, table.records.front().fields.size());
    // An iceTEA table may have a header: a name where its first row would have the latitude.
    double latitude = 0.0;
    if (format == SampleFormat::IceTea && table.records.front().fields.size() > 1 &&
        !ParseNumber(Trimmed(table.records.front().fields[1]), latitude))
        names.clear();
    const bool positional = !names.empty();
    if (!positional)
        names = table.records.front().fields;

    // The header: names without blanks around them, in any case.
    std::vector<std::string> columns; // in the calculator's terms
    std::vector<std::string> unknown;
    std::map<std::string, std::string> seen; // column -> the name that gave it
    std::set<std::string> headerNames;       // every name of the header
    for (const std::string& field : names)
        headerNames.insert(Lower(Trimmed(field)));
    for (std::size_t c = 0; c < names.size(); ++c) {
        const std::string name = Lower(Trimmed(names[c]));
        std::string column = name.empty() ? std::string() : SampleColumn(calculator, name, format);
        // A group or a transect position is carried to the output for the
        // group statistics; "elevation" is the altitude's alias unless the
        // table names the altitude itself.
        if (IsCarriedColumn(name) && (column.empty() || (column != name && headerNames.count(column) != 0)))
            column = name;
        const bool known = !column.empty();
        if (name.empty()) {
            // A spreadsheet's trailing empty columns; a column with values needs a name.
            for (std::size_t r = positional ? 0 : 1; r < table.records.size(); ++r)
                if (c < table.records[r].fields.size() && !Trimmed(table.records[r].fields[c]).empty()) {
                    error = Format("column %d has values but no name", static_cast<int>(c + 1));
                    return false;
                }
        } else if (!known) {
            unknown.push_back("'" + name + "'");
        } else if (const auto [at, added] = seen.emplace(column, name); !added) {
            error = at->second == name ? "the column '" + name + "' is named twice"
                                       : "the columns '" + at->second + "' and '" + name + "' both give " + column;
            return false;
        }
        job.header.push_back(name);
        job.known.push_back(known);
        columns.push_back(column);
    }
    if (!unknown.empty()) {
        std::string list;
        for (const std::string& name : unknown)
            list += (list.empty() ? "" : ", ") + name;
        error = Format("unknown column%s %s; the columns of %s are: %s; also read: %s", unknown.size() > 1 ? "s" : "",
                       list.c_str(), calculator.name.c_str(), ColumnList(calculator).c_str(),
                       SampleColumnAliases().c_str());
        return false;
    }

    // A row with fewer fields than the named columns has lost its end (a
    // field too few or a line cut in two): its cells would silently take the
    // defaults. Only the file's last line, when no line end follows it, may
    // leave them out.
    std::size_t named = 0;
    for (std::size_t c = 0; c < columns.size(); ++c)
        if (!columns[c].empty())
            named = c + 1;
    const bool lastLineOpen = !text.empty() && text.back() != '\n' && text.back() != '\r';
    for (std::size_t r = positional ? 0 : 1; r < table.records.size(); ++r) {
        const CsvRecord& in = table.records[r];
        if (IsBlankRecord(in))
            continue;
        SampleRecord record;
        record.line = in.line;
        if (in.fields.size() < named && !(lastLineOpen && r + 1 == table.records.size()))
            record.error = Format("the row has %d fields; the %s names %d columns", static_cast<int>(in.fields.size()),
                                  positional ? "format" : "header", static_cast<int>(named));
        for (std::size_t c = 0; c < in.fields.size(); ++c) {
            const std::string value = Trimmed(in.fields[c]);
            if (c >= columns.size()) {
                if (!value.empty() && record.error.empty())
                    record.error = Format("the row has a value in column %d; the %s names %d columns",
                                          static_cast<int>(c + 1), positional ? "format" : "header",
                                          static_cast<int>(columns.size()));
                continue;
            }
            if (columns[c] == kSampleColumn)
                record.name = value;
            else if (!columns[c].empty())
                record.fields[columns[c]] = value;
        }
        records.push_back(std::move(record));
    }
    return true;
}

} // namespace

bool OpenBatchText(const BatchCalculator& calculator, std::string_view text, const std::string& folder,
                   SampleFormat format, BatchJob& job, std::string& error)
{
    job = BatchJob();
    job.calculator = &calculator;
    job.format = format == SampleFormat::Auto ? DetectSampleFormat(text) : format;
    std::vector<SampleRecord> records;
    if (job.format == SampleFormat::V3) {
        if (text.find('\0') != std::string_view::npos) {
            error = "the file holds a NUL byte: it is not text";
            return false;
        }
        records = ReadV3Block(text, job.notes);
        if (records.empty()) {
            error = "the v3 block holds no sample line";
            return false;
        }
        job.separator = ' ';
        job.header = {"sample", "lat", "long", "elv", "flag", "thick", "dens", "shield", "erosion", "year",
                      "nuclide", "mineral", "N", "delN", "standard"};
        job.known.assign(job.header.size(), true);
    } else if (!ReadSampleTable(calculator, text, job.format, job, records, error)) {
        return false;
    }

    const bool decimalComma = job.separator == ';';
    std::set<std::string> unused;
    for (const SampleRecord& record : records) {
        for (MappedRow& mapped :
             MapSampleRecord(calculator, record, decimalComma, job.format != SampleFormat::Csv, unused)) {
            BatchInputRow row;
            row.line = record.line;
            row.sample = record.name;
            row.cells.cells = std::move(mapped.cells);
            row.cells.folder = folder;
            row.cells.decimalComma = decimalComma;
            row.error = record.error.empty() ? mapped.error : record.error;
            job.rows.push_back(std::move(row));
        }
    }
    if (!unused.empty()) {
        std::string list;
        for (const std::string& name : unused)
            list += (list.empty() ? "" : ", ") + name;
        job.notes.push_back("not used by " + calculator.name + ": " + list);
    }
    return true;
}

BatchOutcome RunBatch(const BatchJob& job, int threads, bool keepReports, const BatchProgress& progress,
                      const BatchRowDone& rowDone)
{
    BatchOutcome outcome;
    const int total = static_cast<int>(job.rows.size());
    outcome.rows.resize(job.rows.size());
    BatchShared shared;
    shared.keepReports = keepReports;

    std::mutex mutex;
    std::condition_variable rowEnded;
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
            // What a row throws (memory running out) fails that row alone.
            try {
                if (!row.error.empty()) {
                    out.result.failed = true;
                    out.result.messages.push_back(row.error);
                } else {
                    out.result = job.calculator->run(row.cells, shared);
                }
                if (rowDone)
                    rowDone(static_cast<std::size_t>(i), out);
            } catch (const std::exception& e) {
                out.result = BatchRowResult();
                out.result.failed = true;
                out.result.messages.emplace_back(dynamic_cast<const std::bad_alloc*>(&e) != nullptr
                                                     ? kOutOfMemoryMessage
                                                     : kImproperArgumentMessage);
            }
            std::lock_guard<std::mutex> lock(mutex);
            ++done;
            rowEnded.notify_one();
        }
    };

    if (threads <= 0)
        threads = AvailableThreads();
    threads = std::min(threads, std::max(total, 1));
    std::vector<std::thread> workers;
    try {
        for (int t = 0; t < threads; ++t)
            workers.emplace_back(work);
    } catch (...) {
        // The system gives no more threads: the rows run on those it gave,
        // and with none at all the batch cannot run.
        if (workers.empty())
            throw;
    }
    {
        std::unique_lock<std::mutex> lock(mutex);
        int reported = -1;
        while (done < total && !shared.stop) {
            rowEnded.wait_for(lock, std::chrono::milliseconds(100));
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

namespace {

// Whether the file has an input column: always, unless it is an option added
// later that every row leaves at its default.
bool InputColumnWritten(const BatchOutcome& outcome, std::size_t index, const BatchColumn& column)
{
    if (column.description.listedAtDefault)
        return true;
    for (const BatchRowOutcome& row : outcome.rows) {
        const std::string& cell = row.result.inputs.size() > index ? row.result.inputs[index] : column.description.defaultText;
        if (!cell.empty() && cell != column.description.defaultText)
            return true;
    }
    return false;
}

// The choices a row's constants came from, as columns of their own, with
// the value each takes by default.
constexpr std::pair<const char*, const char*> kProvenanceColumns[] = {
    {"constants", "original"}, {"be10_standard", "none"}, {"al26_standard", "none"}, {"atmosphere", "std"}};
constexpr const char* kVersionColumn = "qex_version";

// A file of rows made with the defaults only is what it has always been;
// once a row used another constant, every row names its set, standards and
// atmosphere, and the file the QEX version that made it.
bool ProvenanceWritten(const BatchOutcome& outcome)
{
    for (const BatchRowOutcome& row : outcome.rows)
        for (const ProvenanceItem& item : row.result.constants)
            if (!item.line.empty())
                return true;
    return false;
}

std::string ProvenanceCell(const BatchRowOutcome& row, const char* name, const char* byDefault)
{
    for (const ProvenanceItem& item : row.result.constants)
        if (item.name == name)
            if (const auto* text = std::get_if<std::string>(&item.value))
                return *text;
    return byDefault;
}

} // namespace

namespace {

// The carried columns the input has that are not the calculator's own, in the input's order.
std::vector<std::string> CarriedColumns(const BatchJob& job)
{
    std::vector<std::string> names;
    for (const std::string& name : job.header) {
        bool own = false;
        for (const BatchColumn& column : job.calculator->inputColumns)
            own = own || column.name == name;
        // Carried when a row holds it ("elevation" read as the altitude is not).
        bool held = false;
        for (const BatchInputRow& row : job.rows)
            held = held || row.cells.Find(name) != nullptr;
        if (!own && held && IsCarriedColumn(name))
            names.push_back(name);
    }
    return names;
}

} // namespace

std::string FormatBatchCsv(const BatchJob& job, const BatchOutcome& outcome, CellDigits digits)
{
    const BatchCalculator& calculator = *job.calculator;
    std::vector<std::string> header = {kSampleColumn};
    const std::vector<std::string> carried = CarriedColumns(job);
    header.insert(header.end(), carried.begin(), carried.end());
    std::vector<bool> written;
    for (std::size_t i = 0; i < calculator.inputColumns.size(); ++i) {
        written.push_back(InputColumnWritten(outcome, i, calculator.inputColumns[i]));
        if (written.back())
            header.push_back(calculator.inputColumns[i].name);
    }
    // Every row's result columns, then those some rows add, in the order first met.
    std::vector<std::string> results = calculator.resultColumns;
    for (const BatchRowOutcome& row : outcome.rows)
        for (const OutputValue& value : row.result.results)
            if (std::find(results.begin(), results.end(), value.name) == results.end())
                results.push_back(value.name);
    header.insert(header.end(), results.begin(), results.end());
    const bool provenance = ProvenanceWritten(outcome);
    // A choice the calculator takes as an input column ("constants") is named
    // there already: one column of a name, so that readers by name find it.
    std::vector<bool> provenanceWritten;
    if (provenance) {
        for (const auto& [name, byDefault] : kProvenanceColumns) {
            provenanceWritten.push_back(std::find(header.begin(), header.end(), name) == header.end());
            if (provenanceWritten.back())
                header.push_back(name);
        }
        header.push_back(kVersionColumn);
    }
    header.push_back(kErrorColumn);

    std::string text = CsvLine(header);
    for (std::size_t r = 0; r < outcome.rows.size(); ++r) {
        const BatchRowOutcome& row = outcome.rows[r];
        std::vector<std::string> fields = {row.sample};
        for (const std::string& name : carried) {
            const std::string* cell = r < job.rows.size() ? job.rows[r].cells.Find(name) : nullptr;
            fields.push_back(cell != nullptr ? *cell : std::string());
        }
        for (std::size_t i = 0; i < calculator.inputColumns.size(); ++i)
            if (written[i])
                fields.push_back(i < row.result.inputs.size() ? row.result.inputs[i] : std::string());
        const std::vector<std::string> names = OutputNames(row.result.results);
        const std::vector<std::string> cells = OutputCells(row.result.results, digits);
        for (const std::string& name : results) {
            const auto found = std::find(names.begin(), names.end(), name);
            fields.push_back(found == names.end() ? std::string() : cells[static_cast<std::size_t>(found - names.begin())]);
        }
        if (provenance) {
            // A row without a result was computed with nothing.
            for (std::size_t i = 0; i < std::size(kProvenanceColumns); ++i)
                if (provenanceWritten[i])
                    fields.push_back(row.result.failed ? std::string()
                                                       : ProvenanceCell(row, kProvenanceColumns[i].first,
                                                                        kProvenanceColumns[i].second));
            fields.push_back(QexVersion());
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
                                        !path->empty() && path->front() == '/' ? *path : FolderOf(job.inputPath) + "/" + *path,
                                        FileRole::Input});
    // A row that leaves out a file with a default name (the geomagnetic
    // records) reads that file: it must not be an output either.
    for (const BatchColumn& column : job.calculator->inputColumns) {
        const std::string& fallback = column.description.defaultText;
        if (column.description.kind != InputKind::FileToRead || fallback.empty())
            continue;
        const bool leftOut = std::any_of(job.rows.begin(), job.rows.end(),
                                         [&column](const BatchInputRow& row) { return !row.cells.Find(column.name); });
        if (!leftOut)
            continue;
        const std::string name = "the default " + column.name + " file";
        uses.push_back({name, fallback, FileRole::Input});
        const std::string read = WorkingOrInstalledRecord(fallback);
        if (read != fallback)
            uses.push_back({name, read, FileRole::Input});
    }
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

CBatchOutputs::CBatchOutputs(const BatchJob& job, std::string outputPath, std::string reportDir,
                             const BatchOutputFormat& format)
    : m_job(job), m_outputPath(std::move(outputPath)),
      m_reportDir(job.calculator->makesReports ? std::move(reportDir) : std::string()), m_format(format)
{
}

CBatchOutputs::~CBatchOutputs() = default;

bool CBatchOutputs::Open(const FolderLockWait& wait)
{
    // Both found unwritable now rather than after every row has run.
    m_output = std::make_unique<CAtomicFile>(m_outputPath, "Can not write the batch output file!");
    if (!m_output->Open())
        return false;
    if (m_reportDir.empty())
        return true;
    m_reportPaths = BatchReportPaths(m_job, m_reportDir);
    auto reports = std::make_unique<CStagingFolder>(m_reportDir);
    std::error_code made;
    std::filesystem::create_directories(m_reportDir, made);
    int error = made.value();
    std::string failed = m_reportDir;
    // The folder is locked while the hidden folder is made in it: another
    // batch may be clearing away one that a killed batch left.
    CFolderLock lock;
    if (error == 0 && !lock.Lock({m_reportDir}, error, failed, wait) && error == 0)
        return false; // the wait was given up
    if (error == 0)
        reports->Open(error);
    if (error != 0) {
        ShowMessage(FileFailureText("Can not make the report folder!", error), FileErrorDetail(failed, error));
        return false;
    }
    m_reports = std::move(reports);
    return true;
}

bool CBatchOutputs::WantsReports() const
{
    return m_reports != nullptr;
}

void CBatchOutputs::TakeRow(std::size_t row, BatchRowOutcome& outcome)
{
    if (!m_reports || row >= m_reportPaths.size() || m_reportPaths[row].empty())
        return;
    const std::string name = NameOf(m_reportPaths[row]);
    std::string report;
    report.swap(outcome.result.report); // the text goes to disk now, not at the end
    if (outcome.result.failed || report.empty()) {
        // An old report beside an output saying the row failed would tell
        // an old story: it goes when the batch is put in place.
        m_reports->RemoveAtCommit(name);
        return;
    }
    int error = 0;
    std::string reason;
    if (m_reports->Write(name, report, error, reason))
        return;
    // This row fails alone; its old report goes too.
    m_reports->RemoveAtCommit(name);
    outcome.result.failed = true;
    const std::string detail = reason.empty() ? FileErrorDetail(m_reportPaths[row], error != 0 ? error : EIO)
                                              : m_reportPaths[row] + ": " + reason;
    outcome.result.messages.push_back(FileFailureText("Can not write the report!", error) + " (" + detail + ")");
}

bool CBatchOutputs::Commit(const BatchOutcome& outcome, const FolderLockWait& wait)
{
    if (!m_output)
        return false;
    const std::string text =
        m_format.json ? FormatBatchJson(m_job, outcome) : FormatBatchCsv(m_job, outcome, m_format.digits);
    if (std::fwrite(text.data(), 1, text.size(), m_output->Stream()) != text.size()) {
        m_output->Commit(); // says why
        return false;
    }
    int error = 0;
    std::string failed;
    if (m_reports && !m_reports->Sync(error, [&wait] { return !wait || wait(false); })) {
        if (error != 0)
            ShowMessage(FileFailureText("Can not write the report!", error), FileErrorDetail(m_reportDir, error));
        return false;
    }
    // One batch at a time puts its files in place in these folders.
    std::vector<std::string> folders = {FolderOf(m_outputPath)};
    if (m_reports)
        folders.push_back(m_reportDir);
    CFolderLock lock;
    if (!lock.Lock(folders, error, failed, wait)) {
        if (error != 0)
            ShowMessage(FileFailureText("Can not write the batch output file!", error), FileErrorDetail(failed, error));
        return false;
    }
    // The reports first, the output file last: an output file in place says
    // that its reports are.
    CFileTransaction together;
    if (!m_output->Commit())
        return false;
    if (!m_reports)
        return together.Commit();
    return together.Commit([&] {
        std::string failedReport;
        if (m_reports->Commit(error, failedReport))
            return true;
        ShowMessage(FileFailureText("Can not write the report!", error),
                    FileErrorDetail(failedReport, error) +
                        "\nThe reports before it are in place; the output file was not replaced.");
        return false;
    });
}

} // namespace qex
