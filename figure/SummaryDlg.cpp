#include "figure/SummaryDlg.h"

#include "batch/BatchRun.h"
#include "core/Format.h"
#include "core/Message.h"
#include "figure/FigureDlg.h"
#include "figure/SummaryFigure.h"
#include "ui/FileChooser.h"
#include "ui/HelpTopic.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QDir>
#include <QFileInfo>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

namespace qex {

namespace {
constexpr const char* kOutputFilter = "Batch Output (*.csv)|*.csv|All Files (*.*)|*.*||";
} // namespace

CSummaryPanel::CSummaryPanel(QWidget* parent)
    : QWidget(parent), m_test(new QComboBox), m_state(new QLabel), m_lines(new QListWidget),
      m_probability(new QPushButton("&Probability Plot...")), m_transect(new QPushButton("&Transect Plot..."))
{
    setObjectName("summaryPanel");
    m_test->setObjectName("outliers");
    m_test->addItem("Generalised ESD (Rosner 1983), 5 %", "gesd");
    m_test->addItem("Chauvenet's criterion", "chauvenet");
    m_test->addItem("None", "none");
    m_test->setToolTip("The test that names outliers; the statistics are given with and without them");
    m_state->setObjectName("summaryState");
    m_state->setWordWrap(true);
    m_state->setTextFormat(Qt::PlainText);
    m_lines->setObjectName("summaryLines");
    m_lines->setFont(QFont("Monospace"));
    m_probability->setObjectName("probabilityPlot");
    m_transect->setObjectName("transectPlot");

    auto* top = new QHBoxLayout;
    top->addWidget(new QLabel("&Outliers:"));
    qobject_cast<QLabel*>(top->itemAt(0)->widget())->setBuddy(m_test);
    top->addWidget(m_test, 1);
    top->addWidget(m_probability);
    top->addWidget(m_transect);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(m_state);
    layout->addWidget(m_lines, 1);

    connect(m_test, &QComboBox::currentIndexChanged, this, [this] { Summarize(); });
    connect(m_probability, &QPushButton::clicked, this, [this] { ShowProbabilityPlot(); });
    connect(m_transect, &QPushButton::clicked, this, [this] { ShowTransectPlot(); });
    Clear();
}

void CSummaryPanel::Clear()
{
    m_csv.clear();
    m_source.clear();
    m_summarized = false;
    m_lines->clear();
    m_state->setText("A batch output of exposure ages or erosion rates is summarised here, group by group (a group "
                     "or landform column).");
    m_probability->setEnabled(false);
    m_transect->setEnabled(false);
}

bool CSummaryPanel::ShowOutput(const std::string& csv, const QString& source)
{
    m_csv = csv;
    m_source = source;
    Summarize();
    return m_summarized;
}

void CSummaryPanel::SetOutlierTest(const QString& word)
{
    const int index = m_test->findData(word);
    if (index >= 0)
        m_test->setCurrentIndex(index);
}

void CSummaryPanel::Summarize()
{
    m_lines->clear();
    m_summarized = false;
    m_probability->setEnabled(false);
    m_transect->setEnabled(false);
    if (m_csv.empty())
        return;
    std::string error;
    const SummaryOptions options{OutlierTestOf(m_test->currentData().toString().toStdString()), 0.05};
    if (!ReadSummaryText(m_csv, options, m_table, error)) {
        m_state->setText("No summary: " + QString::fromStdString(PrintableText(error)));
        return;
    }
    CResultList list;
    AppendSummary(m_table, list);
    for (const std::string& line : list.Lines())
        m_lines->addItem(QString::fromStdString(line)); // names made printable where read
    m_summarized = true;
    int groups = 0;
    bool transect = false;
    for (const GroupSummary& group : m_table.groups) {
        groups += group.samples.empty() ? 0 : 1;
        transect = transect || group.transect;
    }
    m_state->setText(QString("%1 group(s) of %2s from %3.")
                         .arg(groups)
                         .arg(QString::fromUtf8(m_table.quantity.what.data(),
                                                static_cast<qsizetype>(m_table.quantity.what.size())))
                         .arg(m_source));
    m_probability->setEnabled(true);
    m_transect->setEnabled(transect);
}

QString CSummaryPanel::State() const
{
    return m_state->text();
}

QStringList CSummaryPanel::Lines() const
{
    QStringList lines;
    for (int i = 0; i < m_lines->count(); ++i)
        lines << m_lines->item(i)->text();
    return lines;
}

CFigureDlg* CSummaryPanel::ShowProbabilityPlot()
{
    if (!m_summarized)
        return nullptr;
    const QFileInfo file(m_source);
    return ShowFigureWindow(MakeProbabilityFigure(m_table), "Probability Plot - " + file.fileName(),
                            file.absoluteDir().filePath(file.completeBaseName() + "-summary.png"),
                            {{"Batch Output", m_source.toStdString(), FileRole::Input}}, nullptr);
}

CFigureDlg* CSummaryPanel::ShowTransectPlot()
{
    if (!m_summarized)
        return nullptr;
    figure::Figure figure;
    std::string error;
    if (!MakeTransectFigure(m_table, {}, figure, error)) {
        ShowMessage("Can not draw the transect!", error);
        return nullptr;
    }
    const QFileInfo file(m_source);
    return ShowFigureWindow(std::move(figure), "Transect - " + file.fileName(),
                            file.absoluteDir().filePath(file.completeBaseName() + "-transect.png"),
                            {{"Batch Output", m_source.toStdString(), FileRole::Input}}, nullptr);
}

CSummaryDlg::CSummaryDlg(QWidget* parent) : QDialog(parent), m_input(new QLineEdit), m_panel(new CSummaryPanel)
{
    setWindowTitle("Group Summary of Ages");
    setObjectName("SummaryDlg");
    InstallHelpKey(*this, "summary");
    m_input->setObjectName("input");
    m_input->setToolTip("A batch output (CSV) of exposure ages or erosion rates");
    auto* browse = new QPushButton("&Browse...");
    auto* summarize = new QPushButton("&Summarize");
    summarize->setObjectName("summarize");
    summarize->setDefault(true);
    auto* row = new QHBoxLayout;
    row->addWidget(m_input, 1);
    row->addWidget(browse);
    row->addWidget(summarize);
    auto* form = new QFormLayout;
    form->addRow("&Batch output:", row);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(m_panel, 1);
    layout->addWidget(buttons);
    resize(760, 520);
    connect(browse, &QPushButton::clicked, this, &CSummaryDlg::Browse);
    connect(summarize, &QPushButton::clicked, this, &CSummaryDlg::Summarize);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
}

void CSummaryDlg::SetInputFile(const QString& path)
{
    m_input->setText(path);
}

void CSummaryDlg::Browse()
{
    if (const auto path = FileChooser().Choose({ChooserKind::Open, "Batch Output", kOutputFilter, false}, this)) {
        m_input->setText(*path);
        Summarize();
    }
}

bool CSummaryDlg::Summarize()
{
    const std::string path = m_input->text().trimmed().toStdString();
    if (path.empty()) {
        ShowMessage("Please select a batch output file!");
        return false;
    }
    std::string text, error;
    if (!ReadBatchFile(path, text, error)) {
        m_panel->Clear();
        ShowMessage(error);
        return false;
    }
    if (!m_panel->ShowOutput(text, QString::fromStdString(path))) {
        ShowMessage("Can not summarise the file!", m_panel->State().toStdString());
        return false;
    }
    return true;
}

} // namespace qex
