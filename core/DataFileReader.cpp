#include "core/DataFileReader.h"

#include "core/Format.h"
#include "core/Message.h"
#include "core/TextNumber.h"

#include <cerrno>
#include <cmath>
#include <fstream>
#include <iterator>
#include <numeric>
#include <sys/stat.h>

namespace qex {

namespace {
bool IsSpace(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f' || c == '\v';
}
} // namespace

bool CDataFileReader::Open(const std::string& path)
{
    m_path = path;
    m_openError = 0;
    m_notRegular = false;
    struct stat st {};
    if (path.empty()) {
        m_openError = ENOENT;
        return false;
    }
    if (::stat(path.c_str(), &st) != 0) {
        m_openError = errno;
        return false;
    }
    // A folder cannot be read; a pipe or a device could block or never end.
    if (!S_ISREG(st.st_mode)) {
        m_openError = S_ISDIR(st.st_mode) ? EISDIR : EINVAL;
        m_notRegular = !S_ISDIR(st.st_mode);
        return false;
    }
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        m_openError = errno != 0 ? errno : EACCES;
        return false;
    }
    OpenText(std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()));
    if (in.bad()) {
        m_openError = EIO;
        return false;
    }
    return true;
}

std::string CDataFileReader::OpenFailureDetail() const
{
    const std::string shown = m_path.empty() ? std::string("(no file name)") : m_path;
    if (m_notRegular)
        return shown + ": not a regular file";
    return FileErrorDetail(shown, m_openError != 0 ? m_openError : ENOENT);
}

int CDataFileReader::ValueLine(int index) const
{
    return index >= 0 && index < kMostValues ? m_valueLines[index] : m_line;
}

void CDataFileReader::OpenText(std::string text)
{
    m_text = std::move(text);
    m_pos = 0;
    m_line = 1;
    m_badLine = 0;
    if (m_text.compare(0, 3, "\xEF\xBB\xBF") == 0)
        m_pos = 3;
}

bool CDataFileReader::NextToken(std::size_t& begin, std::size_t& end)
{
    while (m_pos < m_text.size() && IsSpace(m_text[m_pos])) {
        if (m_text[m_pos] == '\n')
            ++m_line;
        ++m_pos;
    }
    if (m_pos >= m_text.size())
        return false;
    begin = m_pos;
    while (m_pos < m_text.size() && !IsSpace(m_text[m_pos]))
        ++m_pos;
    end = m_pos;
    return true;
}

bool CDataFileReader::ReadToken(std::string& token)
{
    std::size_t begin = 0;
    std::size_t end = 0;
    if (!NextToken(begin, end))
        return false;
    token.assign(m_text, begin, end - begin);
    return true;
}

CDataFileReader::Record CDataFileReader::ReadRecord(double* values, int count)
{
    for (int i = 0; i < count; ++i) {
        std::size_t begin = 0;
        std::size_t end = 0;
        const int lineBefore = m_line;
        if (!NextToken(begin, end)) {
            if (i == 0)
                return Record::End;
            m_badLine = lineBefore; // the line holding the record's last number
            return Record::Bad;
        }
        if (!ParseNumber(std::string_view(m_text).substr(begin, end - begin), values[i])) {
            m_badLine = m_line;
            return Record::Bad;
        }
        if (i < kMostValues)
            m_valueLines[i] = m_line;
    }
    return Record::Read;
}

std::string BadRecordMessage(const std::string& prefix, int line, const char* what)
{
    return Format("%s Line %d does not hold %s.", prefix.c_str(), line, what);
}

std::string KeywordFailureDetail(const std::string& path, const std::string& firstWord, const char* keyword)
{
    constexpr std::size_t kShown = 40;
    if (firstWord.empty())
        return path + ": the file is empty";
    const std::string shown = firstWord.size() > kShown ? firstWord.substr(0, kShown) + "..." : firstWord;
    return path + ": its first word is '" + PrintableText(shown) + "', not " + keyword;
}

bool DataFileReadDone(DataFileRead read, const CDataFileReader& reader, const std::string& prefix, const char* what,
                      const std::string& path, const char* keyword, const std::string& firstWord)
{
    if (read == DataFileRead::WrongKeyword)
        ShowMessage(prefix, path.empty() ? std::string() : KeywordFailureDetail(path, firstWord, keyword));
    else if (read == DataFileRead::BadRecord)
        ShowMessage(BadRecordMessage(prefix, reader.BadLine(), what));
    return read == DataFileRead::Done;
}

void MergeCloseYears(std::vector<double>& years, std::initializer_list<std::vector<double>*> columns, double close)
{
    std::size_t kept = 0;
    for (std::size_t i = 1; i < years.size(); ++i) {
        if (std::fabs(years[i] - years[kept]) < close) {
            for (std::vector<double>* column : columns)
                (*column)[kept] = std::midpoint((*column)[kept], (*column)[i]);
        } else {
            ++kept;
            years[kept] = years[i];
            for (std::vector<double>* column : columns)
                (*column)[kept] = (*column)[i];
        }
    }
    const std::size_t count = years.empty() ? 0 : kept + 1;
    years.resize(count);
    for (std::vector<double>* column : columns)
        column->resize(count);
}

} // namespace qex
