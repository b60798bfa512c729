// The shielding dialog: its template, the horizon list editing, the refusals
// and the shielding factor it lists.

#include "core/Message.h"
#include "corrections/ShieldDLG.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
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

int SelectedRow(const QListWidget* list)
{
    const auto selected = list->selectedItems();
    return selected.isEmpty() ? -1 : list->row(selected.front());
}

void Type(CShieldDLG& dlg, const QString& azimuth, const QString& angle)
{
    dlg.Control<QLineEdit>(1015)->setText(azimuth);
    dlg.Control<QLineEdit>(1016)->setText(angle);
}

void AddPoint(CShieldDLG& dlg, const QString& azimuth, const QString& angle)
{
    Type(dlg, azimuth, angle);
    dlg.Control<QPushButton>(1012)->click();
}

QListWidget* Horizon(const CShieldDLG& dlg)
{
    return dlg.Control<QListWidget>(1011);
}

} // namespace

class ShieldDLGTest : public QObject {
    Q_OBJECT

private slots:
    void everyControlLiesAtItsTemplateRectangle()
    {
        // State: a fresh dialog. Action: none. Expected: title, size and each numbered control at its
        // rectangle (the four angle boxes narrower, for the degrees beside them; the horizon list
        // shorter, under a header naming its columns).
        CShieldDLG dlg;
        QCOMPARE(dlg.windowTitle(), QString("Shielding by obstruction and slope"));
        QCOMPARE(dlg.objectName(), QString("IDD_136"));
        QCOMPARE(dlg.size(), dlg.ToPixels(0, 0, 200, 209).size());
        const struct {
            int id, x, y, w, h;
        } rectangles[] = {{1011, 9, 27, 76, 72},   {1015, 130, 19, 34, 12},  {1016, 130, 35, 34, 12},
                          {1012, 89, 51, 48, 14},  {1018, 144, 51, 47, 14},  {1021, 89, 69, 48, 14},
                          {1017, 144, 69, 47, 14}, {1013, 89, 85, 48, 14},   {1014, 144, 85, 47, 14},
                          {1019, 32, 103, 34, 12}, {1020, 130, 103, 34, 12}, {1022, 11, 131, 177, 52},
                          {1025, 18, 189, 38, 14}, {1026, 59, 189, 38, 14},  {1027, 104, 189, 38, 14},
                          {1, 147, 189, 38, 14}};
        for (const auto& r : rectangles) {
            QWidget* control = dlg.Control(r.id);
            QVERIFY2(control != nullptr, qPrintable(QString::number(r.id)));
            QCOMPARE(control->geometry(), dlg.ToPixels(r.x, r.y, r.w, r.h));
        }
        auto* header = dlg.findChild<QLabel*>("horizonHeader");
        QVERIFY(header != nullptr);
        QCOMPARE(header->text(), QString::fromUtf8("Azimuth, Angle (\u00b0)"));
        QVERIFY(header->geometry().bottom() < Horizon(dlg)->geometry().top());
        QCOMPARE(dlg.Control<QPushButton>(1017)->text(), QString("Sort by AZ"));
        QCOMPARE(dlg.Control<QPushButton>(1014)->text(), QString("Remove All"));
        QVERIFY(dlg.Control<QPushButton>(1025)->isDefault());
    }

    void opensWithFocusInTheHorizonListAndTabsInTemplateOrder()
    {
        // State: the dialog shown. Action: follow the focus chain. Expected: focus on 1011, then the template order.
        CShieldDLG dlg;
        dlg.show();
        QVERIFY(QTest::qWaitForWindowActive(&dlg));
        QCOMPARE(QApplication::focusWidget(), static_cast<QWidget*>(Horizon(dlg)));
        QStringList order;
        QWidget* widget = Horizon(dlg);
        for (int step = 0; step < 40 && order.size() < 16; ++step, widget = widget->nextInFocusChain()) {
            bool numbered = false;
            widget->objectName().toInt(&numbered);
            if (numbered && widget->focusPolicy() != Qt::NoFocus && !order.contains(widget->objectName()))
                order << widget->objectName();
        }
        QCOMPARE(order, QStringList({"1011", "1012", "1013", "1014", "1015", "1016", "1017", "1018", "1019", "1020",
                                     "1021", "1022", "1025", "1", "1026", "1027"}));
    }

    void addAppendsTheTypedPointAndSelectsIt()
    {
        // State: empty list. Action: Add 90/20, then 100/30. Expected: lines as typed, the latest selected.
        CShieldDLG dlg;
        AddPoint(dlg, "90", "20");
        QCOMPARE(ListTexts(Horizon(dlg)), QStringList({"90, 20"}));
        QCOMPARE(SelectedRow(Horizon(dlg)), 0);
        AddPoint(dlg, "100.50", "30");
        QCOMPARE(ListTexts(Horizon(dlg)), QStringList({"90, 20", "100.50, 30"}));
        QCOMPARE(SelectedRow(Horizon(dlg)), 1);
        QCOMPARE(dlg.m_nPointCount, 2);
        QCOMPARE(dlg.m_arrAzimuthText, QStringList({"90", "100.50"}));
        QCOMPARE(dlg.m_arrAngleText, QStringList({"20", "30"}));
    }

