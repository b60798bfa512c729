#pragma once
// Reader of the system's data files: a keyword, a one-word name, then numbers
// separated by any white space (blanks, tabs, line ends of either platform),
// read to the end of the file in records of a fixed count. A UTF-8 byte-order
// mark before the keyword is skipped. Every number must be a finite decimal
// number; a word, "nan", "inf" or a record left incomplete at the end of the
// file is reported with the number of the line that holds it.

#include <initializer_list>
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

enum class DataFileRead {
    Done,         // every record read and taken
    WrongKeyword, // the file does not start with its keyword
    BadRecord,    // a record is not `count` finite numbers: reader.BadLine() says where
    Refused,      // `take` refused a record (and has said why)
};

// The skeleton of every loader: the keyword, the one-word name (into `name`;
// on WrongKeyword the first word found instead, empty for an empty file),
// then each record of `count` numbers (at most 4) handed to `take`, which
// returns false to refuse it, to the end of the text.
template <class Take>
DataFileRead ReadDataFile(CDataFileReader& reader, const char* keyword, std::string& name, int count, Take&& take)
{
    std::string token;
    if (!reader.ReadToken(token) || token != keyword) {
        name = token == keyword ? std::string() : token; // the word found instead, for the message
        return DataFileRead::WrongKeyword;
    }
    name.clear();
    reader.ReadToken(name);
    double record[4];
    for (;;) {
        const auto status = reader.ReadRecord(record, count);
        if (status == CDataFileReader::Record::End)
            return DataFileRead::Done;
        if (status == CDataFileReader::Record::Bad)
            return DataFileRead::BadRecord;
        if (!take(static_cast<const double*>(record)))
            return DataFileRead::Refused;
    }
}

// Says why a read that is not Done failed, unless `take` has: `prefix` for a
// wrong keyword (with KeywordFailureDetail when `path` is not empty),
// BadRecordMessage(prefix, line, what) for a bad record. True when the read was Done.
bool DataFileReadDone(DataFileRead read, const CDataFileReader& reader, const std::string& prefix, const char* what,
                      const std::string& path, const char* keyword, const std::string& firstWord);

// Records closer in age than `close` (years) become one, in one pass that
// compares each with the last one kept: the first of a run keeps its age,
// and each column is averaged pairwise in order (a, b, c become
// ((a + b) / 2 + c) / 2). The columns are resized with the ages.
void MergeCloseYears(std::vector<double>& years, std::initializer_list<std::vector<double>*> columns, double close);

} // namespace qex
