// The simulation dialog: its template, defaults and tab order, the Browse
// choosers, the checks before a calculation, both calculations with their
// blocks, Clear and Save, the busy cursor, the Monte Carlo with its plot tab,
// and its route from the menu command.

#include "app/Commands.h"
#include "app/QEXDoc.h"
#include "core/Message.h"
#include "proxy/PlotDlg.h"
#include "proxy/ProxyDlg.h"
#include "tests/support/TestSupport.h"
#include "ui/FileChooser.h"
#include "ui/Settings.h"

#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QProgressDialog>
#include <QDoubleSpinBox>
#include <QSpinBox>
#include <QTabWidget>
#include <QTimer>
#include <QListWidget>
#include <QPushButton>
#include <QTest>

using namespace qex;

namespace {

std::string AlternatingCurve(const test::TempDir& dir)
{
    std::string text = "Proxy_Data\nAlternating\n";
    for (int i = 0; i <= 30; ++i)
        text += std::to_string(i * 20000) + (i % 2 == 0 ? " 3.0\n" : " 5.0\n");
    const std::string path = dir.File("alternating.dat");
    test::WriteFile(path, text);
    return path;
}

QString Text(const CProxyDlg& dialog, int id)
{
    return dialog.Control<QLineEdit>(id)->text();
}

void SetPaths(CProxyDlg& dialog, const std::string& proxy, const std::string& output)
{
    dialog.Control<QLineEdit>(1023)->setText(QString::fromStdString(proxy));
    dialog.Control<QLineEdit>(1027)->setText(QString::fromStdString(output));
}

} // namespace

class ProxyDlgTest : public QObject {
    Q_OBJECT

private slots:
    void opensWithTheDefaultsAndTheTemplate()
    {
        // State: a new dialog. Action: show it. Expected: title, defaults, no 1025, focus in 1019, tab order.
        CProxyDlg dialog;
        dialog.show();
        QVERIFY(QTest::qWaitForWindowActive(&dialog));
        QCOMPARE(dialog.windowTitle(), QString("Climatic Curve Age Correction"));
        QCOMPARE(Text(dialog, 1019), QString("1165000"));
        QCOMPARE(Text(dialog, 1020), QString("6216000"));
        QCOMPARE(Text(dialog, 1021), QString("12.7"));
        QCOMPARE(Text(dialog, 1022), QString("77.7"));
        QCOMPARE(Text(dialog, 1000), QString("24000"));
        QCOMPARE(Text(dialog, 1001), QString("156000"));
        QCOMPARE(Text(dialog, 1030), QString("2.75"));
        QCOMPARE(Text(dialog, 1031), QString("150"));
        QCOMPARE(Text(dialog, 1032), QString("0"));
        QCOMPARE(Text(dialog, 1033), QString("0"));
        QCOMPARE(Text(dialog, 1023), QString());
        QCOMPARE(Text(dialog, 1027), QString());
        QVERIFY(dialog.Control(1025) == nullptr);
        QCOMPARE(dialog.Control<QPushButton>(1004)->text(), QString("Calculation"));
        QCOMPARE(dialog.Control<QPushButton>(1026)->text(), QString("C&lear"));
        QCOMPARE(dialog.Control<QPushButton>(1029)->text(), QString("&Save"));
        QVERIFY(dialog.Control<QPushButton>(1004)->isDefault());
        QCOMPARE(QApplication::focusWidget(), dialog.Control(1019));

        const int order[] = {1019, 1020, 1021, 1022, 1023, 1024, 1011, 1,    1026, 1027,
                             1028, 1029, 1030, 1031, 1032, 1033, 1004, 1000, 1001};
        for (std::size_t i = 1; i < std::size(order); ++i) {
            QWidget* next = dialog.Control(order[i - 1])->nextInFocusChain();
            while (next != nullptr && next->objectName().toInt() == 0 && next->objectName() != "1")
                next = next->nextInFocusChain();
            QCOMPARE(next, dialog.Control(order[i]));
        }
        // The edit boxes sit at their template rectangles.
        QCOMPARE(dialog.Control(1023)->geometry(), dialog.ToPixels(77, 94, 110, 12));
        QCOMPARE(dialog.Control(1011)->geometry(), dialog.ToPixels(13, 137, 231, 104));
    }

