#include "burial/BurialAgeDlg.h"

#include "geomag/NuclideChoiceDlg.h"
#include "ui/InputBinding.h"

#include <QComboBox>
#include <QListWidget>
#include <QPushButton>

namespace qex {

namespace {
constexpr int kTemplateId = 157;
using namespace sample_grid;
constexpr int kWidth = 223 + kUnitRoom;
constexpr int kHeight = 262;
constexpr int kResultsTop = 176;
} // namespace

CBurialAgeDlg::CBurialAgeDlg(QWidget* parent) : CResultDialog(kTemplateId, "Burial Age", kWidth, kHeight, 9, parent)
{
    const auto row = [this](const char* left, int leftId, const char* right, int rightId, int top) {
        AddLabel(left, 13, top + 2, kLabelWidth, kLabelHeight);
        AddEdit(leftId, 50, top, kEditWidth, kEditHeight);
        AddLabel(right, kRightLabelX, top + 2, kLabelWidth, kLabelHeight);
        AddEdit(rightId, kRightEditX, top, kEditWidth, kEditHeight);
    };
    const auto combo = [this](const char* label, int id, int x, int labelX, int top) {
        AddLabel(label, labelX, top + 2, kLabelWidth, kLabelHeight);
        return AddCombo(id, x, top, kStandardWidth, kEditHeight);
    };
    AddGroup("Sample", 7, 7, kWidth - 14, 62);
    row("10Be:", 1001, "Del 10Be:", 1002, 18);
    row("26Al:", 1003, "Del 26Al:", 1004, 34);
    QComboBox* be10Standard = combo("10Be std:", 1020, 50, 13, 50);
    QComboBox* al26Standard = combo("26Al std:", 1021, kRightEditX, kRightLabelX, 50);
    AddGroup("Source and burial", 7, 73, kWidth - 14, 98);
    row("P 10Be:", 1005, "P 26Al:", 1006, 84);
    row("Density:", 1007, "FreePath:", 1008, 100);
    QComboBox* source = combo("Source:", 1022, 50, 13, 116);
    AddLabel("Depth:", kRightLabelX, 118, kLabelWidth, kLabelHeight);
    AddEdit(1009, kRightEditX, 116, kEditWidth, kEditHeight);
    row("Pb 10Be:", 1010, "Pb 26Al:", 1012, 132);
    row("MC draws:", 1013, "Seed:", 1014, 148);
    AddGroup("Results: (burial age)", 7, kResultsTop, kWidth - 14, 64);
    m_ctlResults = AddList(1011, 11, kResultsTop + 9, kWidth - 22, 50);
    const int buttons = kResultsTop + 68;
    QPushButton* calculate = AddButton(1030, "C&alculate", 23, buttons, 38, 14);
    QPushButton* cleanUp = AddButton(1031, "Clean Up", 64, buttons, 38, 14);
    QPushButton* save = AddButton(1032, "&Save", 109, buttons, 38, 14);
    QPushButton* close = AddButton(1, "&Close", 152, buttons, 38, 14);
    SetTabOrder({1001, 1002, 1003, 1004, 1020, 1021, 1005, 1006, 1007, 1008, 1022, 1009, 1010, 1012, 1013, 1014,
                 1011, 1030, 1, 1031, 1032});
    SetUpResults(m_ctlResults, calculate, cleanUp, save, close);

    const InputTable<BurialAgeInputs>& table = BurialAgeInputTable();
    TakeStoredConstants(table, m_inputs, true);
    BindInputs(m_dx, *this, m_inputs, table,
               {1001, 1002, 1003, 1004, 1005, 1006, 1007, 1008, 1009, 1010, 1012, 1013, 1014});
    AddUnitLabels(*this, table, {1002, 1004, 1006, 1007, 1008, 1009, 1012});
    m_choices.Bind(be10Standard, *table.Find("be10-standard"), m_inputs);
    m_choices.Bind(al26Standard, *table.Find("al26-standard"), m_inputs);
    m_choices.Bind(source, *table.Find("source"), m_inputs);
    ShowData();
    Control(1001)->setFocus();
}

void CBurialAgeDlg::OnCalculate()
{
    if (!UpdateData())
        return;
    m_choices.FromControls();
    TakeStoredConstants(BurialAgeInputTable(), m_inputs, false);
    AppendBurialAge(m_inputs, Results());
}

} // namespace qex
