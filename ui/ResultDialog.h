#pragma once
// A calculator dialog: a template dialog with data exchange and a results list
// with Calculate, Clean Up and Save buttons. Subclasses add their controls and
// bindings and implement OnCalculate, which calls the core and appends to
// Results().

#include "ui/DataExchange.h"
#include "ui/ResultListBox.h"
#include "ui/TemplateDialog.h"

#include <QString>
#include <memory>
#include <utility>
#include <vector>

class QLineEdit;
class QListWidget;
class QPushButton;

namespace qex {

class CResultDialog : public CTemplateDialog {
    Q_OBJECT
public:
    using CTemplateDialog::CTemplateDialog;

    // The results model (its m_nLineCount and m_nResultCount are the dialog's counters).
    CResultList& Results() { return m_results->Model(); }
    const CResultList& Results() const { return m_results->Model(); }

    // The buttons' actions, callable directly.
    void Calculate();
    void CleanUp();
    void Save();

    // "&Close" (the dialog's OK): takes the values; a rejected field keeps the dialog open.
    void accept() override;

protected:
    // For dialogs whose layout is not templated: one column of labelled edit
    // boxes (id and label each, top to bottom from `top`, `step` dialog units
    // apart), labels right-aligned before the boxes. Returns the boxes in order.
    struct Column {
        int labelX;
        int labelWidth;
        int editX;
        int editWidth;
        int top;
        int step;
    };
    std::vector<QLineEdit*> AddEditColumn(const std::vector<std::pair<int, QString>>& fields, const Column& column);
    // Below `top`: the "Results:" group with list 1011, and along the bottom
    // the row of "C&alculate" 1025, "Clean Up" 1026, "&Save" 1027 and
    // "&Close" 1 across the dialog's width, bound as SetUpResults does.
    void AddStandardResults(int top, bool calculateIsDefault);

    // Binds the list and the buttons (any of them may be null).
    void SetUpResults(QListWidget* list, QPushButton* calculate, QPushButton* cleanUp, QPushButton* save,
                      QPushButton* close);
    // The calculation: data exchange, the core call, appending to Results().
    virtual void OnCalculate() = 0;
    // Takes the values from the controls; false (and a message) when a field is rejected.
    bool UpdateData() { return m_dx.FromControls(); }
    // Shows the members in the controls.
    void ShowData() { m_dx.ToControls(); }

    CDataExchange m_dx;

private:
    std::unique_ptr<CResultListBox> m_results;
};

} // namespace qex
