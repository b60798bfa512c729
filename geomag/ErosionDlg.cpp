#include "geomag/ErosionDlg.h"

#include "ui/InputBinding.h"

#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>

namespace qex {

namespace {
constexpr int kTemplateId = 143;
using namespace sample_grid;
constexpr int kWidth = 223 + kUnitRoom;
} // namespace

CErosionDlg::CErosionDlg(QWidget* parent) : CResultDialog(kTemplateId, "Erosion Rate Calculation", kWidth, 205, 9, parent)
{
    AddGroup("Sample site", 7, 7, kWidth - 14, 62);
    auto row = [this](const char* left, int leftId, const char* right, int rightId, int top) {
        AddLabel(left, 13, top + 2, kLabelWidth, kLabelHeight);
        AddEdit(leftId, 50, top, kEditWidth, kEditHeight);
        AddLabel(right, kRightLabelX, top + 2, kLabelWidth, kLabelHeight);
        AddEdit(rightId, kRightEditX, top, kEditWidth, kEditHeight);
    };
    row("Latitude:", 1021, "Altitude(m):", 1023, 18);
    row("Thick(cm):", 1024, "Density:", 1025, 34);
    row("FreePath:", 1026, "Shield:", 1027, 50);
    row("N:", 1016, "Del_N:", 1017, 74);
    row("P:", 1019, "Del_P:", 1020, 90);
    AddLabel("Nuclide:", 13, 108, kLabelWidth, kLabelHeight);
    QComboBox* nuclide = AddCombo(IDC_NUCLIDE, 50, 106, kEditWidth, kEditHeight);
    AddLabel("N standard:", kRightLabelX, 108, kLabelWidth, kLabelHeight);
    QComboBox* standard = AddCombo(IDC_STANDARD, kRightEditX, 106, kStandardWidth, kEditHeight);
    AddGroup("Results: (steady-state erosion rate)", 7, 124, kWidth - 14, 58);
    m_ctlResults = AddList(1011, 11, 133, kWidth - 22, 44);
    QPushButton* calculate = AddButton(1030, "C&alculate", 23, 186, 38, 14);
    QPushButton* cleanUp = AddButton(1031, "Clean Up", 64, 186, 38, 14);
    QPushButton* save = AddButton(1032, "&Save", 109, 186, 38, 14);
    QPushButton* close = AddButton(1, "&Close", 152, 186, 38, 14);
    SetTabOrder({1021, 1023, 1024, 1025, 1026, 1027, 1016, 1017, 1019, 1020, IDC_NUCLIDE, IDC_STANDARD, 1011, 1030, 1,
                 1031, 1032});
    SetUpResults(m_ctlResults, calculate, cleanUp, save, close);

    TakeStoredConstants(ErosionInputTable(), m_inputs, true);
    BindInputs(m_dx, *this, m_inputs, ErosionInputTable(),
               {1021, 1023, 1024, 1025, 1026, 1027, 1016, 1017, 1019, 1020});
    AddUnitLabels(*this, ErosionInputTable(), {1021, 1025, 1026, 1027, 1016, 1017, 1019, 1020});
    m_nuclide = new CNuclideChoice(m_inputs, nuclide, standard, Control<QLineEdit>(1019), Control<QLineEdit>(1020));
    ShowData();
    Control(1021)->setFocus();
}

void CErosionDlg::OnCalculate()
{
    if (!UpdateData())
        return;
    m_nuclide->FromControls();
    TakeStoredConstants(ErosionInputTable(), m_inputs, false);
    AppendErosionRate(m_inputs, Results());
}

} // namespace qex
