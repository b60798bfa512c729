// The main window: menus, toolbar, status bar, accelerators and routing.

#include "app/Commands.h"
#include "app/HelpWindow.h"
#include "app/MainFrame.h"
#include "app/QEXApp.h"
#include "app/QEXDoc.h"
#include "corrections/ShieldDLG.h"
#include "corrections/ThicknessDLG.h"
#include "proxy/ProxyDlg.h"
#include "ui/FileChooser.h"
#include "tests/support/TestSupport.h"

#include <QAction>
#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QScrollBar>
#include <QSet>
#include <QSettings>
#include <QStatusTipEvent>
#include <QTest>
#include <QTextBrowser>
#include <QToolBar>
#include <algorithm>
#include <functional>

using namespace qex;

namespace {

QMenu* MenuNamed(CMainFrame* frame, const QString& title)
{
    for (QAction* action : frame->menuBar()->actions())
        if (action->menu() != nullptr && action->text() == title)
            return action->menu();
    return nullptr;
}

// Records each dialog the document runs instead of blocking in its modal loop.
struct RecordedDialog {
    QString title;
    QString objectName;
    bool hadParent;
    QStringList labels;
};

} // namespace

class ShellTest : public QObject {
    Q_OBJECT

private slots:
    void init()
    {
        m_app = std::make_unique<CQEXApp>();
        QVERIFY(m_app->InitInstance({"qex"}));
        m_frame = m_app->MainFrame();
        m_recorded.clear();
        m_chooser = std::make_unique<CScriptedFileChooser>(); // unanswered requests cancel
        CQEXDoc::SetModalRunner([this](QDialog& dialog) {
            QStringList labels;
            for (QLabel* label : dialog.findChildren<QLabel*>())
                labels << label->text();
            m_recorded.push_back({dialog.windowTitle(), dialog.objectName(), dialog.parent() != nullptr, labels});
            return int(QDialog::Rejected);
        });
    }

    void cleanup()
    {
        CQEXDoc::SetModalRunner(nullptr);
        m_app.reset();
        m_chooser.reset();
    }

    void startsUntitledWithTheIdlePrompt()
    {
        // State: fresh start, no command line. Action: none. Expected: untitled frame, idle prompt, toolbar on top.
        QCOMPARE(m_frame->windowTitle(), QString("Untitled - QEX"));
        QCOMPARE(m_frame->PromptPane()->text(), QString("For Help, press F1"));
        QCOMPARE(m_frame->toolBarArea(m_frame->ToolBar()), Qt::TopToolBarArea);
        QVERIFY(m_frame->isVisible());
        QVERIFY(m_frame->findChild<QLabel*>("indicatorCaps") != nullptr);
        QCOMPARE(m_frame->findChild<QLabel*>("indicatorNum")->text(), QString("NUM"));
        QCOMPARE(m_frame->findChild<QLabel*>("indicatorScroll")->text(), QString("SCRL"));
    }

    void valdryMenuHoldsItsItemsInOrder()
    {
        // State: fresh frame. Action: read "&Valdry". Expected: the six entries with their ids.
        QMenu* menu = MenuNamed(m_frame, "&Valdry");
        QVERIFY(menu != nullptr);
        QStringList texts;
        QList<int> ids;
        for (QAction* action : menu->actions()) {
            texts << (action->isSeparator() ? QString("-") : action->text());
            ids << (action->isSeparator() ? 0 : action->data().toInt());
        }
        // The simulation is named as its dialog's title names it.
        QCOMPARE(texts, QStringList({"Climatic Curve Age Correction...", "Climatic Proxy Curve Cut Results...", "-",
                                     "&About Program...", "-", "E&xit"}));
        QCOMPARE(ids, QList<int>({32805, 32772, 0, 57664, 0, 57665}));
        QCOMPARE(m_frame->menuBar()->actions().first()->text(), QString("&Valdry"));
    }

    void toolbarHasThreeButtonsWithTheirPrompts()
    {
        // State: fresh frame. Action: read the toolbar. Expected: 32805, 32772, 57664 with tips from the prompts.
        QList<int> ids;
        for (QAction* action : m_frame->ToolBar()->actions())
            ids << action->data().toInt();
        QCOMPARE(ids, QList<int>({32805, 32772, 57664}));
        QAction* simulation = m_frame->ToolBar()->actions().at(0);
        QCOMPARE(simulation->toolTip(), QString("Climatic Proxy Curve Simulation"));
        QCOMPARE(simulation->statusTip(), QString("Climatic Proxy Curve Simulation"));
        QCOMPARE(m_frame->ToolBar()->actions().at(1)->statusTip(), QString("Climatic Proxy Curve Cut Results"));
        QCOMPARE(m_frame->ToolBar()->iconSize(), QSize(16, 15));
        for (QAction* action : m_frame->ToolBar()->actions())
            QVERIFY(!action->icon().isNull());
    }