    void sortByAzimuthReordersThePointsAndLeavesNoSelection()
    {
        // State: points 300, 20, 150 as added. Action: Sort by AZ. Expected: 20, 150, 300 with their angles, no selection.
        CShieldDLG dlg;
        AddPoint(dlg, "300", "5");
        AddPoint(dlg, "20", "15");
        AddPoint(dlg, "150", "25");
        QCOMPARE(ListTexts(Horizon(dlg)), QStringList({"300, 5", "20, 15", "150, 25"}));
        dlg.Control<QPushButton>(1017)->click();
        QCOMPARE(ListTexts(Horizon(dlg)), QStringList({"20, 15", "150, 25", "300, 5"}));
        QCOMPARE(dlg.m_arrAngleText, QStringList({"15", "25", "5"}));
        QCOMPARE(SelectedRow(Horizon(dlg)), -1);
    }

    void removeSelectsTheNeighbourAndShowsIt()
    {
        // State: three points, the last selected. Action: Remove; select the first, Remove; Remove.
        // Expected: the neighbour selected and shown each time; after the only line, an empty list.
        CShieldDLG dlg;
        AddPoint(dlg, "10", "1");
        AddPoint(dlg, "20", "2");
        AddPoint(dlg, "30", "3");
        dlg.Control<QPushButton>(1013)->click();
        QCOMPARE(ListTexts(Horizon(dlg)), QStringList({"10, 1", "20, 2"}));
        QCOMPARE(SelectedRow(Horizon(dlg)), 1);
        QCOMPARE(dlg.Control<QLineEdit>(1015)->text(), QString("20"));
        QCOMPARE(dlg.Control<QLineEdit>(1016)->text(), QString("2"));
        Horizon(dlg)->setCurrentRow(0); // the user's selection shows its point
        QCOMPARE(dlg.Control<QLineEdit>(1015)->text(), QString("10"));
        QCOMPARE(dlg.Control<QLineEdit>(1016)->text(), QString("1"));
        dlg.Control<QPushButton>(1013)->click();
        QCOMPARE(ListTexts(Horizon(dlg)), QStringList({"20, 2"}));
        QCOMPARE(SelectedRow(Horizon(dlg)), 0);
        dlg.Control<QPushButton>(1013)->click();
        QCOMPARE(Horizon(dlg)->count(), 0);
        QCOMPARE(SelectedRow(Horizon(dlg)), -1);
        QCOMPARE(dlg.m_nPointCount, 0);
        QVERIFY(dlg.m_arrAzimuthText.isEmpty());
        dlg.Control<QPushButton>(1013)->click(); // nothing selected: nothing happens
        QCOMPARE(dlg.m_nPointCount, 0);
    }

    void editReplacesTheSelectedPointInPlace()
    {
        // State: three points. Action: Edit the last, then the middle one. Expected: each stays at its place, selected.
        CShieldDLG dlg;
        AddPoint(dlg, "10", "1");
        AddPoint(dlg, "20", "2");
        AddPoint(dlg, "30", "3");
        Type(dlg, "350", "35");
        dlg.Control<QPushButton>(1018)->click();
        QCOMPARE(ListTexts(Horizon(dlg)), QStringList({"10, 1", "20, 2", "350, 35"}));
        QCOMPARE(SelectedRow(Horizon(dlg)), 2);
        Horizon(dlg)->setCurrentRow(1);
        Type(dlg, "25", "4");
        dlg.Control<QPushButton>(1018)->click();
        QCOMPARE(ListTexts(Horizon(dlg)), QStringList({"10, 1", "25, 4", "350, 35"}));
        QCOMPARE(dlg.m_arrAzimuthText, QStringList({"10", "25", "350"}));
        QCOMPARE(SelectedRow(Horizon(dlg)), 1);
        QCOMPARE(dlg.m_nPointCount, 3);
    }