    void browseButtonsPutTheChosenPathsInTheirBoxes()
    {
        // State: empty paths. Action: Browse twice, then Browse cancelled. Expected: paths set, then unchanged.
        CProxyDlg dialog;
        CScriptedFileChooser chooser;
        chooser.Answer("/data/LR04.dat");
        chooser.Answer("/data/report.txt");
        dialog.Control<QPushButton>(1024)->click();
        dialog.Control<QPushButton>(1028)->click();
        QCOMPARE(Text(dialog, 1023), QString("/data/LR04.dat"));
        QCOMPARE(Text(dialog, 1027), QString("/data/report.txt"));
        chooser.Cancel();
        dialog.Control<QPushButton>(1024)->click();
        QCOMPARE(Text(dialog, 1023), QString("/data/LR04.dat"));

        const auto& requests = chooser.Requests();
        QCOMPARE(int(requests.size()), 3);
        QVERIFY(requests[0].kind == ChooserKind::Open);
        QCOMPARE(requests[0].defaultExtensionText, QString("Climatic proxy data Curve"));
        QCOMPARE(requests[0].filter, QString("Proxy Curve Data (*.dat)|*.dat|All Files (*.*)|*.*||"));
        QVERIFY(requests[1].kind == ChooserKind::Save);
        QCOMPARE(requests[1].defaultExtensionText, QString("Output calculation file"));
        QCOMPARE(requests[1].filter, QString("Output File (*.txt)|*.txt|All Files (*.*)|*.*||"));
        QVERIFY(!requests[1].confirmOverwrite);
    }

    void anEmptyPathOrARejectedFieldStopsTheCalculation()
    {
        // State: one path missing, or free path 600. Action: Calculation. Expected: the message, nothing appended.
        test::TempDir dir;
        CProxyDlg dialog;
        dialog.show();
        QVERIFY(QTest::qWaitForWindowActive(&dialog));
        CMessageRecorder messages;
        SetPaths(dialog, AlternatingCurve(dir), "");
        dialog.Control<QPushButton>(1004)->click();
        SetPaths(dialog, "", dir.File("r.txt"));
        dialog.OnCommand(1025);
        SetPaths(dialog, AlternatingCurve(dir), dir.File("r.txt"));
        dialog.Control<QLineEdit>(1031)->setText("600");
        dialog.Control<QPushButton>(1004)->click();
        QCOMPARE(messages.Messages(),
                 (std::vector<std::string>{"Please select an output file!", "Please select a proxy curve file!",
                                           "Enter a number between 100 and 500."}));
        QCOMPARE(QApplication::focusWidget(), dialog.Control(1031));
        QCOMPARE(dialog.m_dFreePath, 150.0);
        QCOMPARE(dialog.Control<QListWidget>(1011)->count(), 0);
        QCOMPARE(dialog.Results().m_nLineCount, 0);
        QVERIFY(!test::FileExists(dir.File("r.txt")));
    }

    void calculationListsTheMeanValueAndUncertaintiesAndSavesThem()
    {
        // State: the worked-example curve, default sample. Action: Calculation, Save.
        // Expected: the 51-line block (28 crossings), heading selected, the file holds the lines.
        test::TempDir dir;
        CProxyDlg dialog;
        SetPaths(dialog, AlternatingCurve(dir), dir.File("report.txt"));
        CMessageRecorder messages;
        dialog.Control<QPushButton>(1004)->click();
        QVERIFY(messages.Messages().empty());
        auto* list = dialog.Control<QListWidget>(1011);
        QCOMPARE(list->count(), 51);
        QCOMPARE(dialog.Results().m_nLineCount, 51);
        QCOMPARE(dialog.Results().m_nResultCount, 1);
        QCOMPARE(list->item(0)->text(), QString("Calculation Results 1: Mean Value"));
        QCOMPARE(list->item(1)->text(), QString("Cut Value  :   3.36600   "));
        QCOMPARE(list->item(4)->text(), QString("Bural Age(kyr)         :   457.520   "));
        QCOMPARE(list->item(37)->text(), QString("Calculation Results 1: Uncertainties"));
        QCOMPARE(list->currentRow(), 0);
        QVERIFY(test::ReadFile(dir.File("report.txt")).find("Cut Value:    3.36600\n") != std::string::npos);

        CScriptedFileChooser chooser;
        chooser.Answer(QString::fromStdString(dir.File("saved.txt")));
        dialog.Control<QPushButton>(1029)->click();
        const std::string saved = test::ReadFile(dir.File("saved.txt"));
        QCOMPARE(QString::fromStdString(saved), QString::fromStdString(dialog.Results().Text()));
        QCOMPARE(int(std::count(saved.begin(), saved.end(), '\n')), 53);
        QVERIFY(saved.rfind("Calculation Results 1: Mean Value\nCut Value  :   3.36600   \n", 0) == 0);

        dialog.Control<QPushButton>(1026)->click();
        QCOMPARE(list->count(), 0);
        QCOMPARE(dialog.Results().m_nLineCount, 0);
        QCOMPARE(dialog.Results().m_nResultCount, 0);
    }

