#include "proxy/ProxyDlg.h"

#include "proxy/PlotDlg.h"
#include "proxy/SimulationProgressDlg.h"
#include "ui/FileChooser.h"
#include "proxy/SiteProductionDlg.h"
#include "ui/ConstantSettings.h"
#include "ui/FileReplacement.h"
#include "ui/HelpTopic.h"
#include "ui/InputBinding.h"
#include "ui/ProgressWindow.h"
#include "ui/ScienceSettings.h"
#include "ui/StatusNotifier.h"

#include <QCheckBox>
#include <QDialog>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QRegularExpressionValidator>
#include <QDoubleSpinBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QComboBox>
#include <QPushButton>
#include <QSpinBox>

namespace qex {

namespace {

constexpr int kTemplateId = 140;
constexpr int kTemplateHeightDlu = 266;
// Rows below the template's buttons: "&Plot..." with the box of the curve's
// sense, then "Monte Carlo..." with "From site...", then the AMS standards of
// the two concentrations (dialog units).
constexpr int kPlotRowDlu = 48;
// Labels are not made smaller than this to fit their rectangles (points).
constexpr qreal kSmallestLabelPointSize = 6.0;
// What "Monte Carlo..." proposes first.
constexpr double kDefaultMonteCarloDraws = 1000.0;
constexpr double kDefaultMonteCarloSeed = 1.0;

// The template's label rectangles were drawn for a narrower face than this
// platform's: every label takes one font size, small enough for the widest.
void FitLabels(QWidget& dialog)
{
    const QList<QLabel*> labels = dialog.findChildren<QLabel*>(QString(), Qt::FindDirectChildrenOnly);
    auto allFit = [&labels] {
        for (const QLabel* label : labels)
            if (label->sizeHint().width() > label->width())
                return false;
        return true;
    };
    QFont font = dialog.font();
    while (!allFit() && font.pointSizeF() - 0.5 >= kSmallestLabelPointSize) {
        font.setPointSizeF(font.pointSizeF() - 0.5);
        for (QLabel* label : labels)
            label->setFont(font);
    }
}

// The tooltip of a Monte Carlo box from its input row: label, unit, help,
// range and default, as every field has them, with the box's own lowest
// value, default and (when given) help.
QString MonteCarloToolTip(std::string_view option, double minimum, double defaultValue,
                          std::string_view help = {})
{
    InputDescription description = DescribeInput(*SimulationInputTable().Find(option));
    description.range->minimum = minimum;
    description.defaultText = InputNumberText(defaultValue);
    if (!help.empty())
        description.help = help;
    return QString::fromStdString(InputToolTip(description));
}

// Asks the number of draws, the seed, the production-rate uncertainties (0
// keeps a rate fixed) and their shared scaling error; false when cancelled.
bool AskMonteCarlo(QWidget* parent, double& draws, double& seed, ProductionErrors& errors)
{
    QDialog dialog(parent);
    dialog.setObjectName("MonteCarloDlg");
    dialog.setWindowTitle("Monte Carlo");
    auto* drawsBox = new QSpinBox(&dialog);
    drawsBox->setObjectName("MonteCarloDraws");
    drawsBox->setRange(1, static_cast<int>(kMaxMonteCarloDraws));
    drawsBox->setGroupSeparatorShown(true);
    drawsBox->setValue(static_cast<int>(draws));
    drawsBox->setToolTip(MonteCarloToolTip("monte-carlo", 1.0, kDefaultMonteCarloDraws,
                                           "a whole number: the simulations run with the concentrations (and "
                                           "production rates) drawn from their uncertainties"));
    auto* seedEdit = new QLineEdit(QString::number(seed, 'f', 0), &dialog);
    seedEdit->setObjectName("MonteCarloSeed");
    seedEdit->setValidator(new QRegularExpressionValidator(QRegularExpression("[0-9]{1,16}"), seedEdit));
    seedEdit->setToolTip(MonteCarloToolTip("seed", 0.0, kDefaultMonteCarloSeed));
    // The production rates' uncertainties, in the rates' own range and unit.
    auto errorBox = [&dialog](const char* objectName, std::string_view option, double value) {
        const InputRow<SimulationInputs>* row = SimulationInputTable().Find(option);
        auto* box = new QDoubleSpinBox(&dialog);
        box->setObjectName(objectName);
        box->setDecimals(3);
        box->setRange(row->range->minimum, row->range->maximum);
        box->setValue(value);
        box->setToolTip(MonteCarloToolTip(option, row->range->minimum, 0.0));
        return box;
    };
    auto* be10Error = errorBox("Be10ProductionError", "be10-production-err", errors.be10);
    auto* al26Error = errorBox("Al26ProductionError", "al26-production-err", errors.al26);
    auto* scalingError = errorBox("ProductionScalingError", "production-scaling-err", errors.scaling);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &dialog);
    QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    auto* form = new QFormLayout(&dialog);
    form->addRow("Draws:", drawsBox);
    form->addRow("Seed:", seedEdit);
    form->addRow("10Be P err(atoms/g/yr):", be10Error);
    form->addRow("26Al P err(atoms/g/yr):", al26Error);
    form->addRow("Shared P scaling err(%):", scalingError);
    form->addRow(buttons);
    if (dialog.exec() != QDialog::Accepted)
        return false;
    draws = drawsBox->value();
    seed = seedEdit->text().toDouble();
    errors = {be10Error->value(), al26Error->value(), scalingError->value()};
    return true;
}

} // namespace

