#include "geomag/ExpDlg.h"

#include "ui/HalfLifeSettings.h"
#include "ui/InputBinding.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>

namespace qex {

namespace {
constexpr int kTemplateId = 141;
constexpr int kLabelWidth = 36;
constexpr int kLabelHeight = 11;
constexpr int kEditHeight = 12;
// The template's labels name few units, so each box has its unit beside it:
// the boxes are narrower than the template's 56 units, and the right column
// and the dialog wider by the units' room (dialog units).
constexpr int kEditWidth = 44;
constexpr int kUnitRoom = 38;
constexpr int kRightLabelX = 114 + 24;
constexpr int kRightEditX = 152 + 24;
} // namespace

CExpDlg::CExpDlg(QWidget* parent)
    : CResultDialog(kTemplateId, "Surface Exposure Age Calculation", 223 + kUnitRoom, 197, 9, parent)
{
    AddGroup("Sample site", 7, 7, 209 + kUnitRoom, 77);
    // Two label/edit pairs a row: labels at 13 and the right label column, edits after them.
    auto row = [this](const char* left, int leftId, const char* right, int rightId, int labelTop, int editTop) {
        AddLabel(left, 13, labelTop, kLabelWidth, kLabelHeight);
        AddEdit(leftId, 50, editTop, kEditWidth, kEditHeight);
        AddLabel(right, kRightLabelX, labelTop, kLabelWidth, kLabelHeight);
        AddEdit(rightId, kRightEditX, editTop, kEditWidth, kEditHeight);
    };
    row("Latitude:", 1021, "Longitude:", 1022, 18, 18);
    row("Altitude(m):", 1023, "Thick(cm):", 1024, 36, 36);
    row("Density:", 1025, "FreePath:", 1026, 54, 52);
    row("Shield:", 1027, "Erosion:", 1028, 69, 67);
    row("N:", 1016, "Del_N:", 1017, 88, 88);
    row("P:", 1019, "Del_P:", 1020, 103, 103);
    AddCheck(1018, "Earth's magnetic change correction", 7, 114, 128, 14);
    AddGroup("Results:", 7, 127, 209 + kUnitRoom, 49);
    m_ctlResults = AddList(1011, 11, 136, 198 + kUnitRoom, 35);
    QPushButton* calculate = AddButton(1030, "C&alculate", 23, 178, 38, 14);
    QPushButton* cleanUp = AddButton(1031, "Clean Up", 64, 178, 38, 14);
    QPushButton* save = AddButton(1032, "&Save", 109, 178, 38, 14);
    QPushButton* close = AddButton(1, "&Close", 152, 178, 38, 14);
    SetTabOrder({1021, 1022, 1023, 1024, 1025, 1026, 1027, 1028, 1016, 1017, 1019, 1020, 1018, 1011, 1030, 1, 1031, 1032});
    SetUpResults(m_ctlResults, calculate, cleanUp, save, close);

    BindInputs(m_dx, *this, m_inputs, ExposureInputTable(),
               {1023, 1020, 1017, 1025, 1028, 1026, 1021, 1022, 1016, 1019, 1027, 1024, 1018});
    // Altitude(m) and Thick(cm) name their units already.
    AddUnitLabels(*this, ExposureInputTable(),
                  {1021, 1022, 1025, 1026, 1027, 1028, 1016, 1017, 1019, 1020});
    ShowData();
    Control(1021)->setFocus();
}

void CExpDlg::OnCalculate()
{
    if (!UpdateData())
        return;
    const HalfLives halfLives = StoredHalfLives();
    m_inputs.be10HalfLife = halfLives.be10;
    m_inputs.al26HalfLife = halfLives.al26;
    AppendExposureAge(m_inputs, Results());
}

} // namespace qex
