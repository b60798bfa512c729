#pragma once
// The slope-thickness correction dialog: thickness, density, free path, slope
// and strike in, the combined slope and thickness factor out.

#include "corrections/SlopeThicknessCorrection.h"
#include "ui/ResultDialog.h"

namespace qex {

class CSlopeThickDLG : public CResultDialog {
    Q_OBJECT
public:
    explicit CSlopeThickDLG(QWidget* parent = nullptr);
    ~CSlopeThickDLG() override;

    SlopeThicknessInputs m_inputs; // the fields, from the input table's defaults
    double& m_dThickness = m_inputs.thickness; // cm
    double& m_dDensity = m_inputs.density;     // g/cm3
    double& m_dFreePath = m_inputs.freePath;   // g/cm2
    double& m_dSlope = m_inputs.slope;         // degrees
    double& m_dStrike = m_inputs.strike;       // degrees

protected:
    void OnCalculate() override;
};

} // namespace qex
