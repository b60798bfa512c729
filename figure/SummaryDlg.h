#pragma once
// The summary of a landform's ages in the desktop: a panel with the outlier
// test, the lines of every group's block (as `qexcli summary` prints them)
// and the buttons that open the probability plot and the transect in figure
// windows. The Batch dialog shows it on its "Summary" tab for the output it
// just wrote; "Group Summary of Ages..." (Calculators menu) opens it for any
// batch output file.

#include "batch/GroupSummary.h"

#include <QDialog>
#include <QStringList>
#include <QWidget>

class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;

namespace qex {

class CFigureDlg;

class CSummaryPanel : public QWidget {
    Q_OBJECT
public:
    explicit CSummaryPanel(QWidget* parent = nullptr);

    // Summarises a batch output's text; `source` names it (the file the
    // figures propose their names beside). False, with why shown in the
    // panel, when it holds no ages or erosion rates.
    bool ShowOutput(const std::string& csv, const QString& source);
    // Nothing summarised.
    void Clear();
    // The outlier test by its --outliers word; the summary is made again.
    void SetOutlierTest(const QString& word);

    QStringList Lines() const;
    // What the panel says above the lines (the groups found, or why none).
    QString State() const;
    const SummaryTable& Table() const { return m_table; }
    // "Probability Plot..." and "Transect Plot...": the window opened (it deletes itself when closed).
    CFigureDlg* ShowProbabilityPlot();
    CFigureDlg* ShowTransectPlot();

private:
    void Summarize();

    QComboBox* m_test;
    QLabel* m_state;
    QListWidget* m_lines;
    QPushButton* m_probability;
    QPushButton* m_transect;
    std::string m_csv;
    QString m_source;
    SummaryTable m_table;
    bool m_summarized = false;
};

// "Group Summary of Ages...": a batch output file chosen and summarised.
class CSummaryDlg : public QDialog {
    Q_OBJECT
public:
    explicit CSummaryDlg(QWidget* parent = nullptr);

    void SetInputFile(const QString& path);
    // "Summarize": reads the file; false after a message when it cannot.
    bool Summarize();
    CSummaryPanel* Panel() const { return m_panel; }

private:
    void Browse();

    QLineEdit* m_input;
    CSummaryPanel* m_panel;
};

} // namespace qex
