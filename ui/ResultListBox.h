#pragma once
// The results list of a calculator dialog: a list box showing the shared
// result-list model, with Clean Up and Save.

#include "core/ResultList.h"

class QListWidget;
class QWidget;

namespace qex {

class CResultListBox {
public:
    explicit CResultListBox(QListWidget* list);

    CResultList& Model() { return m_model; }
    const CResultList& Model() const { return m_model; }
    QListWidget* Widget() const { return m_list; }

    // Shows the model's lines and selection in the list box.
    void Refresh();
    // Empties the list; both counters to 0.
    void CleanUp();
    // Asks for a path and writes the list's lines there.
    void Save(QWidget* parent);

private:
    QListWidget* m_list;
    CResultList m_model;
};

} // namespace qex
