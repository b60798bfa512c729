#pragma once
// A calculator dialog: a template dialog with data exchange and a results list
// with Calculate, Clean Up and Save buttons. Subclasses add their controls and
// bindings and implement OnCalculate, which calls the core and appends to
// Results().
//
// Enter runs Calculate (the default button). Close, Escape and the window's
// close button close without taking the fields; when the list holds results
// calculated since it was last saved, closing asks first. Enlarging the dialog
// enlarges the results list.

#include "ui/DataExchange.h"
#include "ui/ResultListBox.h"
#include "ui/TemplateDialog.h"

#include <QString>
#include <functional>
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
    CResultDialog(int templateId, const QString& title, int widthDlu, int heightDlu, int pointSize = 9,
                  QWidget* parent = nullptr);

    // The results model (its m_nLineCount and m_nResultCount are the dialog's counters).
    CResultList& Results() { return m_results->Model(); }
    const CResultList& Results() const { return m_results->Model(); }
    // Whether results were calculated since the list was last saved or cleaned up.
    bool HasUnsavedResults() const { return m_results->HasUnsavedResults(); }

    // The buttons' actions, callable directly.
    void Calculate();
    void CleanUp();
    void Save();

    // "&Close" (the dialog's OK) and Escape: close, after asking when results
    // were not saved.
    void accept() override;
    void reject() override;

    // The question before results that were not saved are thrown away.
    static QString DiscardQuestion() { return QStringLiteral("Discard the results that have not been saved?"); }
    static QString DoNotAskAgainText() { return QStringLiteral("Do not ask again"); }

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
    void AddStandardResults(int top);

    // Binds the list and the buttons (any of them may be null); Calculate
    // becomes the default button.
    void SetUpResults(QListWidget* list, QPushButton* calculate, QPushButton* cleanUp, QPushButton* save,
                      QPushButton* close);
    // The calculation: data exchange, the core call, appending to Results().
    virtual void OnCalculate() = 0;
    // A further calculation that appends to Results(), run as Calculate runs
    // OnCalculate (busy cursor, errors caught), then shown in the list.
    void CalculateMore(const std::function<void()>& calculation);
    // After Clean Up emptied the list.
    virtual void OnCleanedUp() {}
    // Takes the values from the controls; false (and a message) when a field is rejected.
    bool UpdateData() { return m_dx.FromControls(); }
    // Shows the members in the controls.
    void ShowData() { m_dx.ToControls(); }

    // The results list and its group grow with the dialog; what lies below
    // the list moves down with the bottom edge, groups above it widen.
    void DefaultAnchors() override;

    CDataExchange m_dx;

private:
    // True when the dialog may close: nothing unsaved, or the user agrees.
    bool MayDiscardResults();

    std::unique_ptr<CResultListBox> m_results;
};

} // namespace qex
