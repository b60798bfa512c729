#include "batch/BatchDlg.h"

#include "core/CommandGuard.h"
#include "core/CsvTable.h"
#include "core/Format.h"
#include "core/Message.h"
#include "ui/FileChooser.h"

#include <QApplication>
#include <QComboBox>
#include <QDesktopServices>
#include <QDialogButtonBox>
#include <QFileInfo>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QProgressDialog>
#include <QPushButton>
#include <QTableWidget>
#include <QUrl>
#include <QVBoxLayout>

#include <fstream>
#include <sstream>

namespace qex {

namespace {

constexpr int kPreviewRows = 5;
constexpr int kSummaryMessages = 5;
constexpr int kProgressShowAfterMs = 500;
const char* const kCsvFilter = "CSV Files (*.csv)|*.csv|All Files (*.*)|*.*||";

// A line edit with a Browse button beside it.
QWidget* WithBrowse(QLineEdit* edit, QPushButton* browse)
{
    auto* row = new QWidget;
    auto* layout = new QHBoxLayout(row);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(edit, 1);
    layout->addWidget(browse);
    return row;
}

} // namespace

CBatchDlg::CBatchDlg(QWidget* parent)
    : QDialog(parent), m_calculator(new QComboBox), m_input(new QLineEdit), m_output(new QLineEdit),
      m_reports(new QLineEdit), m_preview(new QTableWidget), m_mapping(new QLabel), m_summary(new QLabel),
      m_run(new QPushButton("&Run")), m_openFolder(new QPushButton("&Open Output Folder"))
{
    setWindowTitle("Batch");
    setObjectName("BatchDlg");
    for (const BatchCalculator& calculator : BatchCalculators())
        m_calculator->addItem(QString::fromStdString(calculator.name));
    m_calculator->setObjectName("calculator");
    m_input->setObjectName("input");
    m_output->setObjectName("output");
    m_reports->setObjectName("reportFolder");
    m_reports->setPlaceholderText("none: no reports");
    m_reports->setToolTip("Folder for each simulation row's report, <sample>-report.txt; made when missing");
    m_preview->setObjectName("preview");
    m_preview->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_preview->setMinimumHeight(150);
    m_mapping->setWordWrap(true);
    m_summary->setObjectName("summary");
    m_summary->setWordWrap(true);
    m_summary->setTextFormat(Qt::PlainText); // sample names are the file's text, never markup
    m_summary->setTextInteractionFlags(Qt::TextSelectableByMouse);
    m_openFolder->setEnabled(false);

    auto* browseInput = new QPushButton("&Browse...");
    auto* browseOutput = new QPushButton("B&rowse...");
    auto* form = new QFormLayout;
    form->addRow("&Calculator:", m_calculator);
    form->addRow("&Input CSV:", WithBrowse(m_input, browseInput));
    form->addRow("&Output CSV:", WithBrowse(m_output, browseOutput));
    form->addRow("Re&port folder:", m_reports);

    auto* buttons = new QDialogButtonBox;
    buttons->addButton(m_run, QDialogButtonBox::ActionRole);
    buttons->addButton(m_openFolder, QDialogButtonBox::ActionRole);
    buttons->addButton(QDialogButtonBox::Close);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(new QLabel("First rows of the input file and the column each is read as:"));
    layout->addWidget(m_preview, 1);
    layout->addWidget(m_mapping);
    layout->addWidget(m_summary);
    layout->addWidget(buttons);
    resize(720, 480);

    connect(browseInput, &QPushButton::clicked, this, &CBatchDlg::BrowseInput);
    connect(browseOutput, &QPushButton::clicked, this, &CBatchDlg::BrowseOutput);
    connect(m_input, &QLineEdit::editingFinished, this, &CBatchDlg::UpdatePreview);
    connect(m_calculator, &QComboBox::currentTextChanged, this, &CBatchDlg::UpdatePreview);
    connect(m_run, &QPushButton::clicked, this, &CBatchDlg::Run);
    connect(m_openFolder, &QPushButton::clicked, this, &CBatchDlg::OpenOutputFolder);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    UpdatePreview();
}

void CBatchDlg::SetCalculator(const QString& name)
{
    m_calculator->setCurrentText(name);
}

void CBatchDlg::SetInputFile(const QString& path)
{
    m_input->setText(path);
    UpdatePreview();
}

void CBatchDlg::SetOutputFile(const QString& path)
{
    m_output->setText(path);
}

void CBatchDlg::SetReportFolder(const QString& path)
{
    m_reports->setText(path);
}

QString CBatchDlg::Summary() const
{
    return m_summary->text();
}

void CBatchDlg::BrowseInput()
{
    if (const auto path = FileChooser().Choose({ChooserKind::Open, "Batch input", kCsvFilter, false}, this))
        SetInputFile(*path);
}

void CBatchDlg::BrowseOutput()
{
    if (const auto path = FileChooser().Choose({ChooserKind::Save, "Batch output", kCsvFilter, true}, this))
        m_output->setText(*path);
}

// The file's first rows as it has them; each column's header says what the
// calculator reads it as, an unknown one is flagged.
void CBatchDlg::UpdatePreview()
{
    m_preview->clear();
    m_preview->setRowCount(0);
    m_preview->setColumnCount(0);
    m_mapping->clear();
    const std::string path = m_input->text().toStdString();
    const BatchCalculator* calculator = FindBatchCalculator(m_calculator->currentText().toStdString());
    m_reports->setEnabled(calculator != nullptr && calculator->makesReports);
    if (path.empty() || calculator == nullptr)
        return;
    std::ifstream file(path, std::ios::binary);
    std::ostringstream text;
    text << file.rdbuf();
    CsvTable table;
    std::string error;
    if (!file || !ReadCsv(text.str(), table, error) || table.records.empty()) {
        m_mapping->setText(QString::fromStdString(file ? "Not a CSV file: " + error : "The file cannot be read."));
        return;
    }
    const std::vector<std::string>& header = table.records.front().fields;
    const int rows = std::min<int>(kPreviewRows, static_cast<int>(table.records.size()) - 1);
    m_preview->setColumnCount(static_cast<int>(header.size()));
    m_preview->setRowCount(rows);
    QStringList unknown;
    for (int c = 0; c < static_cast<int>(header.size()); ++c) {
        const QString name = QString::fromStdString(header[static_cast<std::size_t>(c)]).trimmed().toLower();
        QString meaning;
        if (name == "sample")
            meaning = "the sample's name";
        for (const BatchColumn& column : calculator->inputColumns)
            if (QString::fromStdString(column.name) == name)
                meaning = QString::fromStdString(InputHelpLine(column.description));
        auto* item = new QTableWidgetItem(meaning.isEmpty() && !name.isEmpty() ? name + " (unknown)" : name);
        item->setToolTip(meaning.isEmpty() ? "Not a column of " + m_calculator->currentText() : meaning);
        if (meaning.isEmpty() && !name.isEmpty()) {
            item->setForeground(Qt::red);
            unknown << name;
        }
        m_preview->setHorizontalHeaderItem(c, item);
        for (int r = 0; r < rows; ++r) {
            const auto& fields = table.records[static_cast<std::size_t>(r + 1)].fields;
            if (c < static_cast<int>(fields.size()))
                m_preview->setItem(r, c, new QTableWidgetItem(QString::fromStdString(fields[static_cast<std::size_t>(c)])));
        }
    }
    m_preview->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    const int dataRows = static_cast<int>(table.records.size()) - 1;
    QString mapping = QString("%1 rows; fields separated by '%2'. Columns left out take their defaults.")
                          .arg(dataRows)
                          .arg(QChar(table.separator));
    if (!unknown.isEmpty())
        mapping += " Unknown columns (the batch will not run): " + unknown.join(", ") + ".";
    m_mapping->setText(mapping);
}

bool CBatchDlg::Run()
{
    m_summary->clear();
    m_openFolder->setEnabled(false);
    const std::string input = m_input->text().toStdString();
    const std::string output = m_output->text().toStdString();
    if (input.empty() || output.empty()) {
        ShowMessage("Please choose the input and the output file!");
        return false;
    }
    BatchJob job;
    std::string error;
    if (!OpenBatch(m_calculator->currentText().toStdString(), input, job, error)) {
        ShowMessage(error);
        return false;
    }
    const std::string reports = m_reports->isEnabled() ? m_reports->text().trimmed().toStdString() : std::string();
    if (!CheckBatchFiles(job, output, reports))
        return false;

    // The messages of the files are shown once every file is closed again,
    // and memory running out is a message too.
    BatchOutcome outcome;
    bool written = false;
    std::vector<std::string> said, details;
    RunGuarded([&] {
        CThreadMessageCapture capture;
        {
            const auto waitForOthers = [](bool) {
                QApplication::processEvents();
                return true;
            };
            CBatchOutputs outputs(job, output, reports);
            if (outputs.Open(waitForOthers)) {
                QProgressDialog progress(this);
                progress.setWindowTitle("Batch");
                progress.setCancelButtonText("Cancel");
                progress.setRange(0, static_cast<int>(job.rows.size()));
                progress.setWindowModality(Qt::ApplicationModal);
                progress.setMinimumDuration(kProgressShowAfterMs);
                progress.setValue(0);
                QApplication::setOverrideCursor(Qt::WaitCursor);
                outcome = RunBatch(
                    job, 0, outputs.WantsReports(),
                    [&](int done, int total) {
                        progress.setLabelText(QString("Row %1 of %2 done...").arg(done).arg(total));
                        progress.setValue(done);
                        QApplication::processEvents();
                        return !progress.wasCanceled();
                    },
                    [&outputs](std::size_t index, BatchRowOutcome& row) { outputs.TakeRow(index, row); });
                QApplication::restoreOverrideCursor();
                progress.reset();
                written = !outcome.stopped && outputs.Commit(outcome, waitForOthers);
            }
        }
        said = capture.Messages();
        details = capture.Details();
    });
    for (std::size_t i = 0; i < said.size(); ++i)
        ShowMessage(said[i], details[i]);
    if (outcome.stopped) {
        m_summary->setText("Cancelled: nothing was written.");
        return false;
    }
    if (!written)
        return false;

    const int total = static_cast<int>(outcome.rows.size());
    QString summary = QString("%1 rows: %2 done, %3 failed. Results in %4.")
                          .arg(total)
                          .arg(total - outcome.failed)
                          .arg(outcome.failed)
                          .arg(QString::fromStdString(output));
    int shown = 0;
    for (const BatchRowOutcome& row : outcome.rows) {
        if (!row.result.failed || shown == kSummaryMessages)
            continue;
        ++shown;
        summary += QString("\nLine %1%2: %3")
                       .arg(row.line)
                       .arg(row.sample.empty() ? QString() : " (" + QString::fromStdString(PrintableText(row.sample)) + ")")
                       .arg(QString::fromStdString(PrintableText(row.Said())));
    }
    m_summary->setText(summary);
    m_openFolder->setEnabled(true);
    return true;
}

void CBatchDlg::OpenOutputFolder()
{
    QDesktopServices::openUrl(QUrl::fromLocalFile(QFileInfo(m_output->text()).absolutePath()));
}

} // namespace qex
