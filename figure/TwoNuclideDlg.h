#pragma once
// "Two-Nuclide Diagram..." (Calculators menu): asks for a CSV file of
// samples and the constants of the diagram's lines, then opens the diagram
// in a figure window. The half-lives start as those chosen under "Options" >
// "Nuclide Half-lives...".

#include "figure/TwoNuclideFigure.h"
#include "ui/DataExchange.h"
#include "ui/TemplateDialog.h"

namespace qex {

class CFigureDlg;

class CTwoNuclideDlg : public CTemplateDialog {
    Q_OBJECT
public:
    enum : int {
        IDC_INPUT = 1000,
        IDC_BE10_PRODUCTION = 1001,
        IDC_AL26_PRODUCTION = 1002,
        IDC_DENSITY = 1003,
        IDC_FREE_PATH = 1004,
        IDC_BE10_HALF_LIFE = 1005,
        IDC_AL26_HALF_LIFE = 1006,
        IDC_BURIAL_STEP = 1007,
        IDC_RAW = 1008,
        IDC_NO_LABELS = 1009,
        IDC_BROWSE = 1010,
        IDC_ISOCHRON = 1011,
    };

    explicit CTwoNuclideDlg(QWidget* parent = nullptr);

    // "Draw": takes the fields, reads the samples and opens the diagram; the
    // dialog stays open after a message when it cannot.
    void accept() override;
    void Browse();

    // The window the last "Draw" opened (it deletes itself when closed).
    CFigureDlg* Window() const { return m_window; }

    TwoNuclideFigureInputs m_inputs;

private:
    CDataExchange m_dx;
    CFigureDlg* m_window = nullptr;
};

} // namespace qex
