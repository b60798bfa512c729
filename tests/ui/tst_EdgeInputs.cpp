// Hostile typing and awkward paths in the desktop: every bound of every
// range of each dialog's input table typed into it, and file paths holding
// blanks and non-ASCII letters, in the calculators, Save and the
// normalisation command.

#include "app/Commands.h"
#include "app/QEXDoc.h"
#include "burial/BurialAgeDlg.h"
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
#include "tests/ui/UiTestSupport.h"
#include "ui/DataExchange.h"
#include "ui/FileChooser.h"

#include <QCheckBox>
#include <QDir>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <cctype>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <memory>

using namespace qex;
using test::AllFinite;

namespace {

// The values typed for a row: each end of its range and 0 inside it, or a few
// huge values where it has none.
template <class Inputs>
std::vector<double> BoundsOf(const InputRow<Inputs>& row)
{
    if (!row.range)
        return {-1e300, 0.0, 1e300};
    std::vector<double> values = {row.range->minimum, row.range->maximum};
    if (row.range->minimum < 0.0 && row.range->maximum > 0.0)
        values.push_back(0.0);
    return values;
}

QString Text(double value)
{
    return QString::fromStdString(InputNumberText(value));
}

// Types each bound of every number field of the table into a fresh dialog and
// presses: every line must be a number's line, and a press that appends
// nothing must have said why. Just beyond each end the dialog shows the
// range message of the table's row and appends nothing; each field's tooltip
// is its row's.
template <class Dialog, class Inputs>
void PressAtEveryBound(const InputTable<Inputs>& table, const std::function<void(Dialog&)>& press,
                       const std::function<void(Dialog&)>& prepare = {}, bool beyond = true)
{
    for (const InputRow<Inputs>& row : table.Rows()) {
        if (row.controlId == 0 || row.kind != InputKind::Number)
            continue;
        for (const double value : BoundsOf(row)) {
            Dialog dialog;
            if (prepare)
                prepare(dialog);
            dialog.template Control<QLineEdit>(row.controlId)->setText(Text(value));
            CMessageRecorder messages;
            press(dialog);
            const auto& lines = dialog.Results().Lines();
            const QByteArray where = QString("%1 = %2").arg(row.controlId).arg(Text(value)).toUtf8();
            QVERIFY2(AllFinite(lines), where.constData());
            QVERIFY2(!lines.empty() || !messages.Messages().empty(), where.constData());
            // A range message would mean the bound itself was refused.
            for (const std::string& m : messages.Messages())
                QVERIFY2(m.rfind("Enter a number", 0) != 0, (where + ": " + m.c_str()).constData());
        }
        if (!beyond || !row.range)
            continue;
        for (const double value : {test::JustOutside(row.range->minimum, -1.0), test::JustOutside(row.range->maximum, 1.0)}) {
            Dialog dialog;
            if (prepare)
                prepare(dialog);
            QLineEdit* edit = dialog.template Control<QLineEdit>(row.controlId);
            QCOMPARE(edit->toolTip().toStdString(), InputToolTip(DescribeInput(row)));
            edit->setText(Text(value));
            CMessageRecorder messages;
            press(dialog);
            QCOMPARE(messages.Messages(), std::vector<std::string>{
                                              CDataExchange::RangeMessage(row.range->minimum, row.range->maximum)});
            QVERIFY(dialog.Results().Lines().empty());
        }
    }
}

template <class Dialog>
void Click(Dialog& dialog, int id)
{
    dialog.template Control<QPushButton>(id)->click();
}

std::string AlternatingCurve(const std::string& path)
{
    std::string text = "Proxy_Data\nAlternating\n";
    for (int i = 0; i <= 30; ++i)
        text += std::to_string(i * 20000) + (i % 2 == 0 ? " 3.0\n" : " 5.0\n");
    test::WriteFile(path, text);
    return path;
}

// A folder name with a blank and letters beyond ASCII (UTF-8 on disk).
const char* const kAwkwardFolder = "Gl\xC3\xA4ttfj\xC3\xB6rd samples \xE2\x80\x94 \xC3\xA9t\xC3\xA9";

} // namespace

