#include "corrections/SlopeThickDLG.h"

#include "ui/HelpTopic.h"
#include "ui/InputBinding.h"

#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>

namespace qex {

CSlopeThickDLG::CSlopeThickDLG(QWidget* parent)
    : CResultDialog(135, "Slope-Thickness Correction", 232, 182, 9, parent)
{
    InstallHelpKey(*this, "slope-thickness");
    // Two columns, the sample on the left and the surface on the right, so
    // that the list below shows a whole block.
    const auto edits = AddEditColumn({{1000, "Thickness(cm):"}, {1001, "Density(g/cm3):"}, {1002, "Free path(g/cm2):"}},
                                     {4, 72, 78, 40, 8, 15});
    AddEditColumn({{1003, "Slope:"}, {1004, "Strike:"}}, {122, 28, 152, 40, 8, 15});
    AddStandardResults(54);
    SetTabOrderFromTemplate();

    BindInputs(m_dx, *this, m_inputs, SlopeThicknessInputTable(), {1000, 1001, 1002, 1003, 1004});
    AddUnitLabels(*this, SlopeThicknessInputTable(), {1003, 1004});
    ShowData();
    edits.front()->setFocus();
}

CSlopeThickDLG::~CSlopeThickDLG() = default;

void CSlopeThickDLG::OnCalculate()
{
    if (!UpdateData())
        return;
    AppendSlopeThicknessResult(m_inputs, Results());
}

} // namespace qex
