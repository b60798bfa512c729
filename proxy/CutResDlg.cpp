#include "proxy/CutResDlg.h"

#include "proxy/PlotDlg.h"
#include "ui/FileChooser.h"
#include "ui/HelpTopic.h"
#include "ui/InputBinding.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>

namespace qex {

namespace {
constexpr int kTemplateId = 131;
constexpr int kTemplateHeightDlu = 204;
// "&Plot..." in a row of its own below the template's buttons (dialog units).
constexpr int kPlotRowTopDlu = 201;
constexpr int kPlotRowDlu = 18;
} // namespace

CCutResDlg::CCutResDlg(QWidget* parent)
    : CResultDialog(kTemplateId, "Calculate Cut results", 203, kTemplateHeightDlu + kPlotRowDlu, 10, parent)
{
    InstallHelpKey(*this, "cut");
    AddGroup("Input Parameters:", 7, 7, 189, 73);
    AddLabel("Proxy Curve:", 13, 17, 44, 9);
    m_ctlProxyFile = AddEdit(1023, 59, 17, 82, 12);
    QPushButton* browse = AddButton(1024, "Browse...", 147, 17, 42, 12);
    AddLabel("Exp_Age:", 13, 31, 34, 9);
    AddEdit(1003, 59, 30, 51, 12);
    AddCheck(1002, "Cut By Age", 13, 46, 80, 9);
    // The two cut boxes are narrower than the template's 51 units, and the
    // cut age further right, for the unit beside each.
    AddLabel("Cut_Value:", 13, 60, 36, 9);
    AddEdit(1000, 51, 59, 32, 12);
    AddLabel("Cut_age:", 116, 60, 32, 9);
    AddEdit(1001, 149, 59, 32, 12);
    AddGroup("Results:", 7, 83, 189, 99);
    m_ctlResults = AddList(1011, 13, 94, 177, 85);
    QPushButton* calculate = AddButton(1025, "C&alculate", 18, 183, 38, 14);
    QPushButton* cleanUp = AddButton(1026, "Clean Up", 59, 183, 38, 14);
    QPushButton* save = AddButton(1027, "&Save", 104, 183, 38, 14);
    QPushButton* close = AddButton(1, "&Close", 147, 183, 38, 14);
    SetTabOrder({1000, 1001, 1023, 1024, 1011, 1025, 1, 1026, 1002, 1003, 1027});
    m_plotButton = AddButton(IDC_PLOT, "&Plot...", 18, kPlotRowTopDlu, 38, 14);
    QWidget::setTabOrder(save, m_plotButton);
    m_plotButton->setEnabled(false);
    QCheckBox* aboveCut = AddCheck(IDC_EXPOSURE_ABOVE_CUT, "Exposure above the cut (curve high = warm)", 60,
                                   kPlotRowTopDlu + 2, 138, 10);
    ShrinkToFit(aboveCut);
    QWidget::setTabOrder(m_plotButton, aboveCut);

    SetUpResults(m_ctlResults, calculate, cleanUp, save, close);
    connect(browse, &QPushButton::clicked, this, &CCutResDlg::OnBrowse);
    connect(m_plotButton, &QPushButton::clicked, this, &CCutResDlg::OnPlot);

    BindInputs(m_dx, *this, m_inputs, CutInputTable(), {1023, 1001, 1000, 1002, 1003, IDC_EXPOSURE_ABOVE_CUT});
    AddUnitLabels(*this, CutInputTable(), {1003, 1000, 1001});
    SetAnchor(m_ctlProxyFile, GrowRight);
    SetAnchor(browse, MoveRight);
    ShowData();

    connect(Control<QCheckBox>(1002), &QCheckBox::toggled, this, &CCutResDlg::ShowCutMode);
    ShowCutMode();
    // The cut box in use takes the focus.
    Control(m_bCutByAge ? 1001 : 1000)->setFocus();
}

void CCutResDlg::ShowCutMode()
{
    // The cut that is not chosen is not used: its box is disabled.
    const bool byAge = Control<QCheckBox>(1002)->isChecked();
    Control(1001)->setEnabled(byAge);
    Control(1000)->setEnabled(!byAge);
}

void CCutResDlg::OnBrowse()
{
    ChooserRequest request;
    request.kind = ChooserKind::Open;
    request.defaultExtensionText = "Climatic proxy data Curve";
    request.filter = "Proxy Curve Data (*.dat)|*.dat|All Files (*.*)|*.*||";
    if (const auto chosen = FileChooser().Choose(request, this))
        m_ctlProxyFile->setText(*chosen);
}

void CCutResDlg::OnCalculate()
{
    // Plot draws the latest result listed: a failed calculation keeps it.
    if (!UpdateData())
        return;
    ProxyHistoryPlot history;
    if (AppendCutResults(m_inputs, Results(), &history) == CutOutcome::Result) {
        m_plots.history = history;
        m_plotButton->setEnabled(true);
    }
}

void CCutResDlg::OnCleanedUp()
{
    m_plotButton->setEnabled(false);
}

void CCutResDlg::OnPlot()
{
    if (m_plotButton->isEnabled())
        m_plotWindow = ShowPlotWindow(m_plots, "Cut Results Plot", this);
}

CPlotDlg* CCutResDlg::PlotWindow() const
{
    return m_plotWindow.data();
}

} // namespace qex
