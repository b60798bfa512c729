// Hostile typing and awkward paths in the desktop: every bound of every
// range typed into each dialog, and file paths holding blanks and non-ASCII
// letters, in the calculators, Save and the normalisation command.

#include "app/Commands.h"
#include "app/QEXDoc.h"
#include "core/Message.h"
#include "corrections/ShieldDLG.h"
#include "corrections/SlopeThickDLG.h"
#include "corrections/ThicknessDLG.h"
#include "geomag/ExpDlg.h"
#include "proxy/CutResDlg.h"
#include "proxy/ProxyDlg.h"
#include "scaling/SFCalDlg.h"
#include "scaling/ScalingFactorDLG.h"
#include "tests/support/TestSupport.h"
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

// One field at one of its bounds, typed into a fresh dialog; the others keep their defaults.
struct Bound {
    int id;
    QString text;
};

// Types each bound into a fresh dialog and presses the calculate button:
// every line must be a number's line, and a press that appends nothing must
// have said why.
template <class Dialog>
void PressAtEveryBound(const std::vector<Bound>& bounds, int calculate,
                       const std::function<void(Dialog&)>& prepare = {})
{
    for (const Bound& bound : bounds) {
        Dialog dialog;
        if (prepare)
            prepare(dialog);
        dialog.template Control<QLineEdit>(bound.id)->setText(bound.text);
        CMessageRecorder messages;
        dialog.template Control<QPushButton>(calculate)->click();
        const auto& lines = dialog.Results().Lines();
        const QByteArray where = QString("%1 = %2").arg(bound.id).arg(bound.text).toUtf8();
        QVERIFY2(AllFinite(lines), where.constData());
        QVERIFY2(!lines.empty() || !messages.Messages().empty(), where.constData());
        // A range message would mean the bound itself was refused.
        for (const std::string& m : messages.Messages())
            QVERIFY2(m.rfind("Enter a number", 0) != 0, (where + ": " + m.c_str()).constData());
    }
}

