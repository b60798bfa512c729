// The seams every calculator dialog is built from: data exchange with range
// checks, the results list box with Save, and the template layout.

#include "core/Message.h"
#include "tests/support/TestSupport.h"
#include "ui/DataExchange.h"
#include "ui/FileChooser.h"
#include "ui/FileReplacement.h"
#include "ui/MessageBoxSink.h"
#include "ui/Question.h"
#include "ui/ResultListBox.h"
#include "ui/TemplateDialog.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QApplication>
#include <QListWidget>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>

using namespace qex;

namespace {

class SampleDialog : public CTemplateDialog {
public:
    SampleDialog() : CTemplateDialog(999, "Sample", 200, 100, 9)
    {
        AddLabel("10Be N(atoms/g):", 2, 27, 58, 9);
        a = AddEdit(1000, 10, 10, 50, 12);
        b = AddEdit(1001, 62, 25, 50, 12);
        path = AddEdit(1002, 10, 40, 100, 12);
        check = AddCheck(1003, "Tick", 10, 55, 50, 10);
        list = AddList(1011, 70, 10, 120, 60);
        ok = AddButton(1, "&Close", 140, 80, 38, 14, true);
        SetTabOrderFromTemplate();
        exchange.Double(a, m_a, 0, 90);
        exchange.Double(b, m_b);
        exchange.Text(path, m_path, 10);
        exchange.Check(check, m_check);
        exchange.ToControls();
    }
    QLineEdit* a;
    QLineEdit* b;
    QLineEdit* path;
    QCheckBox* check;
    QListWidget* list;
    QPushButton* ok;
    double m_a = 60;
    double m_b = 0.026;
    std::string m_path = "x";
    int m_check = 1;
    CDataExchange exchange;
};

} // namespace

class DialogSeamsTest : public QObject {
    Q_OBJECT

private slots:
    void membersAreShownInTheirControls()
    {
        // State: a fresh dialog. Action: none. Expected: the defaults in the boxes.
        SampleDialog dialog;
        QCOMPARE(dialog.a->text(), QString("60"));
        QCOMPARE(dialog.b->text(), QString("0.026"));
        QCOMPARE(dialog.path->text(), QString("x"));
        QVERIFY(dialog.check->isChecked());
        QCOMPARE(dialog.Control<QLineEdit>(1001), dialog.b);
        QCOMPARE(dialog.Control<QPushButton>(1), dialog.ok);
        QVERIFY(dialog.ok->isDefault());
    }

    void aRejectedFieldStopsTheExchangeAndChangesNoMember()
    {
        // State: first field valid but changed, second not a number. Action: take values.
        // Expected: a message naming the field as its label does and what is wrong, focus on the
        // second field, no member changed (not even the first).
        const std::pair<const char*, const char*> cases[] = {
            {"abc", "10Be N: abc is not a number (enter a number)"},
            {"2,5", "10Be N: 2,5 is not a number (use a decimal point)"},
            {" ", "10Be N: the box is empty (enter a number)"},
        };
        SampleDialog dialog;
        dialog.show();
        QVERIFY(QTest::qWaitForWindowActive(&dialog));
        for (const auto& [typed, said] : cases) {
            dialog.a->setText("45");
            dialog.b->setText(typed);
            dialog.check->setChecked(false);
            CMessageRecorder messages;
            QVERIFY(!dialog.exchange.FromControls());
            QCOMPARE(messages.Messages(), std::vector<std::string>{said});
            QCOMPARE(QApplication::focusWidget(), static_cast<QWidget*>(dialog.b));
            QCOMPARE(dialog.m_a, 60.0);
            QCOMPARE(dialog.m_check, 1);
        }
    }

    void rangesAreInclusiveAndNamedInTheMessage()
    {
        // State: a ranged field. Action: take 90, then 90.5, then a too-long text. Expected: 90 taken, then refusals.
        SampleDialog dialog;
        dialog.a->setText("90");
        QVERIFY(dialog.exchange.FromControls());
        QCOMPARE(dialog.m_a, 90.0);
        CMessageRecorder messages;
        dialog.a->setText("90.5");
        QVERIFY(!dialog.exchange.FromControls());
        dialog.a->setText("-0");
        dialog.path->setText("abcdefghijk");
        QVERIFY(!dialog.exchange.FromControls());
        QCOMPARE(messages.Messages(), (std::vector<std::string>{"Enter a number between 0 and 90.",
                                                                "Enter no more than 10 characters."}));
        QCOMPARE(dialog.m_a, 90.0);
        QCOMPARE(dialog.m_path, std::string("x"));
    }

    void theListBoxShowsBlocksAndSelectsTheLatestHeading()
    {
        // State: empty list. Action: two blocks and a loose line. Expected: all lines shown, second heading selected.
        SampleDialog dialog;
        CResultListBox results(dialog.list);
        results.Model().AppendBlock({"one"});
        results.Model().AppendBlock({"two"});
        results.Model().AppendLine("Calculation doesn't have valid results\n");
        results.Refresh();
        QCOMPARE(dialog.list->count(), 5);
        QCOMPARE(dialog.list->item(2)->text(), QString("Calculation Result 2"));
        QCOMPARE(dialog.list->currentRow(), 2);
        results.CleanUp();
        QCOMPARE(dialog.list->count(), 0);
        QCOMPARE(results.Model().NextHeading(), std::string("Calculation Result 1"));
    }

