#pragma once
// Comma-separated values as spreadsheets write them (RFC 4180): fields in
// double quotes may hold the separator, line ends and doubled quotes; records
// end with CRLF or LF; a UTF-8 byte-order mark is skipped. Many spreadsheets
// in countries with a decimal comma write ';' between fields: the header
// decides which separator a file uses (a tab, or runs of blanks, where it
// separates its names by nothing else).

#include <string>
#include <string_view>
#include <vector>

namespace qex {

struct CsvRecord {
    int line = 0; // the file line the record starts on, from 1
    std::vector<std::string> fields;
};

struct CsvTable {
    char separator = ',';
    std::vector<CsvRecord> records; // the header first; records of blank lines are left out
};

// Reads the whole text. False, with why in `error` naming the line ("line 4:
// a quoted field is not closed"), for text that is not CSV: a quote inside an
// unquoted field, text after a closing quote, an unclosed quote, a NUL byte.
bool ReadCsv(std::string_view text, CsvTable& table, std::string& error);

// Whether a spreadsheet would run the text as a formula: it begins with '=',
// '+', '-', '@', a tab or a carriage return and is not a number.
bool ReadAsFormula(std::string_view text);

// The field as a CSV file holds it: quoted (inner quotes doubled) when it
// holds the separator, a quote, a line end or blanks at either end; text a
// spreadsheet would run as a formula with a leading ' (numbers untouched).
std::string CsvField(std::string_view text, char separator = ',');

// Fields joined by the separator, ended by a line feed.
std::string CsvLine(const std::vector<std::string>& fields, char separator = ',');

} // namespace qex
