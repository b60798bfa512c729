#pragma once
// "Erosion Rate Calculation": the steady-state erosion rate of a surface from
// its 10Be or 26Al concentration, with the exposure age dialog's site,
// nuclide and AMS standard, listed in m/Myr and cm/yr with internal and
// external uncertainties.

#include "geomag/ErosionRate.h"
#include "geomag/NuclideChoiceDlg.h"
#include "ui/ResultDialog.h"

class QListWidget;

namespace qex {

class CErosionDlg : public CResultDialog {
    Q_OBJECT
public:
    enum : int {
        IDC_NUCLIDE = 1034,
        IDC_STANDARD = 1035,
    };

    explicit CErosionDlg(QWidget* parent = nullptr);

    ErosionInputs m_inputs; // the fields, from the input table's defaults
    QListWidget* m_ctlResults = nullptr; // 1011

protected:
    void OnCalculate() override;

private:
    CNuclideChoice* m_nuclide = nullptr;
};

} // namespace qex
