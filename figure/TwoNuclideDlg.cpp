#include "figure/TwoNuclideDlg.h"

#include "core/Message.h"
#include "figure/FigureDlg.h"
#include "ui/FileChooser.h"
#include "ui/HelpTopic.h"
#include "ui/InputBinding.h"
#include "ui/ScienceSettings.h"

#include <QCheckBox>
#include <QDir>
#include <QFileInfo>
#include <QLineEdit>
#include <QPushButton>

namespace qex {

namespace {
constexpr int kTemplateId = 150;
constexpr const char* kSampleFilter = "Sample Table (*.csv)|*.csv|All Files (*.*)|*.*||";
} // namespace

CTwoNuclideDlg::CTwoNuclideDlg(QWidget* parent) : CTemplateDialog(kTemplateId, "Two-Nuclide Diagram", 300, 222, 9, parent)
{
    InstallHelpKey(*this, "plot");
    // The science settings of every calculation, shown in their boxes.
    ApplyScienceSettings(TwoNuclideFigureInputTable(), m_inputs);

    AddLabel("Samples (CSV):", 7, 9, 60, 8);
    QLineEdit* input = AddEdit(IDC_INPUT, 70, 7, 178, 12);
    QPushButton* browse = AddButton(IDC_BROWSE, "Browse...", 252, 7, 42, 12);
    AddLabel("Columns: sample, be10, be10-err, al26, al26-err (atoms/g, 1 sigma),", 7, 23, 286, 8);
    AddLabel("and where a row has its own, be10-production, al26-production (atoms/g/yr).", 7, 32, 286, 8);
    const struct {
        int id;
        const char* label;
    } numbers[] = {
        {IDC_BE10_PRODUCTION, "10Be production rate:"}, {IDC_AL26_PRODUCTION, "26Al production rate:"},
        {IDC_DENSITY, "Rock density:"},                 {IDC_FREE_PATH, "Attenuation free path:"},
        {IDC_BE10_HALF_LIFE, "10Be half-life:"},        {IDC_AL26_HALF_LIFE, "26Al half-life:"},
        {IDC_BURIAL_STEP, "Burial lines every:"},
    };
    int y = 46;
    for (const auto& number : numbers) {
        AddLabel(number.label, 7, y + 2, 90, 8);
        AddEdit(number.id, 100, y, 60, 12);
        y += 16;
    }
    AddCheck(IDC_RAW, "Raw concentrations (10Be against 26Al/10Be, not normalised)", 7, y + 2, 286, 10);
    AddCheck(IDC_NO_LABELS, "No sample labels", 7, y + 16, 286, 10);
    AddCheck(IDC_ISOCHRON, "Isochron of the samples (York fit) with its 1-sigma band and burial age", 7, y + 30, 286,
             10);
    QPushButton* draw = AddButton(1, "Draw", 190, 202, 50, 14, true);
    QPushButton* cancel = AddButton(2, "Cancel", 244, 202, 50, 14);
    SetTabOrderFromTemplate();
    SetAnchor(input, GrowRight);
    SetAnchor(browse, MoveRight);
    AllowEnlarging();

    const auto& table = TwoNuclideFigureInputTable();
    AddUnitLabels(*this, table,
                  {IDC_BE10_PRODUCTION, IDC_AL26_PRODUCTION, IDC_DENSITY, IDC_FREE_PATH, IDC_BE10_HALF_LIFE,
                   IDC_AL26_HALF_LIFE, IDC_BURIAL_STEP});
    BindInputs(m_dx, *this, m_inputs, table,
               {IDC_INPUT, IDC_BE10_PRODUCTION, IDC_AL26_PRODUCTION, IDC_DENSITY, IDC_FREE_PATH, IDC_BE10_HALF_LIFE,
                IDC_AL26_HALF_LIFE, IDC_BURIAL_STEP, IDC_RAW, IDC_NO_LABELS, IDC_ISOCHRON});
    m_dx.ToControls();

    connect(browse, &QPushButton::clicked, this, &CTwoNuclideDlg::Browse);
    connect(draw, &QPushButton::clicked, this, &CTwoNuclideDlg::accept);
    connect(cancel, &QPushButton::clicked, this, &CTwoNuclideDlg::reject);
    input->setFocus();
}

void CTwoNuclideDlg::Browse()
{
    if (const auto path = FileChooser().Choose({ChooserKind::Open, "Samples", kSampleFilter, false}, this))
        Control<QLineEdit>(IDC_INPUT)->setText(*path);
}

void CTwoNuclideDlg::accept()
{
    if (!m_dx.FromControls())
        return;
    if (m_inputs.input.empty()) {
        ShowMessage("Please select a sample file!");
        return;
    }
    std::vector<TwoNuclideSample> samples;
    std::string error;
    if (!ReadTwoNuclideSamples(m_inputs, samples, error)) {
        ShowMessage("Can not read the sample file!", error);
        return;
    }
    std::optional<IsochronLine> isochron;
    if (m_inputs.isochron && !FitTwoNuclideIsochron(m_inputs, samples, isochron.emplace(), error)) {
        ShowMessage("Can not fit the isochron!", error);
        return;
    }
    const QFileInfo file(QString::fromStdString(m_inputs.input));
    m_window = ShowFigureWindow(MakeTwoNuclideFigure(m_inputs, samples, isochron),
                                QString("Two-Nuclide Diagram - %1 (%2 samples)").arg(file.fileName()).arg(samples.size()),
                                file.absoluteDir().filePath(file.completeBaseName() + "-two-nuclide.png"),
                                {{"Sample File", m_inputs.input, FileRole::Input}}, nullptr);
    QDialog::accept();
}

} // namespace qex
