#include "core/ResultList.h"

#include "core/AtomicFile.h"
#include "core/Format.h"
#include "core/Message.h"

namespace qex {

std::string CResultList::NextHeading() const
{
    return Format("Calculation Result %d", m_nResultCount + 1);
}

int CResultList::BeginBlock(const std::string& heading)
{
    const int index = m_nLineCount;
    AppendLine(heading);
    return index;
}

void CResultList::AppendLine(const std::string& line)
{
    m_lines.push_back(line);
    ++m_nLineCount;
}

void CResultList::EndBlock(int headingIndex)
{
    m_selected = headingIndex;
    ++m_nResultCount;
}

void CResultList::AppendBlock(const std::vector<std::string>& lines)
{
    const int heading = BeginBlock(NextHeading());
    for (const auto& line : lines)
        AppendLine(line);
    EndBlock(heading);
}

void CResultList::CleanUp()
{
    m_lines.clear();
    m_nLineCount = 0;
    m_nResultCount = 0;
    m_selected = -1;
}

std::string CResultList::Text() const
{
    std::string text;
    for (int i = 0; i < m_nLineCount && i < static_cast<int>(m_lines.size()); ++i) {
        text += m_lines[static_cast<std::size_t>(i)];
        text += '\n';
    }
    return text;
}

bool CResultList::SaveToFile(const std::string& path) const
{
    return WriteFileAtomically(path, Text(), "Can not find Output file!");
}

} // namespace qex
