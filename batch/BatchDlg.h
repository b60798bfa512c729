#pragma once
// The batch dialog: a CSV file of samples through one calculator, with a
// preview of the file's first rows and how its columns are read, the science
// settings the rows take (those of the other dialogs), progress with Cancel,
// and at the end a summary, every row's errors and warnings, and the output
// table. Relative output paths are read from the input file's folder, as the
// paths in its cells are.

#include "batch/BatchRun.h"

#include <QDialog>
#include <QList>
#include <QUrl>

class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QTabWidget;
class QTableWidget;

namespace qex {

class CSummaryPanel;

class CBatchDlg : public QDialog {
    Q_OBJECT
public:
    explicit CBatchDlg(QWidget* parent = nullptr);

    // What a test drives: the calculator by name, the paths, Run.
    void SetCalculator(const QString& name);
    void SetInputFile(const QString& path);
    void SetOutputFile(const QString& path);
    void SetReportFolder(const QString& path);
    // Runs the batch; false when it did not write its output (after a message, or cancelled).
    bool Run();
    QString Summary() const;
    // The rows' errors and warnings of the last run, one a line.
    QListWidget* Messages() const { return m_messages; }
    QTableWidget* Preview() const { return m_preview; }
    // Files dropped on the dialog: the first local one becomes the input; false when none is.
    bool DropFiles(const QList<QUrl>& urls);
    // What the preview says of the file: its format, its rows, what is not used.
    QString MappingText() const;
    // The output file of the last run, as a table.
    QTableWidget* ResultsTable() const { return m_results; }
    // The "Summary" tab: the groups of the output's ages or erosion rates.
    CSummaryPanel* SummaryPanel() const { return m_summaryPanel; }
    // The science settings the rows take, as shown.
    QString SettingsText() const;
    // The output file and the report folder, from the input file's folder when relative.
    QString OutputPath() const;
    QString ReportFolder() const;
    // "Open Output Folder"; false, after a message, when no program opened it.
    bool OpenOutputFolder();

    // Closing keeps the size, position and paths for the next opening.
    void done(int result) override;

    // The writer of the batch's files, as FileReplacement knows it.
    static constexpr const char* kWriter = "batch";

protected:
    void showEvent(QShowEvent* event) override;
    // A file dropped on the dialog becomes its input.
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    void BrowseInput();
    void BrowseOutput();
    void BrowseReports();
    // A new file or calculator: its preview, and no summary of another run.
    void InputChanged();
    void UpdatePreview();
    void ShowMappedPreview(const BatchCalculator& calculator, const std::string& text, const std::string& path);
    void ShowTargets();
    void ClearRun();
    void ShowResults(const std::string& csv);
    QString FromInputFolder(const QString& path) const;

    QComboBox* m_calculator;
    QLineEdit* m_input;
    QLineEdit* m_output;
    QLineEdit* m_reports;
    QPushButton* m_browseReports;
    QLabel* m_targets;
    QLabel* m_settings;
    QTabWidget* m_tabs;
    QTableWidget* m_preview;
    QLabel* m_mapping;
    QTableWidget* m_results;
    QLabel* m_summary;
    QListWidget* m_messages;
    QPushButton* m_run;
    QPushButton* m_openFolder;
    CSummaryPanel* m_summaryPanel;
    bool m_memoryRestored = false;
};

} // namespace qex
