// The surface exposure age dialog, driven by its control ids.

#include "core/Message.h"
#include "geomag/ExpDlg.h"
#include "tests/support/TestSupport.h"

#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTest>

using namespace qex;

namespace {

// The age of the last line of the list, which must be an age line.
double LastAge(const CExpDlg& dialog)
{
    const std::string& line = dialog.Results().Lines().back();
    const std::string label = "Exposure Age:   ";
    if (line.compare(0, label.size(), label) != 0)
        return -1;
    return std::stod(line.substr(label.size()));
}

} // namespace

class ExpDlgTest : public QObject {
    Q_OBJECT

private slots:
    void init()
    {
        m_dir = std::make_unique<test::TempDir>();
        m_previous = QDir::currentPath();
        QDir::setCurrent(QString::fromStdString(m_dir->Path()));
    }

    void cleanup()
    {
        QDir::setCurrent(m_previous);
        m_dir.reset();
    }

    void opensWithTheDefaults()
    {
        // State: a fresh dialog. Action: none. Expected: the defaults, the box off, focus in Latitude.
        CExpDlg dialog;
        dialog.show();
        QVERIFY(QTest::qWaitForWindowActive(&dialog));
        QCOMPARE(dialog.windowTitle(), QString("Surface Exposure Age Calculation"));
        QCOMPARE(dialog.Control<QLineEdit>(1021)->text(), QString("34.33375"));
        QCOMPARE(dialog.Control<QLineEdit>(1022)->text(), QString("77.35"));
        QCOMPARE(dialog.Control<QLineEdit>(1016)->text(), QString("2139000"));
        QCOMPARE(dialog.Control<QLineEdit>(1017)->text(), QString("6000"));
        QCOMPARE(dialog.Control<QLineEdit>(1019)->text(), QString("5.1"));
        QCOMPARE(dialog.Control<QLineEdit>(1020)->text(), QString("0.3"));
        QCOMPARE(dialog.Control<QLineEdit>(1025)->text(), QString("2.75"));
        QCOMPARE(dialog.Control<QLineEdit>(1026)->text(), QString("150"));
        QCOMPARE(dialog.Control<QLineEdit>(1027)->text(), QString("1"));
        QVERIFY(!dialog.Control<QCheckBox>(1018)->isChecked());
        QCOMPARE(QApplication::focusWidget(), dialog.Control<QWidget>(1021));
        QCOMPARE(dialog.Control<QPushButton>(1030)->text(), QString("C&alculate"));
    }

    void constantProductionAgeIgnoresTheLongitude()
    {
        // State: defaults, box off. Action: Calculate, change Longitude, Calculate.
        // Expected: two blocks with the same age, about 540929.3 years.
        CExpDlg dialog;
        dialog.Control<QPushButton>(1030)->click();
        QCOMPARE(dialog.Results().Lines().front(), std::string("Calculation Result 1"));
        const double age = LastAge(dialog);
        QVERIFY(std::abs(age - 540929.3) < 0.05);
        dialog.Control<QLineEdit>(1022)->setText("-120");
        dialog.Control<QPushButton>(1030)->click();
        QCOMPARE(dialog.Results().m_nResultCount, 2);
        QCOMPARE(LastAge(dialog), age);
        QCOMPARE(dialog.Control<QListWidget>(1011)->currentRow(), 2);
    }

    void geomagneticAgeUsesTheWorkingFolderFilesAndIgnoresFreePathAndShield()
    {
        // State: the bundled records as pole02.dat and pmagstack1.dat in the working folder, box on.
        // Action: Calculate, change FreePath and Shield, Calculate. Expected: equal ages; omr.txt written.
        QVERIFY(QFile::copy(QString::fromStdString(test::SourceDir() + "/examples/geomag/pole02.dat"), "pole02.dat"));
        QVERIFY(QFile::copy(QString::fromStdString(test::SourceDir() + "/examples/geomag/pmagstack1.dat"),
                            "pmagstack1.dat"));
        CExpDlg dialog;
        dialog.Control<QCheckBox>(1018)->setChecked(true);
        CMessageRecorder messages;
        dialog.Control<QPushButton>(1030)->click();
        QVERIFY2(messages.Messages().empty(), messages.Messages().empty() ? "" : messages.Messages()[0].c_str());
        const double age = LastAge(dialog);
        QVERIFY(age > 0);
        QVERIFY(std::abs(age - 540929.3) > 1000); // the correction moves the age
        dialog.Control<QLineEdit>(1026)->setText("199");
        dialog.Control<QLineEdit>(1027)->setText("0.5");
        dialog.Control<QPushButton>(1030)->click();
        QCOMPARE(LastAge(dialog), age);
        const std::string table = test::ReadFile("omr.txt");
        QVERIFY(table.rfind("Year\tIntensity\t0\t5\t", 0) == 0);
    }

    void aFailedCalculationAppendsNothing()
    {
        // State: box on, no data files. Action: Calculate. Expected: the loaders' messages, no line.
        CExpDlg dialog;
        dialog.Control<QCheckBox>(1018)->setChecked(true);
        CMessageRecorder messages;
        dialog.Control<QPushButton>(1030)->click();
        QVERIFY(messages.Contains("Can not find Geomagnetic Pole file!"));
        QVERIFY(messages.Contains("Can not find Geomagnetic Intensity file!"));
        QCOMPARE(dialog.Results().m_nLineCount, 0);
        QVERIFY(!QFile::exists("omr.txt"));

        // State: box off, a concentration production cannot reach. Expected: a message, no line.
        dialog.Control<QCheckBox>(1018)->setChecked(false);
        dialog.Control<QLineEdit>(1016)->setText("1e9");
        messages.Clear();
        dialog.Control<QPushButton>(1030)->click();
        QCOMPARE(int(messages.Messages().size()), 1);
        QCOMPARE(dialog.Results().m_nLineCount, 0);
        QCOMPARE(dialog.Results().m_nResultCount, 0);
    }

    void aValueOutOfRangeIsRefused()
    {
        // State: Shield 1.5. Action: Calculate. Expected: the range message, focus on Shield, nothing appended.
        CExpDlg dialog;
        dialog.show();
        QVERIFY(QTest::qWaitForWindowActive(&dialog));
        dialog.Control<QLineEdit>(1027)->setText("1.5");
        CMessageRecorder messages;
        dialog.Control<QPushButton>(1030)->click();
        QCOMPARE(messages.Messages(), std::vector<std::string>{"Enter a number between 0 and 1."});
        QCOMPARE(QApplication::focusWidget(), dialog.Control<QWidget>(1027));
        QCOMPARE(dialog.Results().m_nLineCount, 0);
    }

    void cleanUpRestartsTheNumbering()
    {
        // State: one block. Action: Clean Up, Calculate. Expected: "Calculation Result 1" again.
        CExpDlg dialog;
        dialog.Control<QPushButton>(1030)->click();
        dialog.Control<QPushButton>(1031)->click();
        QCOMPARE(dialog.Control<QListWidget>(1011)->count(), 0);
        dialog.Control<QPushButton>(1030)->click();
        QCOMPARE(dialog.Results().Lines().front(), std::string("Calculation Result 1"));
    }

private:
    std::unique_ptr<test::TempDir> m_dir;
    QString m_previous;
};

QTEST_MAIN(ExpDlgTest)
#include "tst_ExpDlg.moc"
