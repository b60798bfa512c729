#include "geomag/ExpDlg.h"

#include "ui/HelpTopic.h"
#include "ui/InputBinding.h"
#include "ui/ScienceSettings.h"

#include <QCheckBox>
#include <QLabel>
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
// Room for the erosion rate in m/Myr beside its cm/yr (dialog units).
constexpr int kErosionRoom = 34;
// 1 cm/yr = 0.01 m per 1e-6 Myr.
constexpr double kMetresPerMyrPerCmPerYr = 1e4;
} // namespace

CExpDlg::CExpDlg(QWidget* parent)
    : CResultDialog(kTemplateId, "Surface Exposure Age Calculation", 223 + kUnitRoom + kErosionRoom, 197, 9, parent)
{
    InstallHelpKey(*this, "exposure");
    AddGroup("Sample site", 7, 7, 209 + kUnitRoom + kErosionRoom, 77);
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
    // The list's exposure age is in years.
    AddGroup("Results: (exposure age in years)", 7, 127, 209 + kUnitRoom + kErosionRoom, 49);
    m_ctlResults = AddList(1011, 11, 136, 198 + kUnitRoom + kErosionRoom, 35);
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
    // The erosion rate in the unit papers give it in, as it is typed.
    m_erosionUnit = findChild<QLabel*>("unit1028");
    connect(Control<QLineEdit>(1028), &QLineEdit::textChanged, this, &CExpDlg::ShowErosionEquivalent);
    ShowData();
    ShowErosionEquivalent();
    Control(1021)->setFocus();
}

void CExpDlg::ShowErosionEquivalent()
{
    if (m_erosionUnit == nullptr)
        return;
    double cmPerYr = 0.0;
    const bool number = ReadInputNumber(Control<QLineEdit>(1028)->text().toStdString(), std::nullopt, cmPerYr).empty();
    m_erosionUnit->setText(number ? QString("cm/yr = %1 m/Myr").arg(cmPerYr * kMetresPerMyrPerCmPerYr, 0, 'g', 6)
                                  : QString("cm/yr"));
    m_erosionUnit->resize(m_erosionUnit->sizeHint().width() + 1, m_erosionUnit->height());
}

void CExpDlg::OnCalculate()
{
    if (!UpdateData())
        return;
    ApplyScienceSettings(ExposureInputTable(), m_inputs);
    AppendExposureAge(m_inputs, Results());
}

} // namespace qex
