// The scaling factor dialog and the world table command, driven by control ids.

#include "app/Commands.h"
#include "app/QEXDoc.h"
#include "core/Message.h"
#include "scaling/SFCalDlg.h"
#include "scaling/ScalingFactorDLG.h"
#include "tests/support/TestSupport.h"
#include "ui/FileChooser.h"
#include "ui/FileReplacement.h"
#include "ui/Question.h"

#include <QDir>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QProgressDialog>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <algorithm>

using namespace qex;

namespace {

const std::vector<std::string> kDefaultBlock = {
    "Calculation Result 1",         "Latitude:   60.000000",  "Altitude:   0.000000",
    "Muon contribution:   0.026000", "Stone 2000:   1.002078", "Lal 1991 Be:   1.000000",
    "Lal 1991 Al:   1.000000",      "Dunai 2000:   0.990776",
};

// Runs the world table command with a modal runner that types `edits` into
// the grid dialog and presses OK, and answers a size question with `answer`.
struct WorldTableRun {
    std::vector<std::pair<int, QString>> edits;
    int answer = QMessageBox::No;
    bool cancelWhileWriting = false;

    QString question;
    int dialogs = 0;

    void Run()
    {
        QTimer canceller;
        canceller.setInterval(0);
        QObject::connect(&canceller, &QTimer::timeout, [&] {
            for (QWidget* widget : QApplication::topLevelWidgets())
                if (auto* progress = qobject_cast<QProgressDialog*>(widget)) {
                    progress->cancel();
                    canceller.stop();
                }
        });
        auto previous = CQEXDoc::SetModalRunner([&](QDialog& dialog) {
            ++dialogs;
            if (auto* grid = qobject_cast<CSFCalDlg*>(&dialog)) {
                for (const auto& [id, text] : edits)
                    grid->Control<QLineEdit>(id)->setText(text);
                grid->Control<QPushButton>(1)->click();
                return grid->result();
            }
            if (auto* box = qobject_cast<QMessageBox*>(&dialog)) {
                question = box->text();
                if (cancelWhileWriting)
                    canceller.start();
                return answer;
            }
            return int(QDialog::Rejected);
        });
        CQEXDoc document;
        document.OnCommand(ID_WORLD_TABLE);
        CQEXDoc::SetModalRunner(previous);
    }
};

} // namespace

class ScalingDialogsTest : public QObject {
    Q_OBJECT

private slots:
    void scalingDialogOpensWithItsDefaults()
    {
        // State: a fresh dialog. Action: none. Expected: title, template, initial values, empty list.
        CScalingFactorDLG dialog;
        QCOMPARE(dialog.windowTitle(), QString("Scaling Factor Dialog"));
        QCOMPARE(dialog.TemplateId(), 133);
        QCOMPARE(dialog.Control<QLineEdit>(1000)->text(), QString("60"));
        QCOMPARE(dialog.Control<QLineEdit>(1001)->text(), QString("0"));
        QCOMPARE(dialog.Control<QLineEdit>(1002)->text(), QString("0.026"));
        QCOMPARE(dialog.Control<QListWidget>(1011)->count(), 0);
        QCOMPARE(dialog.Control<QPushButton>(1025)->text(), QString("C&alculate"));
        QCOMPARE(dialog.Control<QPushButton>(1026)->text(), QString("Clean Up"));
        QCOMPARE(dialog.Control<QPushButton>(1027)->text(), QString("&Save"));
        QCOMPARE(dialog.Control<QPushButton>(1)->text(), QString("&Close"));
    }

    void calculateListsThePublishedBlocks()
    {
        // State: defaults. Action: Calculate; then 35 deg, 1500 m and Calculate again.
        // Expected: the default block, then a second block with the published factors, its heading selected.
        CScalingFactorDLG dialog;
        dialog.Control<QPushButton>(1025)->click();
        QCOMPARE(dialog.Results().Lines(), kDefaultBlock);
        QListWidget* list = dialog.Control<QListWidget>(1011);
        QCOMPARE(list->count(), 8);
        QCOMPARE(list->item(4)->text(), QString("Stone 2000:   1.002078"));

        dialog.Control<QLineEdit>(1000)->setText("35");
        dialog.Control<QLineEdit>(1001)->setText("1500");
        dialog.Control<QPushButton>(1025)->click();
        QCOMPARE(list->count(), 16);
        QCOMPARE(list->item(8)->text(), QString("Calculation Result 2"));
        QCOMPARE(list->currentRow(), 8);
        QCOMPARE(list->item(12)->text(), QString("Stone 2000:   2.848175"));
        QCOMPARE(list->item(15)->text(), QString("Dunai 2000:   2.635942"));
        QCOMPARE(dialog.m_dLatitude, 35.0);
    }

