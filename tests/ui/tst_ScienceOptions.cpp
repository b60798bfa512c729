// The desktop's science options: "&Options" > "&Constants..." with
// its dialog and the settings the calculators read, and the "Exposure above
// the cut" box on the plot row of the simulation and cut results dialogs.

#include "app/Commands.h"
#include "app/HalfLivesDlg.h"
#include "app/MainFrame.h"
#include "app/QEXApp.h"
#include "app/QEXDoc.h"
#include "core/Message.h"
#include "geomag/ErosionDlg.h"
#include "geomag/ExpDlg.h"
#include "ui/ConstantSettings.h"
#include "proxy/CutResDlg.h"
#include "proxy/ProxyDlg.h"
#include "proxy/SiteProductionDlg.h"
#include "tests/ui/UiTestSupport.h"
#include "tests/core/SimulationTestCurves.h"
#include "ui/HalfLifeSettings.h"
#include "ui/Settings.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QTest>

using namespace qex;

namespace {

const std::vector<std::string> kTodayLines = {"Half-life 10Be(yr)  :   1387000", "Half-life 26Al(yr)  :   705000"};

std::vector<std::string> LastTwo(const CResultList& list)
{
    const auto& lines = list.Lines();
    return lines.size() < 2 ? lines : std::vector<std::string>(lines.end() - 2, lines.end());
}

} // namespace

class ScienceOptionsTest : public QObject {
    Q_OBJECT

private:
    test::TempDir m_dir;

private slots:
    void cleanup()
    {
        StoreHalfLives(HalfLives{});
        StoreConstantSet("original");
        StoreUncertainties(false);
    }

    void theConstantSetReachesTheSampleDialogs()
    {
        // State: nothing stored. Action: choose "current" in Constants, OK; open
        // the exposure and erosion dialogs, pick 26Al, tick Uncertainties, calculate.
        // Expected: the set's half-lives, production rates (4.01, then 27.9 for
        // 26Al) and attenuation length; the age with its two uncertainties and the
        // lines naming the set and the nuclide; the erosion rate in both units.
        {
            CHalfLivesDlg constants;
            constants.show();
            constants.Control<QComboBox>(CHalfLivesDlg::IDC_SET)->setCurrentText("current");
            QCOMPARE(constants.Control<QLineEdit>(1000)->text(), QString("1387000"));
            QCOMPARE(constants.Control<QLineEdit>(1001)->text(), QString("705134"));
            test::Snap(constants, "constants");
            QTest::mouseClick(constants.Control<QPushButton>(1), Qt::LeftButton);
        }
        QCOMPARE(StoredConstantSet(), std::string("current"));
        CExpDlg exposure;
        QCOMPARE(exposure.Control<QLineEdit>(1019)->text(), QString("4.01"));
        QCOMPARE(exposure.Control<QLineEdit>(1026)->text(), QString("160"));
        exposure.Control<QComboBox>(CExpDlg::IDC_NUCLIDE)->setCurrentIndex(1);
        QCOMPARE(exposure.Control<QLineEdit>(1019)->text(), QString("27.9"));
        exposure.Control<QComboBox>(CExpDlg::IDC_STANDARD)->setCurrentText("ZAL94");
        exposure.Control<QCheckBox>(CExpDlg::IDC_UNCERTAINTIES)->setChecked(true);
        exposure.Calculate();
        const std::vector<std::string> lines = exposure.Results().Lines();
        QCOMPARE(lines.size(), std::size_t(9));
        QVERIFY(lines[2].rfind("Internal uncertainty:   ", 0) == 0);
        QVERIFY(lines[3].rfind("External uncertainty:   ", 0) == 0);
        QCOMPARE(lines[6], std::string("Constants  :   current"));
        QCOMPARE(lines[8], std::string("26Al standard  :   ZAL94 (x 0.9134 to KNSTD)"));
        QVERIFY(StoredUncertainties());
        exposure.show();
        test::Snap(exposure, "exposure");
        CErosionDlg erosion;
        erosion.Control<QLineEdit>(1016)->setText("500000");
        erosion.Calculate();
        QVERIFY(erosion.Results().Lines().size() >= 7);
        QVERIFY(erosion.Results().Lines()[1].rfind("Erosion Rate(m/Myr):   ", 0) == 0);
        erosion.show();
        test::Snap(erosion, "erosion");
        CProxyDlg simulation;
        simulation.show();
        test::Snap(simulation, "simulation");
        CSiteProductionDlg site(simulation.m_inputs);
        site.show();
        test::Snap(site, "site");
    }

