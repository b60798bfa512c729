#pragma once
// The thickness correction dialog: thickness, density and free path in, the
// depth-averaged production factor out.

#include "corrections/ThicknessCorrection.h"
#include "ui/ResultDialog.h"

namespace qex {

class CThicknessDLG : public CResultDialog {
    Q_OBJECT
public:
    explicit CThicknessDLG(QWidget* parent = nullptr);
    ~CThicknessDLG() override;

    ThicknessInputs m_inputs; // the fields, from the input table's defaults
    double& m_dThickness = m_inputs.thickness; // cm
    double& m_dDensity = m_inputs.density;     // g/cm3
    double& m_dFreePath = m_inputs.freePath;   // g/cm2

protected:
    void OnCalculate() override;
};

} // namespace qex