    void command1025RunsTheSingleCalculation()
    {
        // State: a finished calculation with uncertainties. Action: command 1025.
        // Expected: a "Calculation Result 2" block of heading, 7 lines and 28 ages, selected.
        test::TempDir dir;
        CProxyDlg dialog;
        SetPaths(dialog, AlternatingCurve(dir), dir.File("report.txt"));
        dialog.Control<QPushButton>(1004)->click();
        QVERIFY(dialog.OnCommand(1025));
        auto* list = dialog.Control<QListWidget>(1011);
        QCOMPARE(list->count(), 51 + 36);
        QCOMPARE(list->item(51)->text(), QString("Calculation Result 2"));
        QCOMPARE(list->item(52)->text(), QString("Cut Value  :   3.36600   "));
        QCOMPARE(list->item(58)->text(), QString("Intersect Numbers   :    28"));
        QCOMPARE(list->item(86)->text(), QString("Intersect year(kyr) 28:   556.340   "));
        QCOMPARE(list->currentRow(), 51);
        QVERIFY(!dialog.OnCommand(1030));
    }

    void aPressShowsEachMessageOnceUnderABusyCursor()
    {
        // State: a curve path that does not exist. Action: Calculation (ten runs), then command 1025.
        // Expected: each text once per press, shown while the wait cursor is up.
        test::TempDir dir;
        CProxyDlg dialog;
        SetPaths(dialog, dir.File("missing.dat"), dir.File("r.txt"));
        std::vector<std::string> shown;
        bool busy = true;
        const MessageSink previous = SetMessageSink([&](const std::string& text) {
            shown.push_back(text);
            busy = busy && QApplication::overrideCursor() != nullptr &&
                   QApplication::overrideCursor()->shape() == Qt::WaitCursor;
        });
        dialog.Control<QPushButton>(1004)->click();
        dialog.OnCommand(1025);
        SetMessageSink(previous);
        // The file's message explains the failure: no "Calculation Error!" after it.
        QCOMPARE(shown, (std::vector<std::string>{"Can not find Proxy data file!", "Can not find Proxy data file!"}));
        QVERIFY(busy);
        QVERIFY(QApplication::overrideCursor() == nullptr);
        QCOMPARE(dialog.Control<QListWidget>(1011)->count(), 0);
    }

    void monteCarloAppendsItsBlockAndPlotsOrAppendsNothingWhenCancelled()
    {
        // State: a calculation on LR04. Action: "Monte Carlo..." with 20 draws, seed 7, then Plot; then
        // 100,000 draws, cancelled in the progress window. Expected: the block after the calculation's,
        // a Monte Carlo tab; after Cancel the list as it was and no message.
        test::TempDir dir;
        CProxyDlg dialog;
        SetPaths(dialog, test::SourceDir() + "/examples/proxy/LR04.dat", dir.File("report.txt"));
        CMessageRecorder messages;
        dialog.Control<QPushButton>(1004)->click();
        const int calculated = dialog.Control<QListWidget>(1011)->count();
        auto* button = dialog.Control<QPushButton>(CProxyDlg::IDC_MONTE_CARLO);
        QCOMPARE(button->text(), QString("Monte Carlo..."));
        QVERIFY(button->isEnabled());

        // Answers the question with `draws`, after checking it proposes what was asked last.
        int asked = 1000;
        auto answer = [&asked](int draws) {
            QTimer::singleShot(0, [draws, &asked] {
                auto* ask = qobject_cast<QDialog*>(QApplication::activeModalWidget());
                QVERIFY(ask != nullptr);
                QCOMPARE(ask->findChild<QSpinBox*>("MonteCarloDraws")->value(), asked);
                asked = draws;
                ask->findChild<QSpinBox*>("MonteCarloDraws")->setValue(draws);
                ask->findChild<QLineEdit*>("MonteCarloSeed")->setText("7");
                auto* be10Error = ask->findChild<QDoubleSpinBox*>("Be10ProductionError");
                be10Error->setValue(0.5);
                QVERIFY(!be10Error->toolTip().isEmpty());
                ask->findChild<QDoubleSpinBox*>("ProductionScalingError")->setValue(8.0);
                if (const QString shots = qEnvironmentVariable("QEX_SCREENSHOT_DIR"); !shots.isEmpty())
                    ask->grab().save(shots + "/MonteCarloAsk.png");
                ask->accept();
            });
        };
        answer(20);
        button->click();
        QVERIFY(messages.Messages().empty());
        auto* list = dialog.Control<QListWidget>(1011);
        QVERIFY(list->count() > calculated);
        QCOMPARE(list->item(calculated)->text(), QString("Monte Carlo (20 draws, seed 7)"));
        QCOMPARE(list->currentRow(), calculated); // the block shown from its heading down
        // The shared scaling error drawn is named in the block.
        QVERIFY(list->item(calculated + 1)->text().startsWith("P scaling error   :   8.0 %"));
        dialog.Control<QPushButton>(CProxyDlg::IDC_PLOT)->click();
        CPlotDlg* plot = dialog.PlotWindow();
        QVERIFY(plot != nullptr);
        // One panel per quantity, each binned over its own values.
        QCOMPARE(plot->Tabs()->tabText(plot->ChartCount() - 3), QString("Monte Carlo: Exposure"));
        QCOMPARE(plot->Tabs()->tabText(plot->ChartCount() - 1), QString("Monte Carlo: Total"));
        if (const QString shots = qEnvironmentVariable("QEX_SCREENSHOT_DIR"); !shots.isEmpty()) {
            QDir().mkpath(shots);
            for (int tab : {1, plot->ChartCount() - 3, plot->ChartCount() - 2}) {
                QFile file(shots + QString("/MonteCarlo-%1.png").arg(tab));
                QVERIFY(file.open(QIODevice::WriteOnly));
                file.write(plot->RenderImage(tab, CPlotDlg::ImageFormat::Png));
            }
        }
        plot->close();

        const int listed = list->count();
        QTimer cancel;
        connect(&cancel, &QTimer::timeout, [] {
            for (QWidget* window : QApplication::topLevelWidgets())
                if (auto* progress = qobject_cast<QProgressDialog*>(window); progress && progress->isVisible())
                    progress->cancel();
        });
        cancel.start(100);
        answer(100000);
        button->click();
        QCOMPARE(list->count(), listed);
        QVERIFY(messages.Messages().empty());
        QVERIFY(button->isEnabled());

        // The boxes changed since: the draws are of the sample they show, calculated first.
        cancel.stop();
        dialog.Control<QLineEdit>(1019)->setText("1200000");
        answer(20);
        button->click();
        QCOMPARE(list->item(listed)->text(), QString("Calculation Results 2: Mean Value"));
        int monteCarlo = listed;
        while (monteCarlo < list->count() && !list->item(monteCarlo)->text().startsWith("Monte Carlo"))
            ++monteCarlo;
        QVERIFY(monteCarlo < list->count());
        QCOMPARE(list->item(monteCarlo)->text(), QString("Monte Carlo (20 draws, seed 7)"));
        QVERIFY(messages.Messages().empty());
    }

