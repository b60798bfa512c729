#pragma once
// The results list of a calculator dialog: a list box showing the shared
// result-list model in a fixed-width font, with Clean Up and Save. After a
// calculation the new block is shown from its heading down; a line appended
// without a block (a failure) is selected and scrolled into view.

#include "core/ResultList.h"

#include <QString>
#include <string>

class QListWidget;
class QWidget;

namespace qex {

class CListBox;

class CResultListBox {
public:
    explicit CResultListBox(QListWidget* list);

    CResultList& Model() { return m_model; }
    const CResultList& Model() const { return m_model; }
    QListWidget* Widget() const;

    // Shows the model's lines and selection in the list box.
    void Refresh();
    // After Refresh: lines a further calculation added to the last block
    // (from `row` on) are shown from there down, as a new block is, and
    // count as results not yet saved.
    void ShowAddedLines(int row);
    // Empties the list; both counters to 0.
    void CleanUp();
    // Asks for a path and writes the list's lines there; true when written.
    // An empty list is not saved (a message instead); a file other than the
    // one this list was last saved to is replaced only when the user agrees.
    bool Save(QWidget* parent);
    static std::string EmptyListMessage() { return "The list holds no results: there is nothing to save."; }

    // Whether results were calculated since the list was last saved or emptied.
    bool HasUnsavedResults() const { return m_unsaved; }

private:
    // Scrolls `row` to the top and selects it.
    void ShowFrom(int row);

    QListWidget* m_list;
    CListBox* m_box; // the list as a CListBox, or null
    CResultList m_model;
    int m_shownResults = 0; // the model's result count at the last Refresh
    bool m_unsaved = false;
    QString m_savedTo; // the file this list was last saved to (FileKey)
};

} // namespace qex
