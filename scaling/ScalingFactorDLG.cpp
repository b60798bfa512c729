#include "scaling/ScalingFactorDLG.h"

#include "ui/HelpTopic.h"
#include "ui/InputBinding.h"

#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>

namespace qex {

CScalingFactorDLG::CScalingFactorDLG(QWidget* parent) : CResultDialog(133, "Scaling Factor Dialog", 197, 167, 9, parent)
{
    InstallHelpKey(*this, "scaling");
    // Rows close together, so that a whole block fits the list.
    AddEditColumn({{1000, "Latitude:"}, {1001, "Altitude(m):"}, {1002, "Muon:"}}, {10, 50, 62, 60, 6, 14});
    AddStandardResults(48);
    SetTabOrderFromTemplate();
    BindInputs(m_dx, *this, m_inputs, ScalingInputTable(), {1000, 1001, 1002});
    AddUnitLabels(*this, ScalingInputTable(), {1000, 1002});
    ShowData();
}

CScalingFactorDLG::~CScalingFactorDLG() = default;

void CScalingFactorDLG::OnCalculate()
{
    if (!UpdateData())
        return;
    AppendScalingFactorResults(m_inputs, Results());
}

} // namespace qex
