#include "corrections/SlopeThickDLG.h"

#include "corrections/SlopeThicknessCorrection.h"

#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>

namespace qex {

CSlopeThickDLG::CSlopeThickDLG(QWidget* parent)
    : CResultDialog(135, "Slope-Thickness Correction", 232, 182, 9, parent)
{
    const SlopeThicknessInputs defaults;
    m_dThickness = defaults.thickness;
    m_dDensity = defaults.density;
    m_dFreePath = defaults.freePath;
    m_dSlope = defaults.slope;
    m_dStrike = defaults.strike;

    const auto edits = AddEditColumn({{1000, "Thickness(cm):"},
                                      {1001, "Density(g/cm3):"},
                                      {1002, "Free path(g/cm2):"},
                                      {1003, "Slope:"},
                                      {1004, "Strike:"}},
                                     {24, 86, 114, 78, 10, 17});
    QLineEdit* thickness = edits[0];
    QLineEdit* density = edits[1];
    QLineEdit* freePath = edits[2];
    QLineEdit* slope = edits[3];
    QLineEdit* strike = edits[4];
    AddStandardResults(98, false);
    SetTabOrderFromTemplate();

    m_dx.Double(thickness, m_dThickness, 0.0, kMaxSlopeThicknessCm);
    m_dx.Double(density, m_dDensity, 0.0, kMaxSlopeDensity);
    m_dx.Double(freePath, m_dFreePath, 0.0, kMaxSlopeFreePath);
    m_dx.Double(slope, m_dSlope, 0.0, kMaxSlopeDegrees);
    m_dx.Double(strike, m_dStrike, 0.0, kMaxStrikeDegrees);
    ShowData();
    thickness->setFocus();
}

CSlopeThickDLG::~CSlopeThickDLG() = default;

void CSlopeThickDLG::OnCalculate()
{
    if (!UpdateData())
        return;
    SlopeThicknessInputs inputs;
    inputs.thickness = m_dThickness;
    inputs.density = m_dDensity;
    inputs.freePath = m_dFreePath;
    inputs.slope = m_dSlope;
    inputs.strike = m_dStrike;
    AppendSlopeThicknessResult(inputs, Results());
}

} // namespace qex
