#include "batch/IsochronDlg.h"

#include "core/ConstantSets.h"
#include "core/Message.h"
#include "ui/FileChooser.h"
#include "ui/HelpTopic.h"
#include "ui/InputBinding.h"
#include "ui/ScienceSettings.h"

#include <QLineEdit>
#include <QPushButton>

namespace qex {

namespace {
constexpr int kTemplateId = 151;
constexpr int kWidth = 300;
constexpr const char* kSampleFilter = "Sample Table (*.csv)|*.csv|All Files (*.*)|*.*||";
} // namespace

CIsochronDlg::CIsochronDlg(QWidget* parent) : CResultDialog(kTemplateId, "Isochron Burial Age", kWidth, 270, 9, parent)
{
    InstallHelpKey(*this, "isochron");
    const auto& table = IsochronInputTable();
    // R0 from the original constant set, the half-lives as chosen under Options.
    CompleteInputs(table, m_inputs, NoInputGiven);
    ApplyScienceSettings(table, m_inputs);

    AddLabel("Samples:", 7, 9, 60, 8);
    QLineEdit* input = AddEdit(IDC_INPUT, 70, 7, 178, 12);
    QPushButton* browse = AddButton(IDC_BROWSE, "Browse...", 252, 7, 42, 12);
    AddLabel("One horizon, any batch format: sample, be10, be10-err, al26, al26-err (atoms/g),", 7, 23, 286, 8);
    AddLabel("and where a row has its own, post-burial-be10-production, post-burial-al26-production.", 7, 32, 286, 8);
    AddEditColumn({{1001, "Production ratio R0:"},
                   {1002, "R0 error (1 sigma):"},
                   {1003, "10Be half-life:"},
                   {1004, "26Al half-life:"},
                   {1005, "10Be post-burial P:"},
                   {1006, "26Al post-burial P:"},
                   {1007, "Monte Carlo draws:"},
                   {1008, "Seed:"}},
                  {7, 90, 100, 60, 46, 15});
    AddStandardResults(168);
    SetTabOrderFromTemplate();
    SetAnchor(input, GrowRight);
    SetAnchor(browse, MoveRight);

    AddUnitLabels(*this, table, {1003, 1004, 1005, 1006});
    BindInputs(m_dx, *this, m_inputs, table, {IDC_INPUT, 1001, 1002, 1003, 1004, 1005, 1006, 1007, 1008});
    ShowData();
    connect(browse, &QPushButton::clicked, this, &CIsochronDlg::Browse);
    input->setFocus();
}

CIsochronDlg::~CIsochronDlg() = default;

void CIsochronDlg::Browse()
{
    if (const auto path = FileChooser().Choose({ChooserKind::Open, "Samples", kSampleFilter, false}, this))
        Control<QLineEdit>(IDC_INPUT)->setText(*path);
}

void CIsochronDlg::OnCalculate()
{
    if (!UpdateData())
        return;
    if (m_inputs.input.empty()) {
        ShowMessage("Please select a sample file!");
        return;
    }
    AppendIsochronAge(m_inputs, Results());
}

} // namespace qex
