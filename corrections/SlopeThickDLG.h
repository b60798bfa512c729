#pragma once
// The slope-thickness correction dialog: thickness, density, free path, slope
// and strike in, the combined slope and thickness factor out.

#include "ui/ResultDialog.h"

namespace qex {

class CSlopeThickDLG : public CResultDialog {
    Q_OBJECT
public:
    explicit CSlopeThickDLG(QWidget* parent = nullptr);
    ~CSlopeThickDLG() override;

    double m_dThickness; // cm
    double m_dDensity;   // g/cm3
    double m_dFreePath;  // g/cm2
    double m_dSlope;     // degrees
    double m_dStrike;    // degrees

protected:
    void OnCalculate() override;
};

} // namespace qex
