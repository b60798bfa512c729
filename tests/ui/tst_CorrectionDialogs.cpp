// The thickness and slope-thickness dialogs, and all three correction
// dialogs reached from the "&Calculators" menu.

#include "app/Commands.h"
#include "app/MainFrame.h"
#include "app/QEXApp.h"
#include "app/QEXDoc.h"
#include "core/Message.h"
#include "corrections/ShieldDLG.h"
#include "corrections/SlopeThickDLG.h"
#include "corrections/ThicknessDLG.h"

#include <QAction>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QTest>

using namespace qex;

namespace {

QStringList ListTexts(const QListWidget* list)
{
    QStringList texts;
    for (int i = 0; i < list->count(); ++i)
        texts << list->item(i)->text();
    return texts;
}

} // namespace

class CorrectionDialogsTest : public QObject {
    Q_OBJECT

private slots:
    void thicknessDialogListsItsBlockAndRefusesADensityOutOfRange()
    {
        // State: a fresh thickness dialog. Action: Calculate; thickness 100, Calculate; density 10001, Calculate.
        // Expected: blocks 1 and 2 (0.981889, 0.458247), heading 2 selected; then the range message, nothing added.
        CThicknessDLG dlg;
        QCOMPARE(dlg.windowTitle(), QString("Thickness Correction"));
        QCOMPARE(dlg.size(), dlg.ToPixels(0, 0, 232, 167).size());
        QCOMPARE(dlg.Control<QLineEdit>(1001)->text(), QString("2.75"));
        dlg.Control<QPushButton>(1025)->click();
        dlg.Control<QLineEdit>(1000)->setText("100");
        dlg.Control<QPushButton>(1025)->click();
        auto* list = dlg.Control<QListWidget>(1011);
        QCOMPARE(ListTexts(list), QStringList({"Calculation Result 1", "Density:   2.750000", "FreePath:   150.000000",
                                               "Thickness:   2.000000", "Factor:   0.981889", "Calculation Result 2",
                                               "Density:   2.750000", "FreePath:   150.000000",
                                               "Thickness:   100.000000", "Factor:   0.458247"}));
        QCOMPARE(list->currentRow(), 5);
        CMessageRecorder messages;
        dlg.Control<QLineEdit>(1001)->setText("10001");
        dlg.Control<QPushButton>(1025)->click();
        QCOMPARE(messages.Messages(), std::vector<std::string>{"Enter a number between 0 and 10000."});
        QCOMPARE(dlg.Results().m_nLineCount, 10);
        QCOMPARE(dlg.Results().m_nResultCount, 2);
    }

    void slopeThicknessDialogListsSlopeAndFactorWithItsOwnDensityRange()
    {
        // State: fresh slope-thickness dialog. Action: density 1001, Calculate; density 2.75, slope 30, strike 200,
        // Calculate. Expected: range 0 to 1000 refused; then six lines with 0.950715.
        CSlopeThickDLG dlg;
        QCOMPARE(dlg.windowTitle(), QString("Slope-Thickness Correction"));
        QCOMPARE(dlg.size(), dlg.ToPixels(0, 0, 232, 182).size());
        CMessageRecorder messages;
        dlg.Control<QLineEdit>(1001)->setText("1001");
        dlg.Control<QPushButton>(1025)->click();
        QCOMPARE(messages.Messages(), std::vector<std::string>{"Enter a number between 0 and 1000."});
        QCOMPARE(dlg.Results().m_nLineCount, 0);
        dlg.Control<QLineEdit>(1001)->setText("2.75");
        dlg.Control<QLineEdit>(1003)->setText("30");
        dlg.Control<QLineEdit>(1004)->setText("200");
        dlg.Control<QPushButton>(1025)->click();
        QCOMPARE(ListTexts(dlg.Control<QListWidget>(1011)),
                 QStringList({"Calculation Result 1", "Density:   2.750000", "FreePath:   150.000000",
                              "Thickness:   2.000000", "Slope:   30.000000", "Factor:   0.950715"}));
    }

    void calculatorsMenuOpensTheThreeCorrectionDialogs()
    {
        // State: the program started. Action: each correction item of "&Calculators", Calculate in the dialog.
        // Expected: the dialog of its template, listing its reference factor.
        CQEXApp app;
        QVERIFY(app.InitInstance({"qex"}));
        QMenu* menu = app.MainFrame()->findChild<QMenu*>("menuCalculators");
        QVERIFY(menu != nullptr);
        QStringList opened;
        QStringList factors;
        CQEXDoc::SetModalRunner([&](QDialog& dialog) {
            opened << dialog.objectName();
            if (auto* shield = qobject_cast<CShieldDLG*>(&dialog)) {
                shield->Control<QLineEdit>(1015)->setText("100");
                shield->Control<QLineEdit>(1016)->setText("30");
                shield->Control<QPushButton>(1012)->click();
            }
            dialog.findChild<QPushButton*>("1025")->click();
            const auto* result = dynamic_cast<CResultDialog*>(&dialog);
            factors << QString::fromStdString(result->Results().Lines().back());
            return int(QDialog::Accepted);
        });
        for (int id : {ID_THICKNESS, ID_SLOPE_THICKNESS, ID_SHIELDING}) {
            QAction* item = nullptr;
            for (QAction* action : menu->actions())
                if (action->data().toInt() == id)
                    item = action;
            QVERIFY(item != nullptr);
            QVERIFY(item->isEnabled());
            item->trigger();
        }
        CQEXDoc::SetModalRunner(nullptr);
        QCOMPARE(opened, QStringList({"IDD_134", "IDD_135", "IDD_136"}));
        QCOMPARE(factors,
                 QStringList({"Factor:   0.981889", "Factor:   0.981889", "Shielding Factor:  0.898468"}));
    }
};

QTEST_MAIN(CorrectionDialogsTest)
#include "tst_CorrectionDialogs.moc"