    void hoveringShowsThePromptAndLeavingRestoresTheIdleText()
    {
        // State: fresh frame. Action: a fly-by prompt, then none. Expected: the prompt, then the idle text.
        QStatusTipEvent tip("Climatic Proxy Curve Simulation");
        QApplication::sendEvent(m_frame, &tip);
        QCOMPARE(m_frame->PromptPane()->text(), QString("Climatic Proxy Curve Simulation"));
        QStatusTipEvent none{QString()};
        QApplication::sendEvent(m_frame, &none);
        QCOMPARE(m_frame->PromptPane()->text(), QString("For Help, press F1"));
    }

    void calculatorsMenuReachesEveryFeatureCommand()
    {
        // State: fresh frame. Action: read "&Calculators". Expected: the calculators of the list in its
        // order (the batch, the diagram, the group summary and the burial age last), the prompts as status tips.
        QMenu* menu = MenuNamed(m_frame, "&Calculators");
        QVERIFY(menu != nullptr);
        QList<int> ids;
        for (QAction* action : menu->actions()) {
            ids << action->data().toInt();
            QCOMPARE(action->statusTip(), CommandPrompt(action->data().toInt()));
            QVERIFY(!action->text().isEmpty());
        }
        QList<int> expected({32805, 32772, 32797, 32773, 32799, 32802, 32801, 32803, 32810, 32771, 32807, 32820, 32808, 32815, 32821});
        QCOMPARE(ids, expected);
        QCOMPARE(CommandPrompt(32801), QString("Shielding by obstruction and slope"));
        QCOMPARE(CommandPrompt(32799), QString("Thickness Correction"));
        QCOMPARE(CommandPrompt(32773), QString("Calulate SF around world"));
    }

    void aFeatureCommandIsEnabledExactlyWhenRoutedAndOpensAParentlessDialog()
    {
        // State: fresh frame. Action: trigger each routed command. Expected: one parentless dialog run per command.
        CQEXDoc& doc = *m_app->Document();
        for (const auto& command : FeatureCommands()) {
            QMenu* menu = MenuNamed(m_frame, "&Calculators");
            for (QAction* action : menu->actions())
                if (action->data().toInt() == command.id)
                    QCOMPARE(action->isEnabled(), doc.HandlesCommand(command.id));
            if (!doc.HandlesCommand(command.id))
                continue;
            const std::size_t before = m_recorded.size();
            m_frame->OnCommand(command.id);
            if (command.id != ID_NORMALIZE_CURVE && command.id != ID_CONVERT_SAMPLES) { // these ask for files only
                QCOMPARE(m_recorded.size(), before + 1);
                QVERIFY(!m_recorded.back().hadParent);
            }
        }
    }

    void aboutCommandRunsTheAboutBox()
    {
        // State: fresh frame. Action: About from the menu. Expected: the About box, modal, with its one line.
        m_frame->Action(ID_APP_ABOUT)->trigger();
        QCOMPARE(int(m_recorded.size()), 1);
        QCOMPARE(m_recorded[0].title, QString("About Valdry Program"));
        QCOMPARE(m_recorded[0].objectName, QString("IDD_100"));
        QVERIFY(m_recorded[0].labels.contains("Valdry Version 1.0"));
    }

    void editAndPaneKeysDoNothing()
    {
        // State: fresh frame. Action: read the edit and pane commands. Expected: present with their keys, disabled.
        for (int id : {ID_EDIT_UNDO, ID_EDIT_CUT, ID_EDIT_COPY, ID_EDIT_PASTE, ID_NEXT_PANE, ID_PREV_PANE}) {
            QAction* action = m_frame->Action(id);
            QVERIFY(action != nullptr);
            QVERIFY(!action->isEnabled());
            QVERIFY(!action->shortcuts().isEmpty());
        }
        QCOMPARE(m_frame->Action(ID_EDIT_UNDO)->shortcuts(),
                 QList<QKeySequence>({QKeySequence("Ctrl+Z"), QKeySequence("Alt+Backspace")}));
        QCOMPARE(m_frame->Action(ID_FILE_OPEN)->shortcut(), QKeySequence("Ctrl+O"));
        QCOMPARE(m_frame->Action(ID_HELP)->shortcut(), QKeySequence("F1"));
    }

