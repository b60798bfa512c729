#pragma once
// "Isochron Burial Age" (Calculators menu): a file of samples of one horizon,
// the production ratio, the half-lives (as chosen under "Options"),
// post-burial production for rows without their own and the Monte Carlo
// draws; the block of batch/IsochronCalculation.h in the results list.

#include "batch/IsochronCalculation.h"
#include "ui/ResultDialog.h"

namespace qex {

class CIsochronDlg : public CResultDialog {
    Q_OBJECT
public:
    enum : int {
        IDC_INPUT = 1000,
        IDC_BROWSE = 1009,
    };

    explicit CIsochronDlg(QWidget* parent = nullptr);
    ~CIsochronDlg() override;

    void Browse();

    IsochronInputs m_inputs; // the fields, from the input table's defaults

protected:
    void OnCalculate() override;
};

} // namespace qex