class EdgeInputsTest : public QObject {
    Q_OBJECT

private slots:
    void init()
    {
        m_dir = std::make_unique<test::TempDir>();
        m_previous = QDir::currentPath();
        // The exposure dialog reads its records from, and writes its table to, the working folder.
        for (const char* name : {"pole02.dat", "pmagstack1.dat"})
            test::WriteFile(m_dir->File(name), test::ReadFile(test::SourceDir() + "/examples/geomag/" + name));
        QDir::setCurrent(QString::fromStdString(m_dir->Path()));
    }

    void cleanup()
    {
        QDir::setCurrent(m_previous);
        m_dir.reset();
    }

    void theCorrectionAndScalingDialogsTakeEveryBound()
    {
        // State: fresh dialogs. Action: each bound typed, Calculate. Expected: finite lines or a message;
        // beyond each bound the range message.
        const auto calculate = [](auto& d) { Click(d, 1025); };
        PressAtEveryBound<CThicknessDLG>(ThicknessInputTable(), calculate);
        PressAtEveryBound<CSlopeThickDLG>(SlopeThicknessInputTable(), calculate);
        PressAtEveryBound<CScalingFactorDLG>(ScalingInputTable(), calculate);
        // The skyline at its extremes: a wall of 90 degrees at 0 and at 360.
        const auto walls = [](CShieldDLG& d) {
            for (const char* azimuth : {"0", "360"}) {
                d.Control<QLineEdit>(1015)->setText(azimuth);
                d.Control<QLineEdit>(1016)->setText("90");
                d.Control<QPushButton>(1012)->click();
            }
        };
        PressAtEveryBound<CShieldDLG>(ShieldingInputTable(), calculate, walls);
        PressAtEveryBound<CShieldDLG>(HorizonPointInputTable(), calculate, walls);
    }

    void theWorldTableGridTakesEveryBound()
    {
        // State: the world table command. Action: each bound typed into the grid dialog, OK.
        // Expected: the table is written and every row holds numbers; beyond each bound the
        // dialog stays open with the range message. The steps are tried over a small grid,
        // the grid's ends with coarse steps, so that every table stays small.
        const std::string table = m_dir->File("table.txt");
        const auto grid = [&](CSFCalDlg& d, std::string_view name) {
            d.Control<QLineEdit>(1027)->setText(QString::fromStdString(table));
            const bool step = name == "lat-interval" || name == "alt-interval";
            for (const auto& [id, text] : step ? std::vector<std::pair<int, const char*>>{{1003, "0"}, {1004, "1"}, {1005, "0"}, {1006, "10"}}
                                               : std::vector<std::pair<int, const char*>>{{1007, "45"}, {1008, "5000"}})
                d.Control<QLineEdit>(id)->setText(text);
        };
        for (const InputRow<WorldTableInputs>& row : WorldTableInputTable().Rows()) {
            if (row.kind != InputKind::Number)
                continue;
            for (const double value : BoundsOf(row)) {
                std::remove(table.c_str());
                auto previous = CQEXDoc::SetModalRunner([&](QDialog& dialog) {
                    auto* d = qobject_cast<CSFCalDlg*>(&dialog);
                    if (d == nullptr)
                        return int(QDialog::Rejected);
                    grid(*d, row.name);
                    d->Control<QLineEdit>(row.controlId)->setText(Text(value));
                    d->Control<QPushButton>(1)->click();
                    return d->result();
                });
                CMessageRecorder messages;
                CQEXDoc doc;
                doc.OnCommand(ID_WORLD_TABLE);
                CQEXDoc::SetModalRunner(previous);
                const QByteArray where = QString("%1 = %2").arg(row.controlId).arg(Text(value)).toUtf8();
                QVERIFY2(messages.Messages().empty(), where.constData());
                const std::string text = test::ReadFile(table);
                QVERIFY2(text.find("[Calculation Results]") != std::string::npos, where.constData());
                QVERIFY2(AllFinite({text.substr(text.find("[Calculation Results]"))}), where.constData());
            }
            for (const double value : {test::JustOutside(row.range->minimum, -1.0), test::JustOutside(row.range->maximum, 1.0)}) {
                CSFCalDlg d;
                QCOMPARE(d.Control(row.controlId)->toolTip().toStdString(), InputToolTip(DescribeInput(row)));
                d.Control<QLineEdit>(row.controlId)->setText(Text(value));
                CMessageRecorder messages;
                d.accept();
                QCOMPARE(messages.Messages(), std::vector<std::string>{
                                                  CDataExchange::RangeMessage(row.range->minimum, row.range->maximum)});
                QVERIFY(d.result() != QDialog::Accepted);
            }
        }
    }