    void theOptionsMenuSitsBeforeHelpAndOpensTheHalfLives()
    {
        // State: the program started, "Do not ask again" answered earlier. Action: read the menu bar, open
        // Options, choose its items. Expected: Valdry, Calculators, Options, Help; the first item opens the
        // half-lives dialog; the last shows the discard question off and turns it back on.
        CQEXApp app;
        QVERIFY(app.InitInstance({"qex"}));
        QStringList titles;
        for (QAction* action : app.MainFrame()->menuBar()->actions())
            titles << action->text();
        QCOMPARE(titles, (QStringList{"&Valdry", "&Calculators", "&Options", "&Help"}));
        QMenu* options = app.MainFrame()->menuBar()->actions().at(2)->menu();
        QCOMPARE(options->actions().size(), 3);
        QAction* ask = options->actions().back();
        QCOMPARE(ask->text(), QString("Ask Before &Discarding Results"));
        ApplicationSettings().setValue(kAskBeforeDiscardingKey, false);
        emit options->aboutToShow();
        QVERIFY(ask->isCheckable() && !ask->isChecked());
        ask->trigger();
        QCOMPARE(ApplicationSettings().value(kAskBeforeDiscardingKey, false).toBool(), true);
        QAction* item = options->actions().front();
        QCOMPARE(item->text(), QString("&Constants..."));
        QVERIFY(!item->statusTip().isEmpty());
        QString opened;
        CQEXDoc::SetModalRunner([&](QDialog& dialog) {
            opened = qobject_cast<CHalfLivesDlg*>(&dialog) != nullptr ? dialog.windowTitle() : QString();
            return int(QDialog::Rejected);
        });
        item->trigger();
        CQEXDoc::SetModalRunner(nullptr);
        QCOMPARE(opened, QString("Constants"));
    }

    void theHalfLivesDialogFillsKeepsAndRefuses()
    {
        // State: nothing stored. Action: the buttons, OK, a value out of range, Cancel.
        // Expected: the originals first; each button fills both boxes; OK keeps
        // them; a refused value keeps the dialog open and nothing changes; Cancel keeps nothing.
        CMessageRecorder messages;
        {
            CHalfLivesDlg dialog;
            QCOMPARE(dialog.Control<QLineEdit>(1000)->text(), QString("1500000"));
            QCOMPARE(dialog.Control<QLineEdit>(1001)->text(), QString("710000"));
            QCOMPARE(dialog.Control<QPushButton>(1002)->text(), QString("Use 1.387 / 0.705 Myr (current)"));
            QCOMPARE(dialog.Control<QPushButton>(1003)->text(), QString("Use 1.5 / 0.71 Myr (original)"));
            dialog.show();
            QTest::mouseClick(dialog.Control<QPushButton>(1002), Qt::LeftButton);
            QCOMPARE(dialog.Control<QLineEdit>(1000)->text(), QString("1387000"));
            QCOMPARE(dialog.Control<QLineEdit>(1001)->text(), QString("705000"));
            QTest::mouseClick(dialog.Control<QPushButton>(1), Qt::LeftButton);
            QCOMPARE(dialog.result(), int(QDialog::Accepted));
        }
        QCOMPARE(StoredHalfLives().be10, 1387000.0);
        QCOMPARE(StoredHalfLives().al26, 705000.0);

        CHalfLivesDlg dialog;
        dialog.show();
        QCOMPARE(dialog.Control<QLineEdit>(1000)->text(), QString("1387000"));
        dialog.Control<QLineEdit>(1001)->setText("50000");
        QTest::mouseClick(dialog.Control<QPushButton>(1), Qt::LeftButton);
        QVERIFY(dialog.isVisible());
        QCOMPARE(messages.Messages(), std::vector<std::string>{"Enter a number between 100000 and 100000000."});
        QTest::mouseClick(dialog.Control<QPushButton>(1003), Qt::LeftButton);
        QCOMPARE(dialog.Control<QLineEdit>(1000)->text(), QString("1500000"));
        QCOMPARE(dialog.Control<QLineEdit>(1001)->text(), QString("710000"));
        QTest::mouseClick(dialog.Control<QPushButton>(2), Qt::LeftButton);
        QCOMPARE(StoredHalfLives().be10, 1387000.0);
    }