CProxyDlg::CProxyDlg(QWidget* parent)
    : CResultDialog(kTemplateId, "Climatic Curve Age Correction", 256, kTemplateHeightDlu + kPlotRowDlu, 9, parent)
{
    InstallHelpKey(*this, "simulate");
    // Controls in template order, which is also the tab order.
    QLineEdit* beN = AddEdit(1019, 77, 16, 51, 12);
    AddEdit(1020, 77, 31, 51, 12);
    AddEdit(1021, 77, 46, 51, 12);
    AddEdit(1022, 193, 46, 51, 12);
    m_editProxy = AddEdit(1023, 77, 94, 110, 12);
    QPushButton* proxyBrowse = AddButton(IDC_PROXY_BROWSE, "Browse...", 196, 94, 42, 12);
    m_listResults = AddList(IDC_RESULTS, 13, 137, 231, 104);
    QPushButton* close = AddButton(1, "&Close", 184, 248, 38, 14);
    AddLabel("10Be N(atoms/g):", 10, 18, 61, 9);
    AddLabel("26Al N(atoms/g):", 11, 33, 60, 9);
    AddLabel("10Be P(atoms/g/yr):", 7, 48, 64, 9);
    AddLabel("26Al P(atoms/g/yr):", 130, 48, 61, 9);
    AddLabel("Proxy Curve:", 26, 95, 45, 9);
    AddGroup("Input Parameters:", 7, 7, 242, 119);
    AddGroup("Results:", 7, 127, 242, 117);
    QPushButton* clear = AddButton(IDC_CLEAR, "C&lear", 90, 248, 38, 14);
    m_editOutput = AddEdit(1027, 77, 111, 110, 12);
    QPushButton* outputBrowse = AddButton(IDC_OUTPUT_BROWSE, "Browse...", 196, 112, 42, 12);
    AddLabel("Output File:", 31, 113, 40, 9);
    QPushButton* save = AddButton(IDC_SAVE, "&Save", 137, 248, 38, 14);
    AddEdit(1030, 77, 61, 51, 12);
    AddEdit(1031, 193, 61, 51, 12);
    AddLabel("Density (g/cm3):", 10, 63, 61, 9);
    AddLabel("Freepath (g/cm2):", 133, 63, 58, 9);
    AddEdit(1032, 77, 76, 51, 12);
    AddEdit(1033, 193, 76, 51, 12);
    AddLabel("Aerial E(cm/kyr):", 10, 78, 61, 9);
    AddLabel("Glacial E (cm/kyr):", 131, 78, 60, 9);
    QPushButton* calculation = AddButton(IDC_CALCULATION, "Calculation", 35, 248, 50, 14);
    AddLabel("BeN_err(atoms/g):", 130, 17, 61, 9);
    AddLabel("Al N_err(atoms/g):", 130, 32, 61, 9);
    AddEdit(1000, 193, 16, 51, 12);
    QLineEdit* alNErr = AddEdit(1001, 193, 31, 51, 12);
    SetTabOrderFromTemplate();
    m_plotButton = AddButton(IDC_PLOT, "&Plot...", 35, kTemplateHeightDlu, 50, 14);
    QWidget::setTabOrder(alNErr, m_plotButton);
    m_plotButton->setEnabled(false);
    QCheckBox* aboveCut = AddCheck(IDC_EXPOSURE_ABOVE_CUT, "Exposure above the cut (curve high = warm)", 92,
                                   kTemplateHeightDlu + 2, 152, 10);
    ShrinkToFit(aboveCut);
    QWidget::setTabOrder(m_plotButton, aboveCut);
    m_monteCarloButton = AddButton(IDC_MONTE_CARLO, "Monte Carlo...", 35, kTemplateHeightDlu + 16, 50, 14);
    QWidget::setTabOrder(aboveCut, m_monteCarloButton);
    m_monteCarloButton->setEnabled(false);
    QPushButton* fromSite = AddButton(IDC_FROM_SITE, "From site...", 92, kTemplateHeightDlu + 16, 50, 14);
    fromSite->setToolTip("Compute both production rates from the site's latitude, altitude, thickness and "
                         "shielding with the constant set of Options > Constants...");
    QWidget::setTabOrder(m_monteCarloButton, fromSite);
    AddLabel("10Be standard:", 13, kTemplateHeightDlu + 34, 50, 9);
    QComboBox* be10Standard = AddCombo(IDC_BE10_STANDARD, 65, kTemplateHeightDlu + 32, 64, 12);
    AddLabel("26Al standard:", 133, kTemplateHeightDlu + 34, 50, 9);
    QComboBox* al26Standard = AddCombo(IDC_AL26_STANDARD, 185, kTemplateHeightDlu + 32, 64, 12);
    QWidget::setTabOrder(fromSite, be10Standard);
    QWidget::setTabOrder(be10Standard, al26Standard);
    m_choices.Bind(be10Standard, *SimulationInputTable().Find("be10-standard"), m_inputs);
    m_choices.Bind(al26Standard, *SimulationInputTable().Find("al26-standard"), m_inputs);
    connect(fromSite, &QPushButton::clicked, this, &CProxyDlg::OnFromSite);
    FitLabels(*this);

    // The stored constant set gives the attenuation length box its value.
    m_inputs.constants = StoredConstantSet();
    ApplyConstantSet(SimulationInputTable(), m_inputs, NoInputGiven);
    // Data exchange in the template's exchange order, then the box of the plot row.
    BindInputs(m_dx, *this, m_inputs, SimulationInputTable(),
               {1020, 1022, 1019, 1021, 1023, 1027, 1032, 1031, 1033, 1030, 1000, 1001, IDC_EXPOSURE_ABOVE_CUT});
    ShowData();

    SetUpResults(m_listResults, calculation, clear, save, close);
    // The paths widen with the dialog.
    SetAnchor(m_editProxy, GrowRight);
    SetAnchor(m_editOutput, GrowRight);
    SetAnchor(proxyBrowse, MoveRight);
    SetAnchor(outputBrowse, MoveRight);
    connect(proxyBrowse, &QPushButton::clicked, this, &CProxyDlg::BrowseProxyFile);
    connect(outputBrowse, &QPushButton::clicked, this, &CProxyDlg::BrowseOutputFile);
    connect(m_plotButton, &QPushButton::clicked, this, &CProxyDlg::OnPlot);
    connect(m_monteCarloButton, &QPushButton::clicked, this, &CProxyDlg::OnMonteCarlo);
    beN->setFocus(Qt::OtherFocusReason);
}