    void theExposureDialogTakesEveryBoundWithAndWithoutTheCorrection()
    {
        // State: the records in the working folder. Action: each bound, Calculate, box off then on.
        // Expected: an age line or a message, never "nan"; a concentration beyond saturation says so.
        const auto calculate = [](CExpDlg& d) { Click(d, 1030); };
        PressAtEveryBound<CExpDlg>(ExposureInputTable(), calculate);
        PressAtEveryBound<CExpDlg>(ExposureInputTable(), calculate,
                                   [](CExpDlg& d) { d.Control<QCheckBox>(1018)->setChecked(true); }, false);
    }

    void theProxyDialogsTakeEveryBound()
    {
        // State: a curve file and a report path. Action: each bound, Calculate (and 1025 for the
        // simulation). Expected: finite lines, or a message and nothing appended.
        const std::string curve = AlternatingCurve(m_dir->File("alternating.dat"));
        const QString report = QString::fromStdString(m_dir->File("report.txt"));
        const auto paths = [&](CProxyDlg& d) {
            d.Control<QLineEdit>(1023)->setText(QString::fromStdString(curve));
            d.Control<QLineEdit>(1027)->setText(report);
        };
        PressAtEveryBound<CProxyDlg>(SimulationInputTable(), [](CProxyDlg& d) { Click(d, 1004); }, paths);
        PressAtEveryBound<CProxyDlg>(SimulationInputTable(), [](CProxyDlg& d) { d.OnCommand(CProxyDlg::IDC_SINGLE); },
                                     paths, false);

        // The cut value has no range: a cut of 1e300 or -1e300 is a cut outside the curve.
        const auto curvePath = [&](CCutResDlg& d) { d.Control<QLineEdit>(1023)->setText(QString::fromStdString(curve)); };
        const auto calculate = [](CCutResDlg& d) { Click(d, 1025); };
        PressAtEveryBound<CCutResDlg>(CutInputTable(), calculate, curvePath);
        PressAtEveryBound<CCutResDlg>(CutInputTable(), calculate,
                                      [&](CCutResDlg& d) {
                                          curvePath(d);
                                          d.Control<QCheckBox>(1002)->setChecked(false);
                                      },
                                      false);
    }

