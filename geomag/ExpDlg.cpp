#include "geomag/ExpDlg.h"

#include "ui/ConstantSettings.h"
#include "ui/HelpTopic.h"
#include "ui/InputBinding.h"
#include "ui/ScienceSettings.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>

namespace qex {

namespace {
constexpr int kTemplateId = 141;
// The grid of the sample dialogs (geomag/NuclideChoiceDlg.h); the nuclide and
// standard drop-downs and the check boxes take a row each above the results
// (dialog units).
using namespace sample_grid;
constexpr int kChoiceRoom = 21;
// Room for the erosion rate in m/Myr beside its cm/yr (dialog units).
constexpr int kErosionRoom = 34;
// 1 cm/yr = 0.01 m per 1e-6 Myr.
constexpr double kMetresPerMyrPerCmPerYr = 1e4;
} // namespace

CExpDlg::CExpDlg(QWidget* parent)
    : CResultDialog(kTemplateId, "Surface Exposure Age Calculation", 223 + kUnitRoom + kErosionRoom, 197 + kChoiceRoom, 9, parent)
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
    AddLabel("Nuclide:", 13, 119, kLabelWidth, kLabelHeight);
    QComboBox* nuclide = AddCombo(IDC_NUCLIDE, 50, 117, kEditWidth, kEditHeight);
    AddLabel("N standard:", kRightLabelX, 119, kLabelWidth, kLabelHeight);
    QComboBox* standard = AddCombo(IDC_STANDARD, kRightEditX, 117, kStandardWidth, kEditHeight);
    AddCheck(1018, "Earth's magnetic change correction", 7, 114 + kChoiceRoom, 128, 14);
    m_ctlUncertainties = AddCheck(IDC_UNCERTAINTIES, "Uncertainties (internal, external)", kRightLabelX,
                                  114 + kChoiceRoom, 110, 14);
    // The list's exposure age is in years.
    AddGroup("Results: (exposure age in years)", 7, 127 + kChoiceRoom, 209 + kUnitRoom + kErosionRoom, 49);
    m_ctlResults = AddList(1011, 11, 136 + kChoiceRoom, 198 + kUnitRoom + kErosionRoom, 35);
    QPushButton* calculate = AddButton(1030, "C&alculate", 23, 178 + kChoiceRoom, 38, 14);
    QPushButton* cleanUp = AddButton(1031, "Clean Up", 64, 178 + kChoiceRoom, 38, 14);
    QPushButton* save = AddButton(1032, "&Save", 109, 178 + kChoiceRoom, 38, 14);
    QPushButton* close = AddButton(1, "&Close", 152, 178 + kChoiceRoom, 38, 14);
    SetTabOrder({1021, 1022, 1023, 1024, 1025, 1026, 1027, 1028, 1016, 1017, 1019, 1020, IDC_NUCLIDE, IDC_STANDARD,
                 1018, IDC_UNCERTAINTIES, 1011, 1030, 1, 1031, 1032});
    SetUpResults(m_ctlResults, calculate, cleanUp, save, close);
    m_ctlUncertainties->setToolTip("List the age's internal uncertainty (from the concentration's) and its external "
                                   "one (adding the production rate's); kept for the next time");

    // The stored constant set gives the production rate and attenuation length boxes their values.
    TakeStoredConstants(ExposureInputTable(), m_inputs, true);
    m_nuclide = new CNuclideChoice(m_inputs, nuclide, standard, Control<QLineEdit>(1019), Control<QLineEdit>(1020));
    m_ctlUncertainties->setChecked(StoredUncertainties());

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
    m_nuclide->FromControls();
    m_inputs.uncertainties = m_ctlUncertainties->isChecked();
    StoreUncertainties(m_inputs.uncertainties);
    ApplyScienceSettings(ExposureInputTable(), m_inputs);
    TakeStoredConstants(ExposureInputTable(), m_inputs, false);
    AppendExposureAge(m_inputs, Results());
}

} // namespace qex
