// The batch dialog: the preview flags an unknown column; Run takes every
// example file through its calculator and sums it up.

#include "batch/BatchDlg.h"
#include "core/Message.h"
#include "tests/support/TestSupport.h"

#include <QDir>
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
};

QTEST_MAIN(BatchDlgTest)
#include "tst_BatchDlg.moc"
