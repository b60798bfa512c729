#include "scaling/ScalingFactorDLG.h"

#include "ui/InputBinding.h"

#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>

namespace qex {

CScalingFactorDLG::CScalingFactorDLG(QWidget* parent) : CResultDialog(133, "Scaling Factor Dialog", 197, 167, 9, parent)
{
    AddEditColumn({{1000, "Latitude:"}, {1001, "Altitude(m):"}, {1002, "Muon:"}}, {10, 50, 62, 70, 8, 16});
    AddStandardResults(58, true);
    SetTabOrderFromTemplate();
    BindInputs(m_dx, *this, m_inputs, ScalingInputTable(), {1000, 1001, 1002});
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
