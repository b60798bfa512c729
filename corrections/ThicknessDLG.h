#pragma once
// The thickness correction dialog: thickness, density and free path in, the
// depth-averaged production factor out.

#include "ui/ResultDialog.h"

namespace qex {

class CThicknessDLG : public CResultDialog {
    Q_OBJECT
public:
    explicit CThicknessDLG(QWidget* parent = nullptr);
    ~CThicknessDLG() override;

    double m_dThickness; // cm
    double m_dDensity;   // g/cm3
    double m_dFreePath;  // g/cm2

protected:
    void OnCalculate() override;
};

} // namespace qex