    void pathsWithBlanksAndNonAsciiLettersWork()
    {
        // State: a folder named with blanks, umlauts and a dash. Action: cut, simulate, save and
        // normalise there, and the exposure age with the correction run from it.
        // Expected: each reads and writes its files there.
        const std::string folder = m_dir->File(kAwkwardFolder);
        std::filesystem::create_directories(folder);
        const std::string curve = AlternatingCurve(folder + "/Kurve \xC3\xBC" "ber Eis.dat");
        const QString report = QString::fromStdString(folder + "/Bericht \xC3\xA0 jour.txt");

        CCutResDlg cut;
        cut.Control<QLineEdit>(1023)->setText(QString::fromStdString(curve));
        cut.Control<QCheckBox>(1002)->setChecked(false);
        cut.Control<QLineEdit>(1000)->setText("4");
        cut.Control<QPushButton>(1025)->click();
        QCOMPARE(cut.Results().m_nResultCount, 1);

        CProxyDlg simulation;
        simulation.Control<QLineEdit>(1023)->setText(QString::fromStdString(curve));
        simulation.Control<QLineEdit>(1027)->setText(report);
        QVERIFY(simulation.OnCommand(CProxyDlg::IDC_SINGLE));
        QCOMPARE(simulation.Results().m_nResultCount, 1);
        QVERIFY(test::ReadFile(report.toStdString()).find("[Best Fit Information]") != std::string::npos);

        CScriptedFileChooser chooser;
        const QString saved = QString::fromStdString(folder + "/\xE8\xA9\xA6\xE6\x96\x99 results.txt");
        chooser.Answer(saved);
        cut.Save();
        QCOMPARE(QString::fromStdString(test::ReadFile(saved.toStdString())),
                 QString::fromStdString(cut.Results().Text()));

        test::WriteFile(folder + "/St\xC3\xA4rke.dat", "Geomagnetic_Intensity_Data\nStack\n0 1.0\n1000 0.8\n");
        chooser.Answer(QString::fromStdString(folder + "/St\xC3\xA4rke.dat"));
        chooser.Answer(QString::fromStdString(folder + "/St\xC3\xA4rke normalisiert.dat"));
        CQEXDoc doc;
        QVERIFY(doc.OnCommand(ID_NORMALIZE_CURVE));
        QVERIFY(test::ReadFile(folder + "/St\xC3\xA4rke normalisiert.dat").find("     500.0      0.900") !=
                std::string::npos);

        for (const char* name : {"pole02.dat", "pmagstack1.dat"})
            test::WriteFile(folder + "/" + name, test::ReadFile(m_dir->File(name)));
        QDir::setCurrent(QString::fromStdString(folder));
        CExpDlg exposure;
        exposure.Control<QCheckBox>(1018)->setChecked(true);
        CMessageRecorder messages;
        exposure.Control<QPushButton>(1030)->click();
        QVERIFY(messages.Messages().empty());
        QCOMPARE(exposure.Results().m_nResultCount, 1);
        QVERIFY(test::FileExists(folder + "/omr.txt"));
    }

    void savingOntoAFolderSaysSoAndKeepsTheList()
    {
        // State: a list with a block. Action: Save with a folder, then a missing folder, as the path.
        // Expected: "Can not find Output file!" each time; the list and its counters unchanged.
        CThicknessDLG dialog;
        dialog.Control<QPushButton>(1025)->click();
        CScriptedFileChooser chooser;
        chooser.Answer(QString::fromStdString(m_dir->Path()));
        chooser.Answer(QString::fromStdString(m_dir->File("missing/out.txt")));
        CMessageRecorder messages;
        dialog.Save();
        dialog.Save();
        QCOMPARE(messages.Messages(), (std::vector<std::string>(2, "Can not find Output file!")));
        QCOMPARE(dialog.Results().m_nLineCount, 5);
        QCOMPARE(dialog.Results().m_nResultCount, 1);
        QVERIFY(!test::FileExists(m_dir->File("missing")));
    }

    void theBurialAgeDialogTakesEveryBound()
    {
        // State: a fresh Burial Age dialog, few draws. Action: each bound typed, Calculate. Expected: finite
        // lines or a message saying why there is no age; beyond each bound the range message.
        const auto fewDraws = [](CBurialAgeDlg& d) { d.Control<QLineEdit>(1013)->setText("50"); };
        PressAtEveryBound<CBurialAgeDlg>(BurialAgeInputTable(), [](auto& d) { Click(d, 1030); }, fewDraws);
        CBurialAgeDlg dialog;
        Click(dialog, 1030);
        test::Snap(dialog, "burial-age");
    }

private:
    std::unique_ptr<test::TempDir> m_dir;
    QString m_previous;
};

QTEST_MAIN(EdgeInputsTest)
#include "tst_EdgeInputs.moc"
