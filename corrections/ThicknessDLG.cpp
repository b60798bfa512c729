#include "corrections/ThicknessDLG.h"

#include "corrections/ThicknessCorrection.h"

#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>

namespace qex {

CThicknessDLG::CThicknessDLG(QWidget* parent) : CResultDialog(134, "Thickness Correction", 232, 167, 9, parent)
{
    const ThicknessInputs defaults;
    m_dThickness = defaults.thickness;
    m_dDensity = defaults.density;
    m_dFreePath = defaults.freePath;

    const auto edits = AddEditColumn({{1000, "Thickness(cm):"}, {1001, "Density(g/cm3):"}, {1002, "Free path(g/cm2):"}},
                                     {24, 86, 114, 78, 10, 17});
    QLineEdit* thickness = edits[0];
    QLineEdit* density = edits[1];
    QLineEdit* freePath = edits[2];
    AddStandardResults(64, false);
    SetTabOrderFromTemplate();

    m_dx.Double(thickness, m_dThickness, 0.0, kMaxThicknessCm);
    m_dx.Double(density, m_dDensity, 0.0, kMaxThicknessDensity);
    m_dx.Double(freePath, m_dFreePath, 0.0, kMaxFreePath);
    ShowData();
    thickness->setFocus();
}

CThicknessDLG::~CThicknessDLG() = default;

void CThicknessDLG::OnCalculate()
{
    if (!UpdateData())
        return;
    AppendThicknessResult({m_dThickness, m_dDensity, m_dFreePath}, Results());
}

} // namespace qex