    void saveAsksForAPathAndWritesTheLines()
    {
        // State: a block in the list. Action: Save, answered; Save, cancelled. Expected: the file, then nothing more.
        SampleDialog dialog;
        CResultListBox results(dialog.list);
        results.Model().AppendBlock({"Factor:   0.981889"});
        results.Refresh();
        test::TempDir dir;
        CScriptedFileChooser chooser;
        chooser.Answer(QString::fromStdString(dir.File("out.txt")));
        results.Save(&dialog);
        QCOMPARE(QString::fromStdString(test::ReadFile(dir.File("out.txt"))),
                 QString("Calculation Result 1\nFactor:   0.981889\n"));
        QCOMPARE(int(chooser.Requests().size()), 1);
        QCOMPARE(chooser.Requests()[0].defaultExtensionText, QString("Output File"));
        QCOMPARE(chooser.Requests()[0].filter, QString("Output File (*.txt)|*.txt|All Files (*.*)|*.*||"));
        QVERIFY(chooser.Requests()[0].kind == ChooserKind::Save);
        chooser.Cancel();
        CMessageRecorder messages;
        results.Save(&dialog);
        QVERIFY(messages.Messages().empty());
    }

    void saveNeverReplacesAnotherFileUnaskedNorSavesAnEmptyList()
    {
        // State: a block in the list, a data file beside it. Action: Save onto the data file, answered
        // No then Yes; Save again to that file; Save after Clean Up.
        // Expected: the data file byte-identical after No; replaced after Yes; the second save to the
        // list's own file asks nothing; an empty list is refused with a message, nothing written.
        SampleDialog dialog;
        CResultListBox results(dialog.list);
        results.Model().AppendBlock({"Factor:   0.981889"});
        results.Refresh();
        test::TempDir dir;
        const std::string curve = dir.File("curve.dat");
        const std::string data = "Proxy_Data Curve\n0 3.2\n1000 4.1\n";
        test::WriteFile(curve, data);
        CScriptedFileChooser chooser;
        CScriptedAnswers answers;
        chooser.Answer(QString::fromStdString(curve));
        answers.Answer(false);
        QVERIFY(!results.Save(&dialog));
        QCOMPARE(test::ReadFile(curve), data);
        QCOMPARE(answers.Questions(), QStringList{ReplaceQuestion(QString::fromStdString(curve))});
        chooser.Answer(QString::fromStdString(curve));
        answers.Answer(true);
        QVERIFY(results.Save(&dialog));
        chooser.Answer(QString::fromStdString(curve));
        QVERIFY(results.Save(&dialog));
        QCOMPARE(answers.Questions().size(), 2);
        QCOMPARE(test::ReadFile(curve), std::string("Calculation Result 1\nFactor:   0.981889\n"));

        results.CleanUp();
        CMessageRecorder messages;
        const auto asked = chooser.Requests().size();
        QVERIFY(!results.Save(&dialog));
        QCOMPARE(messages.Messages(), std::vector<std::string>{CResultListBox::EmptyListMessage()});
        QCOMPARE(chooser.Requests().size(), asked);
        QCOMPARE(test::ReadFile(curve), std::string("Calculation Result 1\nFactor:   0.981889\n"));
    }

    void aMessageBoxShowsTheDetailBehindItsText()
    {
        // State: the desktop's message sink. Action: a file failure is reported.
        // Expected: the box's text is the system's own, the path and reason shown under it without a click.
        const MessageSink previous = SetMessageSink({});
        InstallMessageBoxSink();
        QString text;
        QString detail;
        QTimer::singleShot(0, [&] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            QVERIFY(box != nullptr);
            text = box->text();
            detail = box->informativeText();
            box->accept();
        });
        ShowMessage("Can not find Output file!", "/data/r.txt: No space left on device");
        SetMessageSink(previous);
        QCOMPARE(text, QString("Can not find Output file!"));
        QCOMPARE(detail, QString("/data/r.txt: No space left on device"));
    }

    void filtersConvertToTheToolkitForm()
    {
        QString extension;
        QCOMPARE(ConvertFilter("Proxy Curve Data (*.dat)|*.dat|All Files (*.*)|*.*||", &extension),
                 QString("Proxy Curve Data (*.dat);;All Files (*.*)"));
        QCOMPARE(extension, QString("dat"));
    }

    void templateRectanglesScaleWithTheFont()
    {
        // State: a dialog of 200 x 100 units. Expected: its size and a control's rectangle follow the font's units.
        SampleDialog dialog;
        const QRect whole = dialog.ToPixels(0, 0, 200, 100);
        QCOMPARE(dialog.size(), whole.size());
        QCOMPARE(dialog.b->geometry(), dialog.ToPixels(62, 25, 50, 12));
        QVERIFY(dialog.b->geometry().height() >= dialog.fontMetrics().height());
    }
};

QTEST_MAIN(DialogSeamsTest)
#include "tst_DialogSeams.moc"
