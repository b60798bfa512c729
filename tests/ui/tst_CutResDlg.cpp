// The cut results dialog: its defaults, Browse, Calculate with its lines and
// counting rules, Clean Up, and its place in the routing.

#include "app/Commands.h"
#include "app/MainFrame.h"
#include "app/QEXApp.h"
#include "app/QEXDoc.h"
#include "core/Message.h"
#include "proxy/CutResDlg.h"
#include "proxy/CutResults.h"
#include "tests/support/TestSupport.h"
#include "ui/FileChooser.h"

#include <QAction>
#include <QCheckBox>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QTest>
#include <QToolBar>
#include <QToolButton>

using namespace qex;

namespace {

// (0, 1), (10000, 2), (20000, 1): 1.97 at year 9700.
const char* const kHill = "Proxy_Data Hill\n0 1\n10000 2\n20000 1\n";

// The lines qexcli prints for the dialog's defaults on the curve.
std::vector<std::string> CommandLineLines(const QString& path)
{
    CutInputs inputs;
    inputs.path = path.toStdString();
    CResultList list;
    AppendCutResults(inputs, list);
    return list.Lines();
}

} // namespace

class CutResDlgTest : public QObject {
    Q_OBJECT

private:
    test::TempDir m_dir;
    QString m_hill;

private slots:
    void initTestCase()
    {
        const std::string path = m_dir.File("hill.dat");
        test::WriteFile(path, kHill);
        m_hill = QString::fromStdString(path);
    }

    void opensWithTheDefaultsTheFocusInTheCutValueAndTheTemplatesTabOrder()
    {
        // State: a fresh dialog. Action: show it, follow the focus chain.
        // Expected: template 131's title, the defaults, focus in 1000, the template's tab order.
        CCutResDlg dlg;
        dlg.show();
        QVERIFY(QTest::qWaitForWindowActive(&dlg));
        QCOMPARE(dlg.windowTitle(), QString("Calculate Cut results"));
        QCOMPARE(dlg.Control<QLineEdit>(1001)->text(), QString("9700"));
        QCOMPARE(dlg.Control<QLineEdit>(1000)->text(), QString("3.7"));
        QVERIFY(dlg.Control<QCheckBox>(1002)->isChecked());
        QCOMPARE(dlg.Control<QLineEdit>(1003)->text(), QString("25000"));
        QVERIFY(dlg.Control<QLineEdit>(1023)->text().isEmpty());
        // Cutting by age: the cut age has the focus, the unused cut value is disabled.
        QCOMPARE(QApplication::focusWidget(), dlg.Control<QWidget>(1001));
        QVERIFY(!dlg.Control<QWidget>(1000)->isEnabled());
        QCOMPARE(dlg.Control<QPushButton>(1025)->text(), QString("C&alculate"));
        QVERIFY(dlg.Control<QPushButton>(1025)->isDefault());

        const QList<int> order = {1000, 1001, 1023, 1024, 1011, 1025, 1, 1026, 1002, 1003, 1027};
        QWidget* widget = dlg.Control<QWidget>(order.first());
        for (int i = 1; i < order.size(); ++i) {
            do
                widget = widget->nextInFocusChain();
            while (widget->focusPolicy() == Qt::NoFocus || widget->objectName().isEmpty());
            QCOMPARE(widget->objectName(), QString::number(order[i]));
        }
    }

    void browseFillsThePathBoxAndCancelKeepsIt()
    {
        // State: empty path box. Action: Browse answered, then cancelled. Expected: the path stays.
        CCutResDlg dlg;
        CScriptedFileChooser chooser;
        chooser.Answer(m_hill);
        chooser.Cancel();
        dlg.Control<QPushButton>(1024)->click();
        QCOMPARE(dlg.Control<QLineEdit>(1023)->text(), m_hill);
        dlg.Control<QPushButton>(1024)->click();
        QCOMPARE(dlg.Control<QLineEdit>(1023)->text(), m_hill);
        QCOMPARE(int(chooser.Requests().size()), 2);
        QVERIFY(chooser.Requests()[0].kind == ChooserKind::Open);
        QCOMPARE(chooser.Requests()[0].defaultExtensionText, QString("Climatic proxy data Curve"));
        QCOMPARE(chooser.Requests()[0].filter, QString("Proxy Curve Data (*.dat)|*.dat|All Files (*.*)|*.*||"));
    }

    void calculateWithTheDefaultsListsTheBlockAndSelectsItsHeading()
    {
        // State: defaults, a curve chosen. Action: Calculate. Expected: the lines qexcli prints, heading selected.
        CCutResDlg dlg;
        dlg.Control<QLineEdit>(1023)->setText(m_hill);
        CMessageRecorder messages;
        dlg.Control<QPushButton>(1025)->click();
        QCOMPARE(dlg.Results().Lines(), CommandLineLines(m_hill));
        QCOMPARE(dlg.Results().Lines().at(4), std::string("Cut Value              :   1.970     "));
        auto* list = dlg.Control<QListWidget>(1011);
        QCOMPARE(list->count(), 8);
        QCOMPARE(list->currentRow(), 0);
        QVERIFY(messages.Messages().empty());
        QCOMPARE(dlg.m_strProxyFile, m_hill.toStdString());
    }