    void outOfRangeFieldsAppendNothing()
    {
        // State: defaults. Action: latitude 95, then -90.5, then muon 0.31, each with Calculate.
        // Expected: a range message each time, nothing appended, members unchanged.
        CScalingFactorDLG dialog;
        CMessageRecorder messages;
        dialog.Control<QLineEdit>(1000)->setText("95");
        dialog.Control<QPushButton>(1025)->click();
        dialog.Control<QLineEdit>(1000)->setText("-90.5");
        dialog.Control<QPushButton>(1025)->click();
        dialog.Control<QLineEdit>(1000)->setText("45");
        dialog.Control<QLineEdit>(1002)->setText("0.31");
        dialog.Control<QPushButton>(1025)->click();
        QCOMPARE(messages.Messages(), (std::vector<std::string>{"Enter a number between -90 and 90.",
                                                                "Enter a number between -90 and 90.",
                                                                "Enter a number between 0 and 0.3."}));
        QVERIFY(dialog.Results().Lines().empty());
        QCOMPARE(dialog.Results().m_nResultCount, 0);
        QCOMPARE(dialog.m_dLatitude, 60.0);
    }

    void cleanUpRestartsTheNumberingAndSaveWritesTheList()
    {
        // State: two blocks. Action: Clean Up, Calculate, Save to a chosen file.
        // Expected: the list holds one block numbered 1 again, and the file holds exactly it.
        CScalingFactorDLG dialog;
        dialog.Control<QPushButton>(1025)->click();
        dialog.Control<QPushButton>(1025)->click();
        dialog.Control<QPushButton>(1026)->click();
        QCOMPARE(dialog.Control<QListWidget>(1011)->count(), 0);
        dialog.Control<QPushButton>(1025)->click();
        QCOMPARE(dialog.Results().Lines(), kDefaultBlock);

        test::TempDir dir;
        CScriptedFileChooser chooser;
        chooser.Answer(QString::fromStdString(dir.File("factors.txt")));
        dialog.Control<QPushButton>(1027)->click();
        std::string expected;
        for (const auto& line : kDefaultBlock)
            expected += line + "\n";
        QCOMPARE(test::ReadFile(dir.File("factors.txt")), expected);
    }

    void gridDialogOpensWithItsDefaultsAndBrowses()
    {
        // State: a fresh grid dialog. Action: Browse answered, then Browse cancelled.
        // Expected: the defaults; the chosen path in the output box, kept after the cancel.
        CSFCalDlg dialog;
        QCOMPARE(dialog.windowTitle(), QString("Calculate SF around the World"));
        QCOMPARE(dialog.TemplateId(), 132);
        const std::vector<std::pair<int, QString>> defaults = {{1003, "0"},    {1004, "90"},   {1007, "10"},
                                                               {1005, "0"},    {1006, "8000"}, {1008, "1000"},
                                                               {1009, "0.026"}, {1027, ""}};
        for (const auto& [id, text] : defaults)
            QCOMPARE(dialog.Control<QLineEdit>(id)->text(), text);

        CScriptedFileChooser chooser;
        chooser.Answer("/tmp/world.txt");
        chooser.Cancel();
        dialog.Control<QPushButton>(1024)->click();
        dialog.Control<QPushButton>(1024)->click();
        QCOMPARE(dialog.Control<QLineEdit>(1027)->text(), QString("/tmp/world.txt"));
        QCOMPARE(int(chooser.Requests().size()), 2);
        QVERIFY(chooser.Requests()[0].kind == ChooserKind::Save);
        QCOMPARE(chooser.Requests()[0].defaultExtensionText, QString("Output file"));
        QCOMPARE(chooser.Requests()[0].filter, QString("Output File (*.txt)|*.txt|All Files (*.*)|*.*||"));
    }

