#pragma once
// A calculator dialog: a template dialog with data exchange and a results list
// with Calculate, Clean Up and Save buttons. Subclasses add their controls and
// bindings and implement OnCalculate, which calls the core and appends to
// Results().

#include "ui/DataExchange.h"
#include "ui/ResultListBox.h"
#include "ui/TemplateDialog.h"

#include <memory>

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
