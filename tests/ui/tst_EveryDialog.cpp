// What every calculator dialog does alike: Enter calculates, Close and Escape
// close whatever the fields hold, closing asks before results that were not
// saved are lost, each new block shows from its heading, the list grows with
// the dialog and never below its template, every number box names its unit,
// and Plot never draws a stale result.

#include "core/Message.h"
#include "corrections/ShieldDLG.h"
#include "corrections/SlopeThickDLG.h"
#include "corrections/ThicknessDLG.h"
#include "geomag/ExpDlg.h"
#include "proxy/CutResDlg.h"
#include "proxy/ProxyDlg.h"
#include "scaling/SFCalDlg.h"
#include "scaling/ScalingFactorDLG.h"
#include "tests/support/InputTables.h"
#include "tests/support/TestSupport.h"
#include "ui/FileChooser.h"
#include "ui/ListBox.h"
#include "ui/Settings.h"

#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <deque>
#include <functional>
#include <memory>

using namespace qex;

namespace {

const QString kLr04 = QString::fromStdString(test::SourceDir() + "/examples/proxy/LR04.dat");

// The eight calculator dialogs, each ready to calculate with files in `dir`.
struct Calculator {
    const char* name;
    std::function<std::unique_ptr<CTemplateDialog>(const test::TempDir& dir)> make;
};

template <class Dialog>
std::unique_ptr<CTemplateDialog> Make(const std::vector<std::pair<int, QString>>& texts = {})
{
    auto dialog = std::make_unique<Dialog>();
    for (const auto& [id, text] : texts)
        dialog->template Control<QLineEdit>(id)->setText(text);
    return dialog;
}

const std::vector<Calculator>& Calculators()
{
    static const std::vector<Calculator> calculators = {
        {"simulation",
         [](const test::TempDir& dir) {
             return Make<CProxyDlg>({{1023, kLr04}, {1027, QString::fromStdString(dir.File("report.txt"))}});
         }},
        {"cut results", [](const test::TempDir&) { return Make<CCutResDlg>({{1023, kLr04}}); }},
        {"scaling factor", [](const test::TempDir&) { return Make<CScalingFactorDLG>(); }},
        {"world table",
         [](const test::TempDir& dir) { return Make<CSFCalDlg>({{1027, QString::fromStdString(dir.File("t.txt"))}}); }},
        {"thickness", [](const test::TempDir&) { return Make<CThicknessDLG>(); }},
        {"slope-thickness", [](const test::TempDir&) { return Make<CSlopeThickDLG>(); }},
        {"shielding", [](const test::TempDir&) { return Make<CShieldDLG>(); }},
        {"exposure age", [](const test::TempDir&) { return Make<CExpDlg>(); }},
    };
    return calculators;
}

// The results list of a calculator dialog: the list box that scrolls its last line to the top.
CListBox* ResultsList(const QDialog& dialog)
{
    for (CListBox* list : dialog.findChildren<CListBox*>())
        if (list->ScrollPastEnd())
            return list;
    return nullptr;
}

// Answers each message box as a user would: with the next queued button (No
// when none is queued), ticking its check box when asked to.
class CBoxAnswerer : public QObject {
public:
    CBoxAnswerer()
    {
        connect(&m_poll, &QTimer::timeout, this, &CBoxAnswerer::Poll);
        m_poll.start(20);
    }
    void Queue(QMessageBox::StandardButton button, bool tick = false) { m_answers.push_back({button, tick}); }
    QStringList seen;

private:
    void Poll()
    {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (box == nullptr || !box->isVisible())
            return;
        seen << box->text();
        auto [button, tick] = m_answers.empty() ? std::pair{QMessageBox::No, false} : m_answers.front();
        if (!m_answers.empty())
            m_answers.pop_front();
        if (tick && box->checkBox() != nullptr)
            box->checkBox()->setChecked(true);
        if (QAbstractButton* answer = box->button(button))
            answer->click();
        else
            box->reject();
    }
    QTimer m_poll;
    std::deque<std::pair<QMessageBox::StandardButton, bool>> m_answers;
};

bool ShowAndWait(QDialog& dialog)
{
    dialog.show();
    return QTest::qWaitForWindowActive(&dialog);
}

// The button that closes the dialog without its calculation: Close, or the grid dialog's Cancel.
QPushButton* CloseButton(const CTemplateDialog& dialog)
{
    return dialog.Control<QPushButton>(qobject_cast<const CResultDialog*>(&dialog) != nullptr ? 1 : 2);
}

} // namespace

class EveryDialogTest : public QObject {
    Q_OBJECT

private slots:
    void init() { ApplicationSettings().remove(kAskBeforeDiscardingKey); }

