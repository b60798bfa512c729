#include "batch/BatchDlg.h"

#include "batch/BatchDefaults.h"
#include "core/CommandGuard.h"
#include "core/CsvTable.h"
#include "core/FileIdentity.h"
#include "core/Format.h"
#include "core/Message.h"
#include "figure/SummaryDlg.h"
#include "ui/DialogMemory.h"
#include "ui/FileChooser.h"
#include "ui/FileReplacement.h"
#include "ui/HelpTopic.h"
#include "ui/ScienceSettings.h"

#include <QApplication>
#include <QComboBox>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QMimeData>
#include <QDesktopServices>
#include <QDialogButtonBox>
#include <QDir>
#include <QFileInfo>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QProgressDialog>
#include <QPushButton>
#include <QTabWidget>
#include <QTableWidget>
#include <QUrl>
#include <QVBoxLayout>

#include <algorithm>
#include <fstream>
#include <sstream>

namespace qex {

namespace {

constexpr int kPreviewRows = 5;
constexpr int kProgressShowAfterMs = 500;
const char* const kCsvFilter = "CSV Files (*.csv)|*.csv|All Files (*.*)|*.*||";
// An input may be any file of samples a batch reads (a v3 block, expage, iceTEA, CREp).
const char* const kInputFilter =
    "Files of samples (*.csv *.txt *.tsv)|*.csv;*.txt;*.tsv|All Files (*.*)|*.*||";
// The fields as the messages name them.
const char* const kInputField = "Input CSV";
const char* const kOutputField = "Output CSV";

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

// A CSV text into a table: the first record its header, the others its rows.
void FillTable(QTableWidget& table, const CsvTable& csv, int rows)
{
    table.clear();
    table.setRowCount(0);
    table.setColumnCount(0);
    if (csv.records.empty())
        return;
    const std::vector<std::string>& header = csv.records.front().fields;
    rows = std::min(rows, static_cast<int>(csv.records.size()) - 1);
    table.setColumnCount(static_cast<int>(header.size()));
    table.setRowCount(rows);
    for (int c = 0; c < static_cast<int>(header.size()); ++c) {
        table.setHorizontalHeaderItem(c, new QTableWidgetItem(QString::fromStdString(header[static_cast<std::size_t>(c)])));
        for (int r = 0; r < rows; ++r) {
            const auto& fields = csv.records[static_cast<std::size_t>(r + 1)].fields;
            if (c < static_cast<int>(fields.size()))
                table.setItem(r, c, new QTableWidgetItem(QString::fromStdString(fields[static_cast<std::size_t>(c)])));
        }
    }
    table.horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
}

} // namespace

CBatchDlg::CBatchDlg(QWidget* parent)
    : QDialog(parent), m_calculator(new QComboBox), m_input(new QLineEdit), m_output(new QLineEdit),
      m_reports(new QLineEdit), m_browseReports(new QPushButton("Brow&se...")), m_targets(new QLabel),
      m_settings(new QLabel), m_tabs(new QTabWidget), m_preview(new QTableWidget), m_mapping(new QLabel),
      m_results(new QTableWidget), m_summary(new QLabel), m_messages(new QListWidget),
      m_run(new QPushButton("&Run")), m_openFolder(new QPushButton("&Open Output Folder"))
{
    setWindowTitle("Batch");
    setObjectName("BatchDlg");
    for (const BatchCalculator& calculator : BatchCalculators())
        m_calculator->addItem(QString::fromStdString(calculator.name));
    m_calculator->setObjectName("calculator");
    m_input->setObjectName("input");
    m_output->setObjectName("output");
    m_output->setToolTip("CSV file to write; a relative path is read from the input file's folder");
    m_reports->setObjectName("reportFolder");
    m_reports->setPlaceholderText("none: no reports");
    m_reports->setToolTip("Folder for each simulation row's report, <sample>-report.txt; made when missing; a "
                          "relative path is read from the input file's folder");
    m_targets->setObjectName("targets");
    m_targets->setWordWrap(true);
    m_targets->setTextInteractionFlags(Qt::TextSelectableByMouse);
    m_settings->setObjectName("settings");
    m_settings->setWordWrap(true);
    m_preview->setObjectName("preview");
    m_preview->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_results->setObjectName("results");
    m_results->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_mapping->setWordWrap(true);
    m_summary->setObjectName("summary");
    m_summary->setWordWrap(true);
    m_summary->setTextFormat(Qt::PlainText); // sample names are the file's text, never markup
    m_summary->setTextInteractionFlags(Qt::TextSelectableByMouse);
    m_messages->setObjectName("messages");
    m_messages->setMaximumHeight(110);
    m_messages->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    m_messages->hide();
    m_openFolder->setEnabled(false);

    auto* browseInput = new QPushButton("&Browse...");
    auto* browseOutput = new QPushButton("Bro&wse...");
    auto* form = new QFormLayout;
    form->addRow("C&alculator:", m_calculator);
    form->addRow("&Input CSV:", WithBrowse(m_input, browseInput));
    form->addRow("O&utput CSV:", WithBrowse(m_output, browseOutput));
    form->addRow("Re&port folder:", WithBrowse(m_reports, m_browseReports));
    form->addRow("Writes:", m_targets);
    form->addRow("Settings:", m_settings);

    auto* input = new QWidget;
    auto* inputLayout = new QVBoxLayout(input);
    inputLayout->addWidget(new QLabel("First rows of the input file and the column each is read as:"));
    inputLayout->addWidget(m_preview, 1);
    inputLayout->addWidget(m_mapping);
    m_tabs->setObjectName("tabs");
    m_tabs->addTab(input, "Input File");
    m_tabs->addTab(m_results, "Results");
    m_summaryPanel = new CSummaryPanel;
    m_tabs->addTab(m_summaryPanel, "Summary");

    auto* buttons = new QDialogButtonBox;
    buttons->addButton(m_run, QDialogButtonBox::ActionRole);
    buttons->addButton(m_openFolder, QDialogButtonBox::ActionRole);
    buttons->addButton(QDialogButtonBox::Close);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(m_tabs, 1);
    layout->addWidget(m_summary);
    layout->addWidget(m_messages);
    layout->addWidget(buttons);
    resize(760, 560);
    setAcceptDrops(true); // a file of samples dropped on the dialog is its input

    connect(browseInput, &QPushButton::clicked, this, &CBatchDlg::BrowseInput);
    connect(browseOutput, &QPushButton::clicked, this, &CBatchDlg::BrowseOutput);
    connect(m_browseReports, &QPushButton::clicked, this, &CBatchDlg::BrowseReports);
    connect(m_input, &QLineEdit::editingFinished, this, &CBatchDlg::InputChanged);
    connect(m_calculator, &QComboBox::currentTextChanged, this, &CBatchDlg::InputChanged);
    connect(m_output, &QLineEdit::textChanged, this, &CBatchDlg::ShowTargets);
    connect(m_reports, &QLineEdit::textChanged, this, &CBatchDlg::ShowTargets);
    connect(m_run, &QPushButton::clicked, this, &CBatchDlg::Run);
    connect(m_openFolder, &QPushButton::clicked, this, &CBatchDlg::OpenOutputFolder);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    InstallHelpKey(*this, "batch");
    UpdatePreview();
}

void CBatchDlg::showEvent(QShowEvent* event)
{
    if (!m_memoryRestored) {
        m_memoryRestored = true;
        RestoreDialogMemory(*this, {m_input, m_output, m_reports});
        InputChanged();
    }
    QDialog::showEvent(event);
}

void CBatchDlg::done(int result)
{
    if (isVisible())
        KeepDialogMemory(*this, {m_input, m_output, m_reports});
    QDialog::done(result);
}

void CBatchDlg::SetCalculator(const QString& name)
{
    m_calculator->setCurrentText(name);
}

void CBatchDlg::SetInputFile(const QString& path)
{
    m_input->setText(path);
    InputChanged();
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

QString CBatchDlg::SettingsText() const
{
    return m_settings->text();
}

QString CBatchDlg::FromInputFolder(const QString& path) const
{
    if (path.trimmed().isEmpty())
        return QString();
    const QString folder = QFileInfo(m_input->text().trimmed()).absolutePath();
    return QDir::cleanPath(QDir(folder).absoluteFilePath(path.trimmed()));
}

QString CBatchDlg::OutputPath() const
{
    return FromInputFolder(m_output->text());
}

QString CBatchDlg::ReportFolder() const
{
    return m_reports->isEnabled() ? FromInputFolder(m_reports->text()) : QString();
}

void CBatchDlg::BrowseInput()
{
    if (const auto path = FileChooser().Choose({ChooserKind::Open, "Batch input", kInputFilter, false}, this))
        SetInputFile(*path);
}

void CBatchDlg::BrowseOutput()
{
    // The platform chooser asks before replacing a file.
    if (const auto path = FileChooser().Choose({ChooserKind::Save, "Batch output", kCsvFilter, true}, this)) {
        m_output->setText(*path);
        NoteFileWritten(kWriter, *path);
    }
}

void CBatchDlg::BrowseReports()
{
    if (const auto path = FileChooser().Choose({ChooserKind::Folder, "Report folder", QString(), false}, this))
        m_reports->setText(*path);
}

void CBatchDlg::ClearRun()
{
    m_summary->clear();
    m_messages->clear();
    m_messages->hide();
    m_results->clear();
    m_results->setRowCount(0);
    m_results->setColumnCount(0);
    m_openFolder->setEnabled(false);
    m_summaryPanel->Clear();
    m_tabs->setCurrentIndex(0);
}

void CBatchDlg::InputChanged()
{
    ClearRun();
    UpdatePreview();
}

void CBatchDlg::ShowTargets()
{
    const QString output = OutputPath();
    const QString reports = ReportFolder();
    QString text = output.isEmpty() ? QString("no output file chosen") : output;
    if (!reports.isEmpty())
        text += QString("\nreports in %1").arg(reports);
    m_targets->setText(text);
}

// The file's first rows as it has them; each column's header says what the
// calculator reads it as, an unknown one is flagged.
void CBatchDlg::UpdatePreview()
{
    m_preview->clear();
    m_preview->setRowCount(0);
    m_preview->setColumnCount(0);
    m_mapping->clear();
    const std::string path = m_input->text().trimmed().toStdString();
    const BatchCalculator* calculator = FindBatchCalculator(m_calculator->currentText().toStdString());
    const bool reports = calculator != nullptr && calculator->makesReports;
    m_reports->setEnabled(reports);
    m_browseReports->setEnabled(reports);
    ShowTargets();
    if (calculator != nullptr) {
        const std::vector<std::string> settings = DescribeBatchSettings(*calculator, StoredScienceSettings());
        QStringList lines;
        for (const std::string& line : settings)
            lines << QString::fromStdString(line);
        m_settings->setText(lines.isEmpty() ? QString("the defaults (Options)")
                                            : lines.join("; ") + " (Options; a row's own cell wins)");
    }
    if (path.empty() || calculator == nullptr)
        return;
    std::ifstream file(path, std::ios::binary);
    std::ostringstream text;
    text << file.rdbuf();
    CsvTable table;
    std::string error;
    // A file of another calculator's format: its samples as the calculator's rows.
    if (file && DetectSampleFormat(text.str()) != SampleFormat::Csv) {
        ShowMappedPreview(*calculator, text.str(), path);
        return;
    }
    if (!file || !ReadCsv(text.str(), table, error) || table.records.empty()) {
        m_mapping->setText(QString::fromStdString(file ? "Not a CSV file: " + error : "The file cannot be read."));
        return;
    }
    FillTable(*m_preview, table, kPreviewRows);
    QStringList unknown;
    for (int c = 0; c < m_preview->columnCount(); ++c) {
        QTableWidgetItem* item = m_preview->horizontalHeaderItem(c);
        QString name = item->text().trimmed().toLower();
        QString meaning;
        const std::string read = SampleColumn(*calculator, name.toStdString(), SampleFormat::Csv);
        if (name == "sample")
            meaning = "the sample's name";
        else if (IsCarriedColumn(name.toStdString()))
            meaning = "carried to the output for the Summary tab (groups, transect positions)";
        else if (!read.empty())
            meaning = "read as " + QString::fromStdString(read);
        for (const BatchColumn& column : calculator->inputColumns)
            if (column.name == read)
                meaning = QString::fromStdString(InputHelpLine(column.description));
        if (!read.empty() && read != name.toStdString())
            name = name + " → " + QString::fromStdString(read);
        item->setText(meaning.isEmpty() && !name.isEmpty() ? name + " (unknown)" : name);
        item->setToolTip(meaning.isEmpty() ? "Not a column of " + m_calculator->currentText() : meaning);
        if (meaning.isEmpty() && !name.isEmpty()) {
            item->setForeground(Qt::red);
            unknown << name;
        }
    }
    const int dataRows = static_cast<int>(table.records.size()) - 1;
    QString mapping = QString("Format: CSV table. %1 rows; fields separated by %2. Columns left out take their "
                              "defaults.")
                          .arg(dataRows)
                          .arg(table.separator == '\t'  ? QString("tabs")
                               : table.separator == ' ' ? QString("blanks")
                                                        : QString("'%1'").arg(QChar(table.separator)));
    if (!unknown.isEmpty())
        mapping += " Unknown columns (the batch will not run): " + unknown.join(", ") + ".";
    m_mapping->setText(mapping);
}

// The samples of a v3 block, an expage, iceTEA or CREp file as the rows the
// calculator will take: each row's mapped inputs, and why a row cannot run.
void CBatchDlg::ShowMappedPreview(const BatchCalculator& calculator, const std::string& text, const std::string& path)
{
    BatchJob job;
    std::string error;
    const SampleFormat format = DetectSampleFormat(text);
    const QString title = QString::fromStdString(std::string(SampleFormatTitle(format)));
    if (!OpenBatchText(calculator, text, FolderOf(path), format, job, error)) {
        m_mapping->setText("Format: " + title + ". " + QString::fromStdString(error));
        return;
    }
    CsvTable table;
    std::vector<std::string> header = {"line", "sample"};
    for (const BatchColumn& column : calculator.inputColumns)
        if (std::any_of(job.rows.begin(), job.rows.end(),
                        [&column](const BatchInputRow& row) { return row.cells.Find(column.name) != nullptr; }))
            header.push_back(column.name);
    header.push_back("error");
    table.records.push_back({1, header});
    int failing = 0;
    for (const BatchInputRow& row : job.rows) {
        std::vector<std::string> fields = {std::to_string(row.line), row.sample};
        for (std::size_t c = 2; c + 1 < header.size(); ++c) {
            const std::string* cell = row.cells.Find(header[c]);
            fields.push_back(cell != nullptr ? *cell : std::string());
        }
        fields.push_back(row.error);
        failing += row.error.empty() ? 0 : 1;
        table.records.push_back({row.line, fields});
    }
    FillTable(*m_preview, table, static_cast<int>(job.rows.size()));
    QString mapping = QString("Format: %1. %2 rows (a row per nuclide), shown with the inputs they give %3.")
                          .arg(title)
                          .arg(job.rows.size())
                          .arg(QString::fromStdString(calculator.name));
    if (failing > 0)
        mapping += QString(" %1 cannot run (see error).").arg(failing);
    for (const std::string& note : job.notes)
        mapping += " " + QString::fromStdString(note) + ".";
    m_mapping->setText(mapping);
}

QString CBatchDlg::MappingText() const
{
    return m_mapping->text();
}

void CBatchDlg::dragEnterEvent(QDragEnterEvent* event)
{
    if (event->mimeData()->hasUrls() && !event->mimeData()->urls().isEmpty() &&
        event->mimeData()->urls().front().isLocalFile())
        event->acceptProposedAction();
}

bool CBatchDlg::DropFiles(const QList<QUrl>& urls)
{
    if (urls.isEmpty() || !urls.front().isLocalFile())
        return false;
    SetInputFile(urls.front().toLocalFile());
    return true;
}

// A file dropped on the dialog is its input.
void CBatchDlg::dropEvent(QDropEvent* event)
{
    if (DropFiles(event->mimeData()->urls()))
        event->acceptProposedAction();
}

void CBatchDlg::ShowResults(const std::string& csv)
{
    CsvTable table;
    std::string error;
    if (!ReadCsv(csv, table, error))
        return;
    FillTable(*m_results, table, static_cast<int>(table.records.size()));
    m_tabs->setCurrentWidget(m_results);
}

bool CBatchDlg::Run()
{
    ClearRun();
    const std::string input = m_input->text().trimmed().toStdString();
    const std::string output = OutputPath().toStdString();
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
    // The rows take the settings the other dialogs calculate with.
    FillMissingCells(job, StoredScienceSettings());
    const std::string reports = ReportFolder().toStdString();
    if (!CheckBatchFiles(job, output, reports, {kInputField, kOutputField}))
        return false;
    QStringList targets{QString::fromStdString(output)};
    for (const std::string& report : BatchReportPaths(job, reports))
        if (!report.empty())
            targets << QString::fromStdString(report);
    if (!MayReplaceFiles(kWriter, targets, this))
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
    for (const QString& target : targets)
        NoteFileWritten(kWriter, target);

    // Every row that said something: a failure, or a result with a warning.
    int warned = 0;
    for (const BatchRowOutcome& row : outcome.rows) {
        if (row.result.messages.empty())
            continue;
        warned += row.result.failed ? 0 : 1;
        auto* item = new QListWidgetItem(
            QString("Line %1%2: %3%4")
                .arg(row.line)
                .arg(row.sample.empty() ? QString() : " (" + QString::fromStdString(PrintableText(row.sample)) + ")")
                .arg(row.result.failed ? QString() : QString("warning: "))
                .arg(QString::fromStdString(PrintableText(row.Said()))));
        item->setForeground(row.result.failed ? QColor(Qt::red) : QColor(160, 90, 0));
        m_messages->addItem(item);
    }
    m_messages->setVisible(m_messages->count() > 0);
    const int total = static_cast<int>(outcome.rows.size());
    m_summary->setText(QString("%1 rows: %2 done, %3 failed. %4 done with warnings. Results in %5.")
                           .arg(total)
                           .arg(total - outcome.failed)
                           .arg(outcome.failed)
                           .arg(warned)
                           .arg(QString::fromStdString(output)));
    const std::string csv = FormatBatchCsv(job, outcome);
    ShowResults(csv);
    // Ages and erosion rates are read together on the Summary tab.
    m_summaryPanel->ShowOutput(csv, QString::fromStdString(output));
    m_openFolder->setEnabled(true);
    return true;
}

bool CBatchDlg::OpenOutputFolder()
{
    const QString folder = QFileInfo(OutputPath()).absolutePath();
    if (QDesktopServices::openUrl(QUrl::fromLocalFile(folder)))
        return true;
    ShowMessage("Can not open the output folder: no file manager answered.", folder.toStdString());
    return false;
}

} // namespace qex