    void f1InADialogOpensTheHelpAtItsCalculator()
    {
        // State: the shielding dialog open over the frame. Action: F1 in it.
        // Expected: a help window over the dialog (so that it takes the mouse), scrolled to the
        // shielding's entry, which lies below the top of the text.
        CShieldDLG dialog;
        dialog.show();
        dialog.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&dialog));
        QTest::keyClick(&dialog, Qt::Key_F1);
        auto* help = dialog.findChild<CHelpWindow*>("help");
        QVERIFY(help != nullptr);
        QVERIFY(help->isVisible());
        QVERIFY(QTest::qWaitForWindowExposed(help));
        help->ShowTopic("shielding");
        QVERIFY(help->Text()->verticalScrollBar()->value() > 0);
        const int shielding = help->Text()->verticalScrollBar()->value();
        help->ShowTopic("simulate");
        QVERIFY(help->Text()->verticalScrollBar()->value() < shielding);
        help->close();
    }

    void f1OpensTheHelpListingTheCalculators()
    {
        // State: fresh frame. Action: F1. Expected: the help window, which names qexcli and the README.
        m_frame->Action(ID_HELP)->trigger();
        QDialog* help = m_frame->findChild<QDialog*>("help");
        QVERIFY(help != nullptr);
        QVERIFY(help->isVisible());
        QVERIFY(help->findChild<QWidget*>("helpText") != nullptr);
        // Run from its build folder, the program points at the source README
        // and has no installed geomagnetic records to fall back on.
        const QString text = CHelpWindow::HelpText();
        QVERIFY(text.contains(QStringLiteral(QEX_SOURCE_DIR "/README.md")));
        QVERIFY(text.contains("not installed"));
    }

    void everyCalculatorOfTheListHasItsDesktopFaces()
    {
        // State: fresh frame. Action: look each calculator of the list up. Expected: its menu entry, routed to its
        // dialog, and its row in the help window.
        QMenu* menu = MenuNamed(m_frame, "&Calculators");
        const QString help = CHelpWindow::HelpText();
        for (const Calculator& calculator : Calculators()) {
            const QString name = QString::fromUtf8(calculator.info.name.data(), int(calculator.info.name.size()));
            bool listed = false;
            for (QAction* action : menu->actions())
                listed = listed || action->data().toInt() == calculator.info.commandId;
            QVERIFY2(listed && calculator.info.commandId != 0, qPrintable(name));
            QVERIFY2(CQEXDoc::HasDialogFactory(calculator.info.name), qPrintable(name));
            QVERIFY2(m_app->Document()->HandlesCommand(calculator.info.commandId), qPrintable(name));
            QVERIFY2(help.contains("<tt>qexcli " + name + "</tt>"), qPrintable(name));
        }
    }

    void openingAFileTitlesTheFrameAndKeepsFourRecentFiles()
    {
        // State: fresh frame. Action: open five files. Expected: the title names the last; four recent files kept.
        test::TempDir dir;
        CScriptedFileChooser chooser;
        for (int i = 1; i <= 5; ++i) {
            const std::string path = dir.File("doc" + std::to_string(i) + ".qex");
            test::WriteFile(path, "");
            chooser.Answer(QString::fromStdString(path));
            m_frame->Action(ID_FILE_OPEN)->trigger();
        }
        QCOMPARE(m_frame->windowTitle(), QString("doc5.qex - QEX"));
        QCOMPARE(m_app->RecentFiles().size(), 4);
        QVERIFY(m_app->RecentFiles().first().endsWith("doc5.qex"));
        QSettings settings("Local AppWizard-Generated Applications", "QEX");
        QVERIFY(settings.value("Recent File List/File1").toString().endsWith("doc5.qex"));
        QVERIFY(settings.value("Recent File List/File4").toString().endsWith("doc2.qex"));
        m_frame->Action(ID_FILE_NEW)->trigger();
        QCOMPARE(m_frame->windowTitle(), QString("Untitled - QEX"));
    }

    void ctrlOThenCtrlSLeavesTheFileAsItWas()
    {
        // State: a data file. Action: Ctrl+O on it, then Ctrl+S. Expected: the document titled after it, the
        // file byte for byte as it was; Save and Save As disabled, as the document holds no data.
        test::TempDir dir;
        const std::string path = dir.File("LR04.dat");
        const std::string bytes = test::ReadFile(test::SourceDir() + "/examples/proxy/LR04.dat");
        test::WriteFile(path, bytes);
        m_chooser->Answer(QString::fromStdString(path));
        QVERIFY(QTest::qWaitForWindowActive(m_frame));
        QTest::keySequence(m_frame, QKeySequence("Ctrl+O"));
        QCOMPARE(m_frame->windowTitle(), QString("LR04.dat - QEX"));
        QTest::keySequence(m_frame, QKeySequence("Ctrl+S"));
        QCOMPARE(test::ReadFile(path), bytes);
        QVERIFY(!m_frame->Action(ID_FILE_SAVE)->isEnabled());
        QVERIFY(!m_frame->Action(ID_FILE_SAVE_AS)->isEnabled());
    }

    void everyMenuHasUniqueMnemonics()
    {
        // State: fresh frame. Action: read every menu. Expected: no two items of a menu (nor two menus) share a key.
        QStringList titles;
        for (QAction* top : m_frame->menuBar()->actions()) {
            titles << top->text();
            QStringList items;
            for (QAction* action : top->menu()->actions())
                if (!action->isSeparator())
                    items << action->text();
            for (const QStringList& texts : {titles, items}) {
                QSet<QChar> keys;
                for (const QString& text : texts) {
                    const int amp = text.indexOf('&');
                    if (amp < 0 || amp + 1 >= text.size())
                        continue;
                    const QChar key = text.at(amp + 1).toLower();
                    QVERIFY2(!keys.contains(key), qPrintable(top->text() + ": " + text));
                    keys.insert(key);
                }
            }
        }
    }

    void whatIsWrittenIsConfirmedInTheStatusBar()
    {
        // State: fresh frame. Action: write a world table, a normalised curve, a saved list and a report.
        // Expected: after each, the prompt pane names the count and the path, thousands grouped.
        test::TempDir dir;
        CQEXDoc::SetModalRunner([&](QDialog& dialog) {
            dialog.findChild<QLineEdit*>("1027")->setText(QString::fromStdString(dir.File("table.txt")));
            dialog.findChild<QPushButton*>("1")->click();
            return dialog.result();
        });
        const std::string intensity = test::SourceDir() + "/examples/geomag/pmagstack1.dat";
        // The rows of a written file below its header of `headerLines`.
        auto rows = [](const std::string& path, int headerLines) {
            const std::string text = test::ReadFile(path);
            return long(std::count(text.begin(), text.end(), '\n')) - headerLines;
        };
        auto grouped = [](long n) { return QLocale(QLocale::English).toString(qlonglong(n)); };
        const struct {
            const char* what;
            std::function<void()> write;
            std::string path;
            std::function<QString()> expected;
        } writers[] = {
            {"world table", [&] { m_frame->OnCommand(ID_WORLD_TABLE); }, dir.File("table.txt"),
             [&] { return "Wrote " + grouped(rows(dir.File("table.txt"), 13)) + " rows to "; }},
            {"normalised curve",
             [&] {
                 m_chooser->Answer(QString::fromStdString(intensity));
                 m_chooser->Answer(QString::fromStdString(dir.File("normal.dat")));
                 m_frame->OnCommand(ID_NORMALIZE_CURVE);
             },
             dir.File("normal.dat"), [&] { return "Wrote " + grouped(rows(dir.File("normal.dat"), 2)) + " rows to "; }},
            {"saved list",
             [&] {
                 CThicknessDLG dialog;
                 dialog.Calculate();
                 m_chooser->Answer(QString::fromStdString(dir.File("list.txt")));
                 dialog.Save();
             },
             dir.File("list.txt"), [&] { return "Wrote " + grouped(rows(dir.File("list.txt"), 0)) + " lines to "; }},
            // The report holds one row for each of the 998 cut values.
            {"report",
             [&] {
                 CProxyDlg dialog;
                 dialog.Control<QLineEdit>(1023)->setText(
                     QString::fromStdString(test::SourceDir() + "/examples/proxy/LR04.dat"));
                 dialog.Control<QLineEdit>(1027)->setText(QString::fromStdString(dir.File("report.txt")));
                 dialog.Calculate();
             },
             dir.File("report.txt"), [] { return QString("Wrote 998 rows to "); }},
        };
        for (const auto& writer : writers) {
            writer.write();
            QVERIFY2(test::FileExists(writer.path), writer.what);
            QCOMPARE(m_frame->PromptPane()->text(), writer.expected() + QString::fromStdString(writer.path));
        }
        QVERIFY(m_frame->PromptPane()->text().startsWith("Wrote 998"));
        QVERIFY(rows(dir.File("normal.dat"), 2) > 999); // the grouping was put to the test
    }

private:
    std::unique_ptr<CQEXApp> m_app;
    CMainFrame* m_frame = nullptr;
    std::vector<RecordedDialog> m_recorded;
    std::unique_ptr<CScriptedFileChooser> m_chooser;
};

QTEST_MAIN(ShellTest)
#include "tst_Shell.moc"
