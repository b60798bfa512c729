// The batch dialog: the preview flags an unknown column; Run takes every
// example file through its calculator and sums it up.

#include "batch/BatchDlg.h"
#include "figure/FigureDlg.h"
#include "figure/SummaryDlg.h"
#include "core/Message.h"
#include "proxy/ProxyDlg.h"
#include "tests/core/SimulationTestCurves.h"
#include "tests/support/TestSupport.h"
#include "ui/FileReplacement.h"
#include "ui/HalfLifeSettings.h"
#include "ui/Question.h"

#include <QApplication>
#include <QDir>
#include <QMap>
#include <QUrl>
#include <QLineEdit>
#include <QListWidget>
#include <QRegularExpression>
#include <QTabWidget>
#include <QTableWidget>
#include <QTest>

using namespace qex;

class BatchDlgTest : public QObject {
    Q_OBJECT

private slots:
    void thePreviewFlagsAnUnknownColumn()
    {
        // State: a file with a misspelt column. Action: choose it. Expected: that header flagged, Run refuses it.
        test::TempDir dir;
        test::WriteFile(dir.File("in.csv"), "sample,thickness,densty\nA,2,2.7\n");
        CBatchDlg dialog;
        dialog.SetCalculator("thickness");
        dialog.SetInputFile(QString::fromStdString(dir.File("in.csv")));
        QCOMPARE(dialog.Preview()->columnCount(), 3);
        QCOMPARE(dialog.Preview()->horizontalHeaderItem(1)->text(), QString("thickness"));
        QCOMPARE(dialog.Preview()->horizontalHeaderItem(2)->text(), QString("densty (unknown)"));
        QCOMPARE(dialog.Preview()->item(0, 2)->text(), QString("2.7"));
        CMessageRecorder said;
        dialog.SetOutputFile(QString::fromStdString(dir.File("out.csv")));
        QVERIFY(!dialog.Run());
        QVERIFY(said.Messages().size() == 1 && said.Messages()[0].find("unknown column 'densty'") != std::string::npos);
        QVERIFY(!test::FileExists(dir.File("out.csv")));
    }

    void aDroppedFileOfAnotherFormatShowsItsSamplesAsTheCalculatorTakesThem()
    {
        // State: the exposure age chosen. Action: drop a v3 block on the dialog.
        // Expected: its format named, a row per nuclide with the inputs it maps to.
        CBatchDlg dialog;
        dialog.SetCalculator("exposure");
        QVERIFY(dialog.acceptDrops());
        QVERIFY(dialog.DropFiles(
            {QUrl::fromLocalFile(QString::fromStdString(test::SourceDir() + "/examples/batch/v3-block.txt"))}));
        QVERIFY2(dialog.MappingText().startsWith("Format: v3 input block. 2 rows"), qPrintable(dialog.MappingText()));
        QTableWidget* preview = dialog.Preview();
        QCOMPARE(preview->rowCount(), 2);
        QMap<QString, int> column;
        for (int c = 0; c < preview->columnCount(); ++c)
            column[preview->horizontalHeaderItem(c)->text()] = c;
        QCOMPARE(preview->item(0, column["nuclide"])->text(), QString("be10"));
        QCOMPARE(preview->item(1, column["nuclide"])->text(), QString("al26"));
        QCOMPARE(preview->item(1, column["concentration"])->text(), QString("712408"));
        QCOMPARE(preview->item(0, column["erosion"])->text(), QString("0.00008"));
        QCOMPARE(preview->item(0, column["atmosphere"])->text(), QString("std"));
    }

    void anOutputNamingARecordTheRowsReadIsRefused()
    {
        // State: geomagnetic rows without a pole cell read pole02.dat of the working folder.
        // Action: choose that file as the output. Expected: refused, the record intact.
        test::TempDir dir;
        const QString before = QDir::currentPath();
        QDir::setCurrent(QString::fromStdString(dir.Path()));
        test::WriteFile(dir.File("pole02.dat"), test::ReadFile(test::SourceDir() + "/examples/geomag/pole02.dat"));
        test::WriteFile(dir.File("e.csv"), "sample,concentration,geomagnetic\nA,2139000,on\n");
        CBatchDlg dialog;
        dialog.SetCalculator("exposure");
        dialog.SetInputFile(QString::fromStdString(dir.File("e.csv")));
        dialog.SetOutputFile("pole02.dat");
        CMessageRecorder said;
        QVERIFY(!dialog.Run());
        QDir::setCurrent(before);
        QVERIFY(said.Messages().size() == 1 && said.Messages()[0].find("the default pole file") != std::string::npos);
        QCOMPARE(test::ReadFile(dir.File("pole02.dat")),
                 test::ReadFile(test::SourceDir() + "/examples/geomag/pole02.dat"));
    }

