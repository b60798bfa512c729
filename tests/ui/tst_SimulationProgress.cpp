// The simulation dialog on a long curve: a progress window with Cancel after a
// short delay; a quick calculation shows none; Cancel appends and writes nothing.
// With QEX_SCREENSHOT_DIR set, each progress window is written there as a PNG.

#include "core/Message.h"
#include "proxy/ProxyDlg.h"
#include "proxy/SimulationProgressDlg.h"
#include "tests/support/TestSupport.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QProgressDialog>
#include <QPushButton>
#include <QTest>
#include <QTimer>

using namespace qex;

namespace {

// Notes every progress window shown, when, and may press its Cancel.
class CProgressWatcher : public QObject {
public:
    explicit CProgressWatcher(bool cancel) : m_cancel(cancel)
    {
        m_clock.start();
        qApp->installEventFilter(this);
    }
    ~CProgressWatcher() override { qApp->removeEventFilter(this); }

    int shown = 0;
    qint64 firstShownMs = -1;
    QString title;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        auto* progress = qobject_cast<QProgressDialog*>(watched);
        if (progress != nullptr && event->type() == QEvent::Show) {
            if (shown++ == 0) {
                firstShownMs = m_clock.elapsed();
                title = progress->windowTitle();
            }
            if (m_cancel)
                QTimer::singleShot(0, progress, [progress] {
                    const QString dir = qEnvironmentVariable("QEX_SCREENSHOT_DIR");
                    if (!dir.isEmpty()) {
                        QDir().mkpath(dir);
                        static int windows = 0;
                        progress->grab().save(dir + QString("/SimulationProgress-%1.png").arg(++windows));
                    }
                    for (QPushButton* button : progress->findChildren<QPushButton*>())
                        button->click();
                });
        }
        return false;
    }

private:
    bool m_cancel;
    QElapsedTimer m_clock;
};

std::string CurveFile(const test::TempDir& dir, const std::string& name, int points, bool flat)
{
    // Flat: the present at 3, then 5 for ever; every cut value lies below 5,
    // so each of the 998 walks runs the whole curve (burial throughout).
    // Otherwise 3 and 5 alternating every 20000 years.
    std::string text = "Proxy_Data\nCurve\n";
    for (int i = 0; i < points; ++i) {
        const char* value = flat ? (i == 0 ? " 3\n" : " 5\n") : (i % 2 ? " 5\n" : " 3\n");
        text += std::to_string(i * (flat ? 10 : 20000)) + value;
    }
    test::WriteFile(dir.File(name), text);
    return dir.File(name);
}

} // namespace

class SimulationProgressTest : public QObject {
    Q_OBJECT

private slots:
    void aQuickCalculationShowsNoProgressWindow()
    {
        // State: a 31-point curve. Action: Calculation. Expected: the block, and no progress window.
        test::TempDir dir;
        CProxyDlg dialog;
        dialog.Control<QLineEdit>(1023)->setText(QString::fromStdString(CurveFile(dir, "short.dat", 31, false)));
        dialog.Control<QLineEdit>(1027)->setText(QString::fromStdString(dir.File("report.txt")));
        CProgressWatcher watcher(false);
        dialog.Control<QPushButton>(CProxyDlg::IDC_CALCULATION)->click();
        QCOMPARE(dialog.Results().m_nResultCount, 1);
        QCOMPARE(watcher.shown, 0);
    }

    void cancellingALongCalculationAppendsNothingAndKeepsTheReport()
    {
        // State: a flat curve of a million points (seconds per run), an earlier report, a block in the
        // list. Action: Calculation, then Cancel in the progress window; the same for command 1025.
        // Expected: the window came after the delay; nothing appended, no message, the report as it was,
        // the busy cursor gone.
        test::TempDir dir;
        const std::string report = dir.File("report.txt");
        CProxyDlg dialog;
        dialog.Control<QLineEdit>(1023)->setText(QString::fromStdString(CurveFile(dir, "flat.dat", 1000000, true)));
        dialog.Control<QLineEdit>(1027)->setText(QString::fromStdString(report));
        test::WriteFile(report, "an earlier report\n");
        dialog.Results().AppendBlock({"an earlier block"});

        for (int command : {int(CProxyDlg::IDC_CALCULATION), int(CProxyDlg::IDC_SINGLE)}) {
            CProgressWatcher watcher(true);
            CMessageRecorder messages;
            QVERIFY(dialog.OnCommand(command));
            QCOMPARE(watcher.shown, 1);
            QVERIFY(watcher.firstShownMs >= CSimulationProgressDlg::kShowAfterMs);
            QCOMPARE(watcher.title, QString("Climatic Curve Age Correction"));
            QVERIFY(messages.Messages().empty());
            QCOMPARE(dialog.Results().Lines(), (std::vector<std::string>{"Calculation Result 1", "an earlier block"}));
            QCOMPARE(dialog.Results().m_nResultCount, 1);
            QCOMPARE(test::ReadFile(report), std::string("an earlier report\n"));
            QVERIFY(QApplication::overrideCursor() == nullptr);
        }
    }
};

QTEST_MAIN(SimulationProgressTest)
#include "tst_SimulationProgress.moc"
