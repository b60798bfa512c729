#pragma once
// The results list every calculator shares: lines of text grouped in blocks
// headed "Calculation Result %d", with the two counters the dialogs keep.
// The desktop shows this model in a list box; qexcli prints its lines.

#include <cstdio>
#include <string>
#include <vector>

namespace qex {

class CResultList {
public:
    // Lines appended since opening or the last Clean Up (always the list's length).
    int m_nLineCount = 0;
    // Completed calculations since opening or the last Clean Up.
    int m_nResultCount = 0;

    // The heading of the next block: "Calculation Result %d" with m_nResultCount + 1.
    std::string NextHeading() const;

    // Appends a heading and remembers it as the start of a block; returns its index.
    int BeginBlock(const std::string& heading);
    // Appends one line of the current block (or a line outside any block).
    void AppendLine(const std::string& line);
    // Ends the block begun at `headingIndex`: selects its heading and counts the result.
    void EndBlock(int headingIndex);

    // A whole block in one call: the standard heading, the lines, selection, count.
    void AppendBlock(const std::vector<std::string>& lines);

    // Empties the list; the next heading carries 1 again.
    void CleanUp();

    const std::vector<std::string>& Lines() const { return m_lines; }
    // Index of the selected line, or -1.
    int Selected() const { return m_selected; }

    // The bytes a save writes: each line followed by one line end.
    std::string Text() const;
    // Writes the list to a file, whole or not at all. On failure shows
    // "Can not find Output file!" and returns false; the list is unchanged.
    bool SaveToFile(const std::string& path) const;

private:
    std::vector<std::string> m_lines;
    int m_selected = -1;
};

} // namespace qex