    void gridDialogKeepsARejectedFieldOpen()
    {
        // State: a latitude step of 0 typed. Action: OK. Expected: a range message, dialog not accepted,
        // no member changed; a path of 101 characters is refused likewise.
        CSFCalDlg dialog;
        CMessageRecorder messages;
        dialog.Control<QLineEdit>(1004)->setText("30");
        dialog.Control<QLineEdit>(1007)->setText("0");
        dialog.Control<QPushButton>(1)->click();
        QCOMPARE(dialog.result(), int(QDialog::Rejected));
        QCOMPARE(dialog.m_dEndLat, 90.0);
        dialog.Control<QLineEdit>(1007)->setText("5");
        dialog.Control<QLineEdit>(1027)->setText(QString(101, 'a'));
        dialog.Control<QPushButton>(1)->click();
        QCOMPARE(dialog.result(), int(QDialog::Rejected));
        QCOMPARE(messages.Messages(), (std::vector<std::string>{"Enter a number between 0.001 and 90.",
                                                                "Enter no more than 100 characters."}));
        dialog.Control<QLineEdit>(1027)->setText("t.txt");
        dialog.Control<QPushButton>(1)->click();
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
        QCOMPARE(dialog.Grid().endLatitude, 30.0);
        QCOMPARE(dialog.Grid().latitudeInterval, 5.0);
    }

    void worldTableCommandWritesTheDefaultTable()
    {
        // State: a file path typed into the grid dialog. Action: OK. Expected: the 90-row table, no message, no question.
        test::TempDir dir;
        const std::string path = dir.File("world.txt");
        CMessageRecorder messages;
        WorldTableRun run;
        run.edits = {{1027, QString::fromStdString(path)}};
        run.Run();
        QCOMPARE(run.dialogs, 1);
        const std::string text = test::ReadFile(path);
        QCOMPARE(std::count(text.begin(), text.end(), '\n'), 13L + 90L);
        QVERIFY(messages.Messages().empty());
    }

    void worldTableCommandStopsOnCancelOrAnUnwritablePath()
    {
        // State: grid dialog. Action: Cancel; then OK with no path. Expected: no file; then the message.
        test::TempDir dir;
        CMessageRecorder messages;
        auto previous = CQEXDoc::SetModalRunner([](QDialog&) { return int(QDialog::Rejected); });
        CQEXDoc document;
        document.OnCommand(ID_WORLD_TABLE);
        CQEXDoc::SetModalRunner(previous);
        QVERIFY(QDir(QString::fromStdString(dir.Path())).isEmpty());
        QVERIFY(messages.Messages().empty());

        WorldTableRun run;
        run.Run();
        QCOMPARE(messages.Messages(), std::vector<std::string>{"Can not find Output file!"});
    }

    void aHugeTableIsAnnouncedAndCanBeDeclined()
    {
        // State: steps of 0.001 deg and 1 m over the default ranges. Action: OK, then No to the question.
        // Expected: the question names 90000 x 8001 = 720,090,000 rows; no file is written.
        test::TempDir dir;
        const std::string path = dir.File("world.txt");
        WorldTableRun run;
        run.edits = {{1027, QString::fromStdString(path)}, {1007, "0.001"}, {1008, "1"}};
        run.answer = QMessageBox::No;
        run.Run();
        QCOMPARE(run.dialogs, 2);
        QVERIFY2(run.question.contains("720,090,000 rows"), qPrintable(run.question));
        QVERIFY(run.question.contains("GB"));
        QVERIFY(!test::FileExists(path));
    }

    void cancellingTheProgressKeepsThePreviousFile()
    {
        // State: a previous table on disk, not written since the program started; a grid of about 72
        // million rows. Action: Yes to replacing it and to the size, then Cancel in the progress dialog.
        // Expected: the replacement asked once; the previous file untouched, no temporary left.
        test::TempDir dir;
        const std::string path = dir.File("world.txt");
        test::WriteFile(path, "previous table\n");
        CScriptedAnswers answers;
        answers.Answer(true);
        WorldTableRun run;
        run.edits = {{1027, QString::fromStdString(path)}, {1007, "0.01"}, {1008, "1"}};
        run.answer = QMessageBox::Yes;
        run.cancelWhileWriting = true;
        QElapsedTimer clock;
        clock.start();
        run.Run();
        QVERIFY(clock.elapsed() < 20000);
        QVERIFY(!run.question.isEmpty());
        QCOMPARE(test::ReadFile(path), std::string("previous table\n"));
        QCOMPARE(QDir(QString::fromStdString(dir.Path())).entryList(QDir::Files).size(), 1);
        QCOMPARE(answers.Questions(), QStringList{ReplaceQuestion(QString::fromStdString(path))});
    }
};

QTEST_MAIN(ScalingDialogsTest)
#include "tst_ScalingDialogs.moc"
