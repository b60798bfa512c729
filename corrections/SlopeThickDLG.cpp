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

    AddLabel("Thickness(cm):", 40, 12, 70, 10);
    QLineEdit* thickness = AddEdit(1000, 114, 10, 78, 13);
    AddLabel("Density(g/cm3):", 40, 29, 70, 10);
    QLineEdit* density = AddEdit(1001, 114, 27, 78, 13);
    AddLabel("Free path(g/cm2):", 40, 46, 70, 10);
    QLineEdit* freePath = AddEdit(1002, 114, 44, 78, 13);
    AddLabel("Slope:", 40, 63, 70, 10);
    QLineEdit* slope = AddEdit(1003, 114, 61, 78, 13);
    AddLabel("Strike:", 40, 80, 70, 10);
    QLineEdit* strike = AddEdit(1004, 114, 78, 78, 13);
    AddGroup("Results:", 7, 98, 218, 57);
    QListWidget* list = AddList(1011, 13, 110, 206, 39);
    QPushButton* calculate = AddButton(1025, "C&alculate", 16, 161, 46, 14);
    QPushButton* cleanUp = AddButton(1026, "Clean Up", 68, 161, 46, 14);
    QPushButton* save = AddButton(1027, "&Save", 120, 161, 46, 14);
    QPushButton* close = AddButton(1, "&Close", 172, 161, 46, 14, true);
    SetTabOrderFromTemplate();
    SetUpResults(list, calculate, cleanUp, save, close);

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