    void runsEveryExampleFileAndSumsItUp()
    {
        // State: each bundled example. Action: Run. Expected: every row done, the output written.
        for (const char* calculator :
             {"simulate", "cut", "scaling", "thickness", "slope-thickness", "shielding", "exposure"}) {
            test::TempDir dir;
            CBatchDlg dialog;
            dialog.SetCalculator(calculator);
            dialog.SetInputFile(
                QString::fromStdString(test::SourceDir() + "/examples/batch/" + calculator + ".csv"));
            dialog.SetOutputFile(QString::fromStdString(dir.File("out.csv")));
            dialog.SetReportFolder(QString::fromStdString(dir.File("reports")));
            QVERIFY2(dialog.Run(), calculator);
            const int rows = dialog.Preview()->rowCount();
            QVERIFY2(dialog.Summary().startsWith(QString("%1 rows: %1 done, 0 failed.").arg(rows)),
                     qPrintable(dialog.Summary()));
            QVERIFY(test::FileExists(dir.File("out.csv")));
            // With QEX_SCREENSHOT_DIR set, the dialog after its run is written there as a PNG.
            if (const QString shots = qEnvironmentVariable("QEX_SCREENSHOT_DIR"); !shots.isEmpty()) {
                dialog.show();
                dialog.grab().save(shots + "/BatchDlg-" + calculator + ".png");
            }
        }
        // One horizon point at 100 deg, 30 deg: 0.898468, the shielding dialog's worked value, in full.
        test::TempDir dir;
        CBatchDlg dialog;
        dialog.SetCalculator("shielding");
        dialog.SetInputFile(QString::fromStdString(test::SourceDir() + "/examples/batch/shielding.csv"));
        dialog.SetOutputFile(QString::fromStdString(dir.File("out.csv")));
        QVERIFY(dialog.Run());
        QVERIFY(test::ReadFile(dir.File("out.csv")).find("slab,,100:30,0,0,0.898468") != std::string::npos);
    }

    void theSummaryTabSumsUpEachLandformAndDrawsItsPlots()
    {
        // State: the bundled moraines (two groups, one with elevations). Action: Run, then each plot, then the
        // same output in "Group Summary of Ages...". Expected: a block per group, the outlier named, both
        // figure windows, and the same lines in the dialog.
        test::TempDir dir;
        CBatchDlg dialog;
        // With QEX_SCREENSHOT_DIR set, the Summary tab is written there as a PNG (shown first, as a user sees it).
        const QString shots = qEnvironmentVariable("QEX_SCREENSHOT_DIR");
        if (!shots.isEmpty())
            dialog.show();
        dialog.SetCalculator("exposure");
        dialog.SetInputFile(QString::fromStdString(test::SourceDir() + "/examples/batch/moraines.csv"));
        dialog.SetOutputFile(QString::fromStdString(dir.File("out.csv")));
        QVERIFY(dialog.Run());
        const QStringList lines = dialog.SummaryPanel()->Lines();
        QCOMPARE(lines.filter(QRegularExpression("^Group Summary \\d+$")).size(), 2);
        QCOMPARE(lines.filter("Outlier:   OM-08").size(), 1);
        CSummaryPanel* panel = dialog.SummaryPanel();
        for (CFigureDlg* window : {panel->ShowProbabilityPlot(), panel->ShowTransectPlot()}) {
            QVERIFY(window != nullptr);
            QVERIFY(!window->View()->Figure().items.empty());
            window->close();
        }
        if (!shots.isEmpty()) {
            dialog.findChild<QTabWidget*>("tabs")->setCurrentWidget(panel);
            dialog.grab().save(shots + "/BatchDlg-summary.png");
        }
        CSummaryDlg summary;
        summary.SetInputFile(QString::fromStdString(dir.File("out.csv")));
        QVERIFY(summary.Summarize());
        QCOMPARE(summary.Panel()->Lines(), lines);
        // A batch output of another calculator has nothing to sum up, and says why.
        dialog.SetCalculator("thickness");
        dialog.SetInputFile(QString::fromStdString(test::SourceDir() + "/examples/batch/thickness.csv"));
        QVERIFY(dialog.Run());
        QVERIFY(dialog.SummaryPanel()->Lines().isEmpty());
        QVERIFY(dialog.SummaryPanel()->State().contains("no column of ages"));
    }