std::vector<Bound> Bounds(std::initializer_list<std::pair<int, std::vector<QString>>> fields)
{
    std::vector<Bound> bounds;
    for (const auto& [id, texts] : fields)
        for (const QString& text : texts)
            bounds.push_back({id, text});
    return bounds;
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
        // State: fresh dialogs. Action: each bound typed, Calculate. Expected: finite lines or a message.
        PressAtEveryBound<CThicknessDLG>(Bounds({{1000, {"0", "1000"}}, {1001, {"0", "10000"}}, {1002, {"0", "1000"}}}),
                                         1025);
        PressAtEveryBound<CSlopeThickDLG>(Bounds({{1000, {"0", "1000"}},
                                                  {1001, {"0", "1000"}},
                                                  {1002, {"0", "1000"}},
                                                  {1003, {"0", "90"}},
                                                  {1004, {"0", "360"}}}),
                                          1025);
        PressAtEveryBound<CScalingFactorDLG>(
            Bounds({{1000, {"0", "90"}}, {1001, {"0", "10000"}}, {1002, {"0", "0.3"}}}), 1025);
        // The skyline at its extremes: a wall of 90 degrees at 0 and at 360.
        PressAtEveryBound<CShieldDLG>(Bounds({{1019, {"0", "90"}}, {1020, {"0", "360"}}}), 1025, [](CShieldDLG& d) {
            for (const char* azimuth : {"0", "360"}) {
                d.Control<QLineEdit>(1015)->setText(azimuth);
                d.Control<QLineEdit>(1016)->setText("90");
                d.Control<QPushButton>(1012)->click();
            }
        });
    }

    void theWorldTableGridTakesEveryBound()
    {
        // State: the world table command. Action: each bound typed into the grid dialog, OK.
        // Expected: the table is written and every row holds numbers. (The smallest latitude
        // step makes a table of 810,000 rows; the size question before such tables has its own test.)
        const std::string table = m_dir->File("table.txt");
        for (const Bound& bound : Bounds({{1003, {"-90", "90"}},
                                          {1004, {"-90", "90"}},
                                          {1007, {"90"}},
                                          {1005, {"0", "10000"}},
                                          {1006, {"0", "10000"}},
                                          {1008, {"1", "10000"}},
                                          {1009, {"0", "1"}}})) {
            std::remove(table.c_str());
            auto previous = CQEXDoc::SetModalRunner([&](QDialog& dialog) {
                auto* grid = qobject_cast<CSFCalDlg*>(&dialog);
                if (grid == nullptr)
                    return int(QDialog::Rejected);
                grid->Control<QLineEdit>(1027)->setText(QString::fromStdString(table));
                grid->Control<QLineEdit>(bound.id)->setText(bound.text);
                grid->Control<QPushButton>(1)->click();
                return grid->result();
            });
            CMessageRecorder messages;
            CQEXDoc doc;
            doc.OnCommand(ID_WORLD_TABLE);
            CQEXDoc::SetModalRunner(previous);
            const QByteArray where = QString("%1 = %2").arg(bound.id).arg(bound.text).toUtf8();
            QVERIFY2(messages.Messages().empty(), where.constData());
            const std::string text = test::ReadFile(table);
            QVERIFY2(text.find("[Calculation Results]") != std::string::npos, where.constData());
            QVERIFY2(AllFinite({text.substr(text.find("[Calculation Results]"))}), where.constData());
        }
    }

    void theExposureDialogTakesEveryBoundWithAndWithoutTheCorrection()
    {
        // State: the records in the working folder. Action: each bound, Calculate, box off then on.
        // Expected: an age line or a message, never "nan"; a concentration beyond saturation says so.
        const auto bounds = Bounds({{1021, {"-90", "0", "90"}},
                                    {1022, {"-180", "180"}},
                                    {1023, {"0", "100000"}},
                                    {1024, {"0", "1000"}},
                                    {1025, {"0", "10"}},
                                    {1026, {"0", "200"}},
                                    {1027, {"0", "1"}},
                                    {1028, {"0", "1000"}},
                                    {1016, {"0", "1e9"}},
                                    {1017, {"0", "1000000"}},
                                    {1019, {"0", "10000"}},
                                    {1020, {"0", "100"}}});
        PressAtEveryBound<CExpDlg>(bounds, 1030);
        PressAtEveryBound<CExpDlg>(bounds, 1030, [](CExpDlg& d) { d.Control<QCheckBox>(1018)->setChecked(true); });
    }

    void theProxyDialogsTakeEveryBound()
    {
        // State: a curve file and a report path. Action: each bound, Calculate (and 1025 for the
        // simulation). Expected: finite lines, or a message and nothing appended.
        const std::string curve = AlternatingCurve(m_dir->File("alternating.dat"));
        const QString report = QString::fromStdString(m_dir->File("report.txt"));
        auto paths = [&](CProxyDlg& d) {
            d.Control<QLineEdit>(1023)->setText(QString::fromStdString(curve));
            d.Control<QLineEdit>(1027)->setText(report);
        };
        const auto simulation = Bounds({{1019, {"0", "100000000"}},
                                        {1020, {"0", "100000000"}},
                                        {1021, {"0", "100000"}},
                                        {1022, {"0", "100000"}},
                                        {1030, {"0", "100"}},
                                        {1031, {"100", "500"}},
                                        {1032, {"0", "1000"}},
                                        {1033, {"0", "10000"}},
                                        {1000, {"0", "1e20"}},
                                        {1001, {"0", "1e20"}}});
        PressAtEveryBound<CProxyDlg>(simulation, 1004, paths);
        for (const Bound& bound : simulation) {
            CProxyDlg dialog;
            paths(dialog);
            dialog.Control<QLineEdit>(bound.id)->setText(bound.text);
            CMessageRecorder messages;
            dialog.OnCommand(CProxyDlg::IDC_SINGLE);
            QVERIFY(AllFinite(dialog.Results().Lines()));
            QVERIFY(!dialog.Results().Lines().empty() || !messages.Messages().empty());
        }

        // The cut value has no range: a cut of 1e300 or -1e300 is a cut outside the curve.
        auto curvePath = [&](CCutResDlg& d) { d.Control<QLineEdit>(1023)->setText(QString::fromStdString(curve)); };
        PressAtEveryBound<CCutResDlg>(Bounds({{1003, {"0", "1e9"}}, {1001, {"0", "1e8"}}}), 1025, curvePath);
        PressAtEveryBound<CCutResDlg>(Bounds({{1000, {"-1e300", "0", "4", "1e300"}}, {1003, {"0", "1e9"}}}), 1025,
                                      [&](CCutResDlg& d) {
                                          curvePath(d);
                                          d.Control<QCheckBox>(1002)->setChecked(false);
                                      });
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

private:
    std::unique_ptr<test::TempDir> m_dir;
    QString m_previous;
};

QTEST_MAIN(EdgeInputsTest)
#include "tst_EdgeInputs.moc"
