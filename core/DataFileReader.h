#pragma once
// Reader of the system's data files: a keyword, a one-word name, then numbers
// separated by any white space (blanks, tabs, line ends of either platform),
// read to the end of the file in records of a fixed count. A UTF-8 byte-order
// mark before the keyword is skipped. Every number must be a finite decimal
// number; a word, "nan", "inf" or a record left incomplete at the end of the
// file is reported with the number of the line that holds it.

#include <string>
#include <vector>

namespace qex {

class CDataFileReader {
public:
    enum class Record { Read, End, Bad };

    // Reads the whole file; false when it cannot be opened as a file.
    bool Open(const std::string& path);
    // After a failed Open: "path: reason", for the message's detail, and the
    // system's error number (0 for a file that is not a regular one).
    std::string OpenFailureDetail() const;
    int OpenError() const { return m_notRegular ? 0 : m_openError; }
    // Takes the text directly (tests, fuzzing).
    void OpenText(std::string text);

    // The next white-space-delimited token; false at the end of the text.
    bool ReadToken(std::string& token);

    // The next record of `count` numbers into `values`. Bad: a token that is
    // not a finite number, or a record cut short by the end of the text;
    // BadLine() then tells where.
    Record ReadRecord(double* values, int count);

    int BadLine() const { return m_badLine; }
    // The line reached: after a record, the line that holds its last number.
    int Line() const { return m_line; }
    // The line that holds number `index` of the last record read: a record
    // may straddle lines when a file lacks its name line.
    int ValueLine(int index) const;

private:
    bool NextToken(std::size_t& begin, std::size_t& end);

    std::string m_text;
    std::size_t m_pos = 0;
    int m_line = 1;
    int m_badLine = 0;
    static constexpr int kMostValues = 4;
    int m_valueLines[kMostValues] = {};
    std::string m_path;
    int m_openError = 0;
    bool m_notRegular = false;
};

// The message for a bad record: "<prefix> Line N does not hold <what>."
std::string BadRecordMessage(const std::string& prefix, int line, const char* what);

// The detail for a file whose first word is not its keyword: "path: its first
// word is 'Geomagnetic_Pole_Data', not Proxy_Data" (the word cut short and
// shown printable), or "path: the file is empty".
std::string KeywordFailureDetail(const std::string& path, const std::string& firstWord, const char* keyword);

} // namespace qex