    void enterRunsTheCalculation()
    {
        // State: each dialog open, its first field focused. Action: Enter.
        // Expected: one result listed and the dialog still open (the grid dialog's calculation is its OK).
        for (const Calculator& calculator : Calculators()) {
            test::TempDir dir;
            auto dialog = calculator.make(dir);
            QVERIFY2(ShowAndWait(*dialog), calculator.name);
            CMessageRecorder messages;
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
            QVERIFY2(messages.Messages().empty(), calculator.name);
            if (auto* results = qobject_cast<CResultDialog*>(dialog.get())) {
                QVERIFY2(results->isVisible(), calculator.name);
                QCOMPARE(results->Results().m_nResultCount, 1);
            } else {
                QCOMPARE(dialog->result(), int(QDialog::Accepted));
            }
        }
    }

    void closeAndEscapeCloseWhateverTheFieldsHold()
    {
        // State: each dialog with "abc" in every box. Action: Close (Cancel), or Escape.
        // Expected: the dialog closed, no message, no question.
        for (const Calculator& calculator : Calculators()) {
            for (const bool escape : {false, true}) {
                test::TempDir dir;
                auto dialog = calculator.make(dir);
                QVERIFY2(ShowAndWait(*dialog), calculator.name);
                for (QLineEdit* box : dialog->findChildren<QLineEdit*>())
                    box->setText("abc");
                CMessageRecorder messages;
                CBoxAnswerer answerer;
                if (escape)
                    QTest::keyClick(dialog.get(), Qt::Key_Escape);
                else
                    CloseButton(*dialog)->click();
                QVERIFY2(!dialog->isVisible(), calculator.name);
                QVERIFY2(messages.Messages().empty(), calculator.name);
                QVERIFY2(answerer.seen.isEmpty(), calculator.name);
            }
        }
    }

    void closingAsksBeforeResultsThatWereNotSavedAreLost()
    {
        // State: a result listed. Action: Escape, answered No; Save; Close.
        // Expected: the question, the dialog still open; after saving, Close closes without asking.
        for (const Calculator& calculator : Calculators()) {
            test::TempDir dir;
            auto made = calculator.make(dir);
            auto* dialog = qobject_cast<CResultDialog*>(made.get());
            if (dialog == nullptr)
                continue; // the grid dialog keeps no results
            QVERIFY2(ShowAndWait(*dialog), calculator.name);
            dialog->Calculate();
            QVERIFY(dialog->HasUnsavedResults());
            CBoxAnswerer answerer;
            answerer.Queue(QMessageBox::No);
            QTest::keyClick(dialog, Qt::Key_Escape);
            QCOMPARE(answerer.seen, QStringList{CResultDialog::DiscardQuestion()});
            QVERIFY2(dialog->isVisible(), calculator.name);

            CScriptedFileChooser chooser;
            chooser.Answer(QString::fromStdString(dir.File("saved.txt")));
            dialog->Save();
            QVERIFY(!dialog->HasUnsavedResults());
            CloseButton(*dialog)->click();
            QVERIFY2(!dialog->isVisible(), calculator.name);
            QCOMPARE(answerer.seen.size(), 1);
        }
    }

    void doNotAskAgainIsKeptInTheSettings()
    {
        // State: two dialogs with unsaved results. Action: close the first with "Do not ask again" and Yes,
        // then the second. Expected: one question; the answer kept in the settings.
        CBoxAnswerer answerer;
        answerer.Queue(QMessageBox::Yes, true);
        for (int i = 0; i < 2; ++i) {
            CThicknessDLG dialog;
            QVERIFY(ShowAndWait(dialog));
            dialog.Calculate();
            dialog.Control<QPushButton>(1)->click();
            QVERIFY(!dialog.isVisible());
        }
        QCOMPARE(answerer.seen.size(), 1);
        QCOMPARE(ApplicationSettings().value(kAskBeforeDiscardingKey, true).toBool(), false);
    }

    void eachNewBlockShowsFromItsHeadingInAFixedWidthFace()
    {
        // State: each dialog at its opening size. Action: three calculations.
        // Expected: after each, the new heading is the selected and the top visible line.
        for (const Calculator& calculator : Calculators()) {
            test::TempDir dir;
            auto made = calculator.make(dir);
            auto* dialog = qobject_cast<CResultDialog*>(made.get());
            if (dialog == nullptr)
                continue;
            QVERIFY2(ShowAndWait(*dialog), calculator.name);
            CListBox* list = ResultsList(*dialog);
            QVERIFY2(list != nullptr, calculator.name);
            QVERIFY2(QFontInfo(list->font()).fixedPitch(), calculator.name);
            for (int block = 1; block <= 3; ++block) {
                dialog->Calculate();
                const int heading = dialog->Results().Selected();
                QVERIFY2(heading > 0 || block == 1, calculator.name);
                QCOMPARE(list->currentRow(), heading);
                QCOMPARE(list->TopRow(), heading);
            }
        }
    }