bool CProxyDlg::OnCommand(int id)
{
    switch (id) {
    case IDC_CALCULATION:
        Calculate();
        return true;
    case IDC_SINGLE:
        SingleCalculation();
        return true;
    case IDC_PROXY_BROWSE:
        BrowseProxyFile();
        return true;
    case IDC_OUTPUT_BROWSE:
        BrowseOutputFile();
        return true;
    case IDC_CLEAR:
        CleanUp();
        return true;
    case IDC_SAVE:
        Save();
        return true;
    case IDC_PLOT:
        OnPlot();
        return true;
    case IDC_MONTE_CARLO:
        OnMonteCarlo();
        return true;
    default:
        return false;
    }
}

void CProxyDlg::SingleCalculation()
{
    m_inputs.single = true;
    Calculate();
    m_inputs.single = false;
}

void CProxyDlg::BrowseProxyFile()
{
    const auto path = FileChooser().Choose({ChooserKind::Open, "Climatic proxy data Curve",
                                            "Proxy Curve Data (*.dat)|*.dat|All Files (*.*)|*.*||", false},
                                           this);
    if (path)
        m_editProxy->setText(*path);
}

void CProxyDlg::BrowseOutputFile()
{
    const auto path = FileChooser().Choose(
        {ChooserKind::Save, "Output calculation file", "Output File (*.txt)|*.txt|All Files (*.*)|*.*||", false},
        this);
    if (path)
        m_editOutput->setText(*path);
}

bool CProxyDlg::TakeInputs()
{
    if (!UpdateData())
        return false;
    m_choices.FromControls();
    m_inputs.constants = StoredConstantSet();
    ApplyScienceSettings(SimulationInputTable(), m_inputs);
    return true;
}

bool CProxyDlg::MayWriteReport()
{
    // An output that names an input is refused first, by the calculation itself.
    if (!FindSameFile(InputFileUses(m_inputs, SimulationInputTable())).message.empty())
        return true;
    return MayReplaceFile(kReportWriter, QString::fromStdString(m_strOutputFile), this);
}

