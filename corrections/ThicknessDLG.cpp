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

    AddLabel("Thickness(cm):", 40, 12, 70, 10);
    QLineEdit* thickness = AddEdit(1000, 114, 10, 78, 13);
    AddLabel("Density(g/cm3):", 40, 29, 70, 10);
    QLineEdit* density = AddEdit(1001, 114, 27, 78, 13);
    AddLabel("Free path(g/cm2):", 40, 46, 70, 10);
    QLineEdit* freePath = AddEdit(1002, 114, 44, 78, 13);
    AddGroup("Results:", 7, 64, 218, 76);
    QListWidget* list = AddList(1011, 13, 76, 206, 58);
    QPushButton* calculate = AddButton(1025, "C&alculate", 16, 146, 46, 14);
    QPushButton* cleanUp = AddButton(1026, "Clean Up", 68, 146, 46, 14);
    QPushButton* save = AddButton(1027, "&Save", 120, 146, 46, 14);
    QPushButton* close = AddButton(1, "&Close", 172, 146, 46, 14, true);
    SetTabOrderFromTemplate();
    SetUpResults(list, calculate, cleanUp, save, close);

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
