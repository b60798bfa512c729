#pragma once
// The batch dialog: a CSV file of samples through one calculator, with a
// preview of the file's first rows and how its columns are read, progress
// with Cancel, and a summary at the end.

#include "batch/BatchRun.h"

#include <QDialog>

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTableWidget;

namespace qex {

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
    QTableWidget* Preview() const { return m_preview; }

private:
    void BrowseInput();
    void BrowseOutput();
    void UpdatePreview();
    void OpenOutputFolder();

    QComboBox* m_calculator;
    QLineEdit* m_input;
    QLineEdit* m_output;
    QLineEdit* m_reports;
    QTableWidget* m_preview;
    QLabel* m_mapping;
    QLabel* m_summary;
    QPushButton* m_run;
    QPushButton* m_openFolder;
};

} // namespace qex