    void theCalculatorsDecayWithTheStoredHalfLives()
    {
        // State: today's half-lives stored. Action: calculate in the simulation and the exposure dialog.
        // Expected: each block ends by naming them; with the originals stored, it does not.
        const std::string curve = test::WriteCurve(m_dir, "alternating.dat", test::AlternatingCurveText());
        for (const HalfLives& stored : {HalfLives{1387000.0, 705000.0}, HalfLives{}}) {
            StoreHalfLives(stored);
            const bool today = stored.be10 != kBe10HalfLifeYears;
            CProxyDlg simulation;
            simulation.Control<QLineEdit>(1023)->setText(QString::fromStdString(curve));
            simulation.Control<QLineEdit>(1027)->setText(QString::fromStdString(m_dir.File("report.txt")));
            simulation.OnCommand(CProxyDlg::IDC_SINGLE);
            CExpDlg exposure;
            exposure.Calculate();
            for (const CResultList* list : {&simulation.Results(), &exposure.Results()}) {
                QVERIFY2(list->Lines().size() >= 2, list->Lines().empty() ? "empty" : list->Lines().front().c_str());
                QCOMPARE(LastTwo(*list) == kTodayLines, today);
            }
        }
    }

    void theExposureAboveCutBoxSitsOnThePlotRowAndTurnsTheCurve()
    {
        // State: each of the two dialogs. Action: find the box, tick it, calculate a cut.
        // Expected: the box, unticked, right of Plot within its row; ticked, the
        // cut is that of the negated curve, its value in the curve's own units.
        CProxyDlg simulation;
        CCutResDlg cut;
        for (CTemplateDialog* dialog : std::initializer_list<CTemplateDialog*>{&simulation, &cut}) {
            auto* box = dialog->Control<QCheckBox>(1041);
            auto* plot = dialog->Control<QPushButton>(1040);
            QVERIFY(box != nullptr && plot != nullptr);
            QCOMPARE(box->text(), QString("Exposure above the cut (curve high = warm)"));
            QVERIFY(!box->isChecked());
            QVERIFY(box->geometry().left() > plot->geometry().right());
            QVERIFY(box->geometry().center().y() > plot->geometry().top());
            QVERIFY(box->geometry().center().y() < plot->geometry().bottom());
            QVERIFY(box->width() >= box->sizeHint().width());
        }
        // (0, 1), (10000, 2), (20000, 1), read negated and cut at 1.5 in its own units.
        const std::string hill = m_dir.File("hill.dat");
        test::WriteFile(hill, "Proxy_Data Hill\n0 1\n10000 2\n20000 1\n");
        cut.Control<QLineEdit>(1023)->setText(QString::fromStdString(hill));
        cut.Control<QCheckBox>(1002)->setChecked(false);
        cut.Control<QLineEdit>(1000)->setText("1.5");
        cut.Control<QCheckBox>(1041)->setChecked(true);
        cut.Calculate();
        CutInputs above;
        above.path = hill;
        above.cutByAge = false;
        above.cutValue = 1.5;
        above.exposureAboveCut = true;
        CResultList expected;
        QCOMPARE(AppendCutResults(above, expected), CutOutcome::Result);
        QCOMPARE(cut.Results().Lines(), expected.Lines());
        QCOMPARE(cut.Results().Lines().at(4), std::string("Cut Value              :   1.500     "));
    }
};

QTEST_MAIN(ScienceOptionsTest)
#include "tst_ScienceOptions.moc"