    void everyDialogGrowsWithItsListAndNeverBelowItsTemplate()
    {
        // State: each dialog at its opening size. Action: enlarge it, then try to make it smaller.
        // Expected: the list grows by as much, the buttons below it move down; never below the opening size.
        const QSize more(120, 90);
        for (const Calculator& calculator : Calculators()) {
            test::TempDir dir;
            auto dialog = calculator.make(dir);
            QVERIFY2(ShowAndWait(*dialog), calculator.name);
            const QSize opening = dialog->size();
            QCOMPARE(dialog->minimumSize(), opening);
            QListWidget* list = ResultsList(*dialog);
            const QRect listBefore = list != nullptr ? list->geometry() : QRect();
            const QRect closeBefore = CloseButton(*dialog)->geometry();

            dialog->resize(opening + more);
            QTRY_COMPARE(dialog->size(), opening + more);
            if (list != nullptr) {
                QCOMPARE(list->size(), listBefore.size() + more);
                QCOMPARE(CloseButton(*dialog)->geometry(), closeBefore.translated(0, more.height()));
            }
            dialog->resize(opening - QSize(40, 40));
            QTRY_COMPARE(dialog->size(), opening);
        }
    }

    void everyNumberBoxNamesItsUnit()
    {
        // State: each dialog. Expected: every box has its row's tooltip, naming the unit; a number box whose
        // template label names no unit has a unit label right of it on its row.
        for (const Calculator& calculator : Calculators()) {
            test::TempDir dir;
            auto dialog = calculator.make(dir);
            QVERIFY2(ShowAndWait(*dialog), calculator.name);
            int numbers = 0;
            for (QLineEdit* box : dialog->findChildren<QLineEdit*>()) {
                const QByteArray where = QByteArray(calculator.name) + " " + box->objectName().toUtf8();
                QVERIFY2(!box->toolTip().isEmpty(), where.constData());
                test::ForEveryInputTable([&](const std::string&, const auto& table) {
                    for (const auto& row : table.Rows()) {
                        const InputDescription d = DescribeInput(row);
                        if (row.controlId != box->objectName().toInt() || d.kind != InputKind::Number ||
                            box->toolTip().toStdString() != InputToolTip(d))
                            continue;
                        ++numbers;
                        const QString unit = QString::fromStdString(InputBoxUnit(d));
                        QVERIFY2(!unit.isEmpty(), where.constData());
                        QVERIFY2(box->toolTip().section('\n', 0, 0).endsWith(")"), where.constData());
                        // The template's label nearest left of the box, on its row.
                        QString templateLabel;
                        int nearest = -1;
                        for (QLabel* label : dialog->findChildren<QLabel*>()) {
                            const QRect r = label->geometry();
                            if (r.right() <= box->geometry().left() && r.right() > nearest &&
                                r.bottom() >= box->geometry().top() && r.top() <= box->geometry().bottom() &&
                                !label->objectName().startsWith("unit")) {
                                templateLabel = label->text();
                                nearest = r.right();
                            }
                        }
                        auto* unitLabel = dialog->findChild<QLabel*>("unit" + box->objectName());
                        if (templateLabel.contains("(" + unit + ")")) {
                            QVERIFY2(unitLabel == nullptr, where.constData());
                        } else {
                            QVERIFY2(unitLabel != nullptr, where.constData());
                            // The unit, or the unit and what the typed value is in another.
                            QVERIFY2(unitLabel->text() == unit || unitLabel->text().startsWith(unit + " = "),
                                     where.constData());
                            QVERIFY2(unitLabel->geometry().left() > box->geometry().right(), where.constData());
                            QCOMPARE(unitLabel->geometry().top(), box->geometry().top());
                        }
                    }
                });
            }
            QVERIFY2(numbers > 0, calculator.name);
        }
    }

    void plotIsOnWhileAResultIsListed()
    {
        // State: the two dialogs that plot. Action: a result, Clean Up, a result, a calculation that fails.
        // Expected: Plot on after each result, off after Clean Up, still on after the failure (the
        // result before it is still listed).
        for (const Calculator& calculator : Calculators()) {
            test::TempDir dir;
            auto made = calculator.make(dir);
            auto* dialog = qobject_cast<CResultDialog*>(made.get());
            auto* plot = made->Control<QPushButton>(1040);
            if (dialog == nullptr || plot == nullptr)
                continue;
            dialog->Calculate();
            QVERIFY2(plot->isEnabled(), calculator.name);
            dialog->CleanUp();
            QVERIFY2(!plot->isEnabled(), calculator.name);
            dialog->Calculate();
            QVERIFY2(plot->isEnabled(), calculator.name);
            CMessageRecorder messages;
            dialog->Control<QLineEdit>(1023)->setText(QString::fromStdString(dir.File("missing.dat")));
            dialog->Calculate();
            QVERIFY2(!messages.Messages().empty(), calculator.name);
            QVERIFY2(plot->isEnabled(), calculator.name);
        }
    }
};

QTEST_MAIN(EveryDialogTest)
#include "tst_EveryDialog.moc"
