#include "corrections/ThicknessDLG.h"

#include "ui/HelpTopic.h"
#include "ui/InputBinding.h"

#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>

namespace qex {

CThicknessDLG::CThicknessDLG(QWidget* parent) : CResultDialog(134, "Thickness Correction", 232, 167, 9, parent)
{
    InstallHelpKey(*this, "thickness");
    const auto edits = AddEditColumn({{1000, "Thickness(cm):"}, {1001, "Density(g/cm3):"}, {1002, "Free path(g/cm2):"}},
                                     {24, 86, 114, 78, 10, 17});
    AddStandardResults(64);
    SetTabOrderFromTemplate();

    BindInputs(m_dx, *this, m_inputs, ThicknessInputTable(), {1000, 1001, 1002});
    ShowData();
    edits.front()->setFocus();
}

CThicknessDLG::~CThicknessDLG() = default;

void CThicknessDLG::OnCalculate()
{
    if (!UpdateData())
        return;
    AppendThicknessResult(m_inputs, Results());
}

} // namespace qex
