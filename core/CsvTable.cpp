#include "core/CsvTable.h"

#include "core/Format.h"
#include "core/TextNumber.h"

namespace qex {

namespace {

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

// The separator of the first record: ';' when it has one outside quotes, as
// spreadsheets with a decimal comma write it; a tab in a header without
// commas (a table copied from a spreadsheet); ' ' (any run of blanks) in a
// header of names separated only by blanks; ',' otherwise.
char HeaderSeparator(std::string_view text)
{
    bool quoted = false;
    bool comma = false;
    bool tab = false;
    bool blankBetween = false; // a blank after a name, before another
    bool blankPending = false;
    bool named = false;
    for (char c : text) {
        if (c == '"')
            quoted = !quoted;
        else if (!quoted && (c == '\n' || c == '\r')) {
            // Blank lines before the header are skipped by the reader: the
            // header, not they, names the separator.
            if (named || comma || tab)
                break;
            blankPending = false;
            continue;
        }
        else if (!quoted && c == ';')
            return ';';
        else if (!quoted && c == ',')
            comma = true;
        else if (!quoted && c == '\t')
            tab = true;
        if (!quoted && c == ' ') {
            blankPending = named;
            continue;
        }
        if (c != '\t' && c != ' ') {
            blankBetween = blankBetween || blankPending;
            named = true;
        }
    }
    if (comma)
        return ',';
    if (tab)
        return '\t';
    return blankBetween ? ' ' : ',';
}

bool IsBlankRecord(const std::vector<std::string>& fields)
{
    return fields.size() == 1 && fields.front().find_first_not_of(" \t") == std::string::npos;
}

} // namespace

bool ReadCsv(std::string_view text, CsvTable& table, std::string& error)
{
    table = CsvTable();
    if (text.substr(0, kByteOrderMark.size()) == kByteOrderMark)
        text.remove_prefix(kByteOrderMark.size());
    if (text.find('\0') != std::string_view::npos) {
        error = "the file holds a NUL byte: it is not text";
        return false;
    }
    const char separator = HeaderSeparator(text);
    table.separator = separator;

    int line = 1;
    CsvRecord record{line, {}};
    std::string field;
    // Where the reader is within a field.
    enum class State { Start, Plain, Quoted, QuoteInQuoted } state = State::Start;
    auto endField = [&] {
        record.fields.push_back(std::move(field));
        field.clear();
        state = State::Start;
    };
    auto endRecord = [&](int nextLine) {
        endField();
        if (!IsBlankRecord(record.fields))
            table.records.push_back(std::move(record));
        record = CsvRecord{nextLine, {}};
    };

    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (state == State::Quoted) {
            if (c == '"')
                state = State::QuoteInQuoted;
            else
                field += c;
            if (c == '\n')
                ++line;
            continue;
        }
        if (state == State::QuoteInQuoted && c == '"') {
            field += '"'; // a doubled quote inside quotes
            state = State::Quoted;
            continue;
        }
        if (separator == ' ' && (c == ' ' || c == '\t')) {
            // Blanks separate fields: a run of them is one separator, and
            // those that begin a line or end a field already ended are none.
            if (state == State::Plain || state == State::QuoteInQuoted)
                endField();
        } else if (c == separator) {
            endField();
        } else if (c == '\r' || c == '\n') {
            if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n')
                ++i;
            ++line;
            endRecord(line);
        } else if (state == State::QuoteInQuoted) {
            error = Format("line %d: text after the closing quote of a field", line);
            return false;
        } else if (c == '"') {
            if (state != State::Start) {
                error = Format("line %d: a quote inside a field that does not start with one", line);
                return false;
            }
            state = State::Quoted;
        } else {
            field += c;
            state = State::Plain;
        }
    }
    if (state == State::Quoted) {
        error = Format("line %d: a quoted field is not closed", record.line);
        return false;
    }
    // The last record needs no line end.
    if (!(record.fields.empty() && field.empty() && state == State::Start))
        endRecord(line);
    return true;
}

bool ReadAsFormula(std::string_view text)
{
    double number = 0.0;
    return !text.empty() && std::string_view("=+-@\t\r").find(text.front()) != std::string_view::npos &&
           !ParseNumber(text, number);
}

std::string CsvField(std::string_view text, char separator)
{
    // A spreadsheet runs a cell beginning with = + - @ (or a tab or a carriage
    // return before one) as a formula, "=HYPERLINK(...)" included: such text
    // keeps a leading ' that shows it as text (OWASP, CSV injection).
    // Numbers such as -1.5 are left as they are.
    std::string guarded;
    if (ReadAsFormula(text)) {
        guarded = "'" + std::string(text);
        text = guarded;
    }
    // A ';' is quoted in any file: a header holding one would otherwise read as a ';' file.
    const bool needsQuotes = text.find_first_of(std::string("\"\r\n;") + separator) != std::string_view::npos ||
                             (!text.empty() && (text.front() == ' ' || text.back() == ' ')) ||
                             // A reader takes a leading byte-order mark for the file's own and drops it.
                             text.substr(0, 3) == "\xEF\xBB\xBF";
    if (!needsQuotes)
        return std::string(text);
    std::string quoted = "\"";
    for (char c : text) {
        if (c == '"')
            quoted += '"';
        quoted += c;
    }
    return quoted + '"';
}

std::string CsvLine(const std::vector<std::string>& fields, char separator)
{
    std::string line;
    for (std::size_t i = 0; i < fields.size(); ++i) {
        if (i > 0)
            line += separator;
        line += CsvField(fields[i], separator);
    }
    // A line of one field holds no separator, so a reader that finds a tab
    // or a blank in a first line takes that for one: quote it.
    if (fields.size() == 1 && separator != ' ' && line.find_first_of(" \t") != std::string::npos &&
        line.front() != '"')
        line = '"' + line + '"';
    return line + '\n';
}

} // namespace qex