    void insertPutsThePointBeforeTheSelectedLineOrAtTheEnd()
    {
        // State: two points, the first selected. Action: Insert; then with no selection Insert.
        // Expected: the new point before the first line, selected; then at the end, selected.
        CShieldDLG dlg;
        AddPoint(dlg, "10", "1");
        AddPoint(dlg, "20", "2");
        Horizon(dlg)->setCurrentRow(0);
        Type(dlg, "5", "9");
        dlg.Control<QPushButton>(1021)->click();
        QCOMPARE(ListTexts(Horizon(dlg)), QStringList({"5, 9", "10, 1", "20, 2"}));
        QCOMPARE(SelectedRow(Horizon(dlg)), 0);
        dlg.Control<QPushButton>(1017)->click(); // leaves no selection
        Type(dlg, "40", "4");
        dlg.Control<QPushButton>(1021)->click();
        QCOMPARE(ListTexts(Horizon(dlg)), QStringList({"5, 9", "10, 1", "20, 2", "40, 4"}));
        QCOMPARE(SelectedRow(Horizon(dlg)), 3);
        QCOMPARE(dlg.m_nPointCount, 4);
    }

    void pointsOutsideTheirRangesAreRefused()
    {
        // State: one point selected. Action: Add, Insert and Edit with azimuth 400, angle 95, or a word.
        // Expected: the edit box's message each time (the word named as not a number), the list unchanged.
        CShieldDLG dlg;
        AddPoint(dlg, "10", "1");
        CMessageRecorder messages;
        AddPoint(dlg, "400", "10");
        Type(dlg, "100", "95");
        dlg.Control<QPushButton>(1021)->click();
        Type(dlg, "north", "10");
        dlg.Control<QPushButton>(1018)->click();
        QCOMPARE(messages.Messages(), (std::vector<std::string>{"Enter a number between 0 and 360.",
                                                                "Enter a number between 0 and 90.",
                                                                "Azimuth: north is not a number (enter a "
                                                                "number between 0 and 360)"}));
        QCOMPARE(ListTexts(Horizon(dlg)), QStringList({"10, 1"}));
        QCOMPARE(dlg.m_arrAzimuthText, QStringList({"10"}));
        QCOMPARE(dlg.m_nPointCount, 1);
    }

    void calculateListsTheShieldingFactor()
    {
        // State: no points, dip 0. Action: Calculate; add 100/30, Calculate. Expected: 1.000000, then 0.898468.
        CShieldDLG dlg;
        dlg.Control<QPushButton>(1025)->click();
        AddPoint(dlg, "100", "30");
        dlg.Control<QPushButton>(1025)->click();
        QCOMPARE(ListTexts(dlg.Control<QListWidget>(1022)),
                 QStringList({"Calculation Result 1", "Shielding Factor:  1.000000", "Calculation Result 2",
                              "Shielding Factor:  0.898468"}));
        QCOMPARE(dlg.Control<QListWidget>(1022)->currentRow(), 2);
        QCOMPARE(ListTexts(Horizon(dlg)), QStringList({"100, 30"}));
    }

    void calculateTakesUnsortedPointsAndTheSlope()
    {
        // State: four points at 20 degrees typed out of order; then dip 30 alone; then dip 91.
        // Expected: 0.971002, 0.977434, then the range message and nothing appended.
        CShieldDLG dlg;
        for (const char* azimuth : {"315", "45", "225", "135"})
            AddPoint(dlg, azimuth, "20");
        dlg.Control<QPushButton>(1025)->click();
        QCOMPARE(dlg.Results().Lines().back(), std::string("Shielding Factor:  0.971002"));
        QCOMPARE(ListTexts(Horizon(dlg)).first(), QString("315, 20"));
        dlg.Control<QPushButton>(1014)->click();
        dlg.Control<QLineEdit>(1019)->setText("30");
        dlg.Control<QPushButton>(1025)->click();
        QCOMPARE(dlg.Results().Lines().back(), std::string("Shielding Factor:  0.977434"));
        CMessageRecorder messages;
        dlg.Control<QLineEdit>(1019)->setText("91");
        dlg.Control<QPushButton>(1025)->click();
        QCOMPARE(messages.Messages(), std::vector<std::string>{"Enter a number between 0 and 90."});
        QCOMPARE(dlg.Results().m_nLineCount, 4);
    }

    void removeAllEmptiesTheListAndCloseSortsFirst()
    {
        // State: points 200 and 100. Action: Close; then Remove All.
        // Expected: the points sorted and the dialog accepted; then an empty list, the edit boxes unchanged.
        CShieldDLG dlg;
        AddPoint(dlg, "200", "1");
        AddPoint(dlg, "100", "2");
        dlg.Control<QPushButton>(1)->click();
        QCOMPARE(dlg.m_arrAzimuthText, QStringList({"100", "200"}));
        QCOMPARE(dlg.result(), int(QDialog::Accepted));
        dlg.Control<QPushButton>(1014)->click();
        QCOMPARE(Horizon(dlg)->count(), 0);
        QCOMPARE(dlg.m_nPointCount, 0);
        QVERIFY(dlg.m_arrAngleText.isEmpty());
        QCOMPARE(dlg.Control<QLineEdit>(1015)->text(), QString("100"));
    }
};

QTEST_MAIN(ShieldDLGTest)
#include "tst_ShieldDLG.moc"