    void theBatchTakesTheDialogsSettingsAndTellsEachRowsStory()
    {
        // State: today's half-lives chosen under Options; a file of a sample on LR04, one whose history
        // runs off a short curve and six that fail; an output named relative to the file, already there.
        // Action: Run, answered No to replacing the output, then Yes; then choose another file.
        // Expected: the settings shown; the output read from the file's folder and kept byte-identical
        // after No; then the LR04 burial of the simulation dialog with the same half-lives, the off-curve
        // row a warning, every failed row listed, the output shown as a table; a new file clears it all.
        StoreHalfLives({1387000.0, 705000.0});
        test::TempDir dir;
        test::WriteFile(dir.File("alternating.dat"), test::AlternatingCurveText());
        const std::string lr04 = test::SourceDir() + "/examples/proxy/LR04.dat";
        // B's aerial erosion (1 cm/kyr) keeps every history's 10Be below the measured value.
        std::string csv = "sample,proxy,be10,al26,aerial-erosion\nA," + lr04 + ",1165000,6216000,\n"
                          "B,alternating.dat,,,1\n";
        for (int i = 0; i < 6; ++i)
            csv += "bad" + std::to_string(i) + ",alternating.dat,-1,,\n";
        test::WriteFile(dir.File("in.csv"), csv);
        test::WriteFile(dir.File("out.csv"), "kept\n");

        CBatchDlg dialog;
        dialog.SetCalculator("simulate");
        dialog.SetInputFile(QString::fromStdString(dir.File("in.csv")));
        dialog.SetOutputFile("out.csv");
        QVERIFY(dialog.SettingsText().contains("10Be half-life: 1387000 years"));
        QCOMPARE(dialog.OutputPath(), QString::fromStdString(dir.File("out.csv")));
        CScriptedAnswers answers;
        answers.Answer(false);
        QVERIFY(!dialog.Run());
        QCOMPARE(answers.Questions(), QStringList{ReplaceQuestion(QString::fromStdString(dir.File("out.csv")))});
        QCOMPARE(test::ReadFile(dir.File("out.csv")), std::string("kept\n"));
        answers.Answer(true);
        CMessageRecorder said;
        QVERIFY(dialog.Run());
        QVERIFY(said.Messages().empty());
        QVERIFY2(dialog.Summary().startsWith("8 rows: 2 done, 6 failed. 1 done with warnings."),
                 qPrintable(dialog.Summary()));
        QCOMPARE(dialog.Messages()->count(), 7);
        QVERIFY(dialog.Messages()->item(0)->text().startsWith("Line 3 (B): warning: No history on this curve matches"));

        // The same sample in the simulation dialog, with the same settings.
        CProxyDlg simulation;
        simulation.Control<QLineEdit>(1023)->setText(QString::fromStdString(lr04));
        simulation.Control<QLineEdit>(1027)->setText(QString::fromStdString(dir.File("report.txt")));
        simulation.Calculate();
        const std::string burial = simulation.Results().Lines().at(4);
        QCOMPARE(QString::fromStdString(burial).section(':', 0, 0).trimmed(), QString("Bural Age(kyr)"));
        QTableWidget* results = dialog.ResultsTable();
        QCOMPARE(results->rowCount(), 8);
        int column = 0;
        while (column < results->columnCount() && results->horizontalHeaderItem(column)->text() != "burial_kyr")
            ++column;
        QVERIFY(column < results->columnCount());
        // The table holds the number in full; the list shows it to three decimals.
        QCOMPARE(QString::number(results->item(0, column)->text().toDouble(), 'f', 3),
                 QString::fromStdString(burial).section(':', 1).trimmed());

        dialog.SetInputFile(QString::fromStdString(dir.File("out.csv")));
        QVERIFY(dialog.Summary().isEmpty());
        QCOMPARE(dialog.Messages()->count(), 0);
        QCOMPARE(dialog.ResultsTable()->rowCount(), 0);
        StoreHalfLives({});
    }
};

QTEST_MAIN(BatchDlgTest)
#include "tst_BatchDlg.moc"