void CProxyDlg::OnCalculate()
{
    // Plot and Monte Carlo keep the latest result that was listed; a failed
    // or cancelled calculation lists none and leaves them as they were.
    m_calculated = false;
    if (!TakeInputs() || !MayWriteReport())
        return;
    SimulationDetail detail;
    // A long curve takes a while: progress with Cancel after a short delay.
    CSimulationProgressDlg progress(this);
    if (AppendSimulation(m_inputs, Results(), &detail, progress.Callback())) {
        KeepPlots(detail);
        m_lastCalculated = m_inputs;
        m_calculated = true;
        NoteFileWritten(kReportWriter, QString::fromStdString(m_strOutputFile));
        NotifyWritten(detail.table.size(), "rows", m_strOutputFile);
    }
}

void CProxyDlg::OnCleanedUp()
{
    m_plotButton->setEnabled(false);
    m_monteCarloButton->setEnabled(false);
}

void CProxyDlg::KeepPlots(const SimulationDetail& detail)
{
    m_plots = MakeSimulationPlots(m_inputs, detail);
    m_plotButton->setEnabled(true);
    m_monteCarloButton->setEnabled(true);
}

void CProxyDlg::OnFromSite()
{
    // The density of the boxes weighs the thickness factor.
    if (!UpdateData())
        return;
    m_inputs.constants = StoredConstantSet();
    CSiteProductionDlg site(m_inputs, this);
    if (site.exec() != QDialog::Accepted)
        return;
    m_inputs = site.m_inputs;
    m_inputs.latitude = NAN; // the boxes hold the rates now: the calculation takes them as given
    ShowData();
}

namespace {
// Whether two calculations describe the same sample on the same curve with
// the same constants (the report's path and the kind of calculation aside).
bool SameSample(const SimulationInputs& a, const SimulationInputs& b)
{
    return a.proxyFile == b.proxyFile && a.be10 == b.be10 && a.be10Error == b.be10Error && a.al26 == b.al26 &&
           a.al26Error == b.al26Error && a.be10Production == b.be10Production &&
           a.al26Production == b.al26Production && a.density == b.density && a.freePath == b.freePath &&
           a.aerialErosion == b.aerialErosion && a.glacialErosion == b.glacialErosion &&
           a.be10HalfLife == b.be10HalfLife && a.al26HalfLife == b.al26HalfLife &&
           a.exposureAboveCut == b.exposureAboveCut && a.constants == b.constants &&
           a.be10Standard == b.be10Standard && a.al26Standard == b.al26Standard;
}
} // namespace

void CProxyDlg::OnMonteCarlo()
{
    if (!m_monteCarloButton->isEnabled() ||
        !AskMonteCarlo(this, m_monteCarloDraws, m_monteCarloSeed, m_productionErrors))
        return;
    // The draws are of the sample the boxes show: when it is not the one
    // calculated last, it is calculated first, and its block comes first.
    if (!TakeInputs())
        return;
    if (!SameSample(m_inputs, m_lastCalculated)) {
        Calculate();
        if (!m_calculated)
            return;
    }
    CalculateMore([this] { RunMonteCarloDraws(m_monteCarloDraws, m_monteCarloSeed); });
}

bool CProxyDlg::RunMonteCarloDraws(double draws, double seed)
{
    // The sample of the latest calculation, which the boxes show.
    SimulationInputs inputs = m_lastCalculated;
    inputs.monteCarloDraws = draws;
    inputs.seed = seed;
    inputs.be10ProductionError = m_productionErrors.be10;
    inputs.al26ProductionError = m_productionErrors.al26;
    inputs.productionScalingError = m_productionErrors.scaling;
    CProgressWindow window(this, "Climatic Curve Age Correction", CSimulationProgressDlg::kShowAfterMs);
    auto progress = [&window](int done, int total) {
        if (!window.Due())
            return !window.Cancelled();
        return window.Step(done, total, QString("Monte Carlo: draw %1 of %2...").arg(done).arg(total));
    };
    MonteCarloResult result;
    if (!AppendMonteCarlo(inputs, Results(), result, progress))
        return false;
    m_plots.hasMonteCarlo = true;
    m_plots.monteCarlo = MakeMonteCarloPlot(result);
    return true;
}

void CProxyDlg::OnPlot()
{
    if (m_plotButton->isEnabled())
        m_plotWindow = ShowPlotWindow(m_plots, "Simulation Plots", this);
}

CPlotDlg* CProxyDlg::PlotWindow() const
{
    return m_plotWindow.data();
}

} // namespace qex