    void aFailedCutIsListedUnderItsOwnHeadingAndCleanUpRestartsTheNumbering()
    {
        // State: one result listed. Action: cut at the largest value, Clean Up, Calculate.
        // Expected: the failure's heading, no-valid line and reason shown from the heading, no
        // result counted, Plot still showing the result before; then block 1 again.
        CCutResDlg dlg;
        dlg.Control<QLineEdit>(1023)->setText(m_hill);
        dlg.Control<QPushButton>(1025)->click();
        dlg.Control<QCheckBox>(1002)->setChecked(false);
        dlg.Control<QLineEdit>(1000)->setText("2");
        dlg.Control<QPushButton>(1025)->click();
        auto* list = dlg.Control<QListWidget>(1011);
        QCOMPARE(list->count(), 11);
        QCOMPARE(list->currentRow(), 8);
        QCOMPARE(list->item(8)->text(), QString("Calculation Failed"));
        QCOMPARE(list->item(10)->text(), QString("Reason: 2 is the curve's maximum: a cut must lie below it"));
        QCOMPARE(dlg.Results().m_nResultCount, 1);
        QVERIFY(dlg.Control<QPushButton>(CCutResDlg::IDC_PLOT)->isEnabled());

        dlg.Control<QPushButton>(1026)->click();
        QCOMPARE(list->count(), 0);
        dlg.Control<QCheckBox>(1002)->setChecked(true);
        dlg.Control<QPushButton>(1025)->click();
        QCOMPARE(dlg.Results().Lines(), CommandLineLines(m_hill));
    }

    void rejectedOrMissingInputsAppendNothing()
    {
        // State: defaults. Action: Calculate with no path, a cut age over 1e8, an exposure age under 0, a bad file.
        // Expected: each its message, the list empty, the members untouched.
        CCutResDlg dlg;
        CMessageRecorder messages;
        dlg.Control<QPushButton>(1025)->click();
        dlg.Control<QLineEdit>(1023)->setText(m_hill);
        dlg.Control<QLineEdit>(1001)->setText("100000001");
        dlg.Control<QPushButton>(1025)->click();
        dlg.Control<QLineEdit>(1001)->setText("9700");
        dlg.Control<QLineEdit>(1003)->setText("-1");
        dlg.Control<QPushButton>(1025)->click();
        dlg.Control<QLineEdit>(1003)->setText("25000");
        dlg.Control<QLineEdit>(1023)->setText(QString::fromStdString(m_dir.File("missing.dat")));
        dlg.Control<QPushButton>(1025)->click();
        QCOMPARE(messages.Messages(),
                 (std::vector<std::string>{"Please select a proxy curve file!", "Enter a number between 0 and 100000000.",
                        "Enter a number between 0 and 1000000000.", "Can not find Proxy data file!"}));
        QCOMPARE(dlg.Results().m_nLineCount, 0);
        QCOMPARE(dlg.Control<QListWidget>(1011)->count(), 0);
        QCOMPARE(dlg.m_dCutAge, 9700.0);
    }

    void theMenuAndTheToolbarOpenAFreshDialogEachTime()
    {
        // State: the program started. Action: open the dialog from the menu, edit it, close; open it from
        // the toolbar. Expected: both enabled, each opening a parentless dialog with the defaults.
        CQEXApp app;
        QVERIFY(app.InitInstance({"qex"}));
        CMainFrame* frame = app.MainFrame();
        QStringList seen;
        CQEXDoc::SetModalRunner([&](QDialog& dialog) {
            auto* cut = qobject_cast<CCutResDlg*>(&dialog);
            if (cut == nullptr || cut->parent() != nullptr)
                return int(QDialog::Rejected);
            seen << cut->Control<QLineEdit>(1001)->text();
            cut->Control<QLineEdit>(1001)->setText("12000");
            return int(QDialog::Accepted);
        });
        QAction* menuItem = nullptr;
        for (QAction* action : frame->menuBar()->actions().first()->menu()->actions())
            if (action->data().toInt() == ID_CUT_RESULTS)
                menuItem = action;
        QVERIFY(menuItem != nullptr);
        QVERIFY(menuItem->isEnabled());
        menuItem->trigger();
        auto* button = qobject_cast<QToolButton*>(frame->ToolBar()->widgetForAction(frame->Action(ID_CUT_RESULTS)));
        QVERIFY(button != nullptr);
        QVERIFY(button->isEnabled());
        button->click();
        CQEXDoc::SetModalRunner(nullptr);
        QCOMPARE(seen, (QStringList{"9700", "9700"}));
    }
};

QTEST_MAIN(CutResDlgTest)
#include "tst_CutResDlg.moc"