    void theDialogRemembersItsSizePlaceAndPathsBetweenOpenings()
    {
        // State: a dialog shown, its paths typed, enlarged and moved. Action: Close, open another.
        // Expected: the second at the first one's size and place, its path boxes holding the paths.
        const QString curve = "/data/curves/LR04.dat";
        const QString report = "/data/reports/LR04-report.txt";
        QRect kept;
        {
            CProxyDlg first;
            first.show();
            QVERIFY(QTest::qWaitForWindowExposed(&first));
            SetPaths(first, curve.toStdString(), report.toStdString());
            first.resize(first.size() + QSize(120, 80));
            first.move(40, 30);
            kept = QRect(first.pos(), first.size());
            first.Control<QPushButton>(1)->click();
        }
        CProxyDlg second;
        QVERIFY(second.Control<QLineEdit>(1023)->text().isEmpty()); // not shown yet: nothing restored
        second.show();
        QVERIFY(QTest::qWaitForWindowExposed(&second));
        QCOMPARE(second.size(), kept.size());
        QCOMPARE(second.Control<QLineEdit>(1023)->text(), curve);
        QCOMPARE(second.Control<QLineEdit>(1027)->text(), report);
        second.Control<QPushButton>(1)->click();
        ApplicationSettings().remove("Dialogs");
    }

    void theSimulationCommandOpensThisDialog()
    {
        // State: the document. Action: command 32805. Expected: a CProxyDlg with no parent, run modally.
        CQEXDoc doc;
        QString title;
        bool isProxyDialog = false;
        bool hasParent = true;
        CQEXDoc::SetModalRunner([&](QDialog& dialog) {
            title = dialog.windowTitle();
            isProxyDialog = qobject_cast<CProxyDlg*>(&dialog) != nullptr;
            hasParent = dialog.parent() != nullptr;
            return int(QDialog::Rejected);
        });
        QVERIFY(doc.HandlesCommand(ID_SIMULATION));
        QVERIFY(doc.OnCommand(ID_SIMULATION));
        CQEXDoc::SetModalRunner(nullptr);
        QVERIFY(isProxyDialog);
        QVERIFY(!hasParent);
        QCOMPARE(title, QString("Climatic Curve Age Correction"));
    }
};

QTEST_MAIN(ProxyDlgTest)
#include "tst_ProxyDlg.moc"
