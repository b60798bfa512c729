// The simulation dialog on a long curve: a progress window with Cancel after a
// short delay; a quick calculation shows none; Cancel appends and writes nothing;
// no progress window (the world table's neither) ever stands over a message.
// With QEX_SCREENSHOT_DIR set, each progress window is written there as a PNG.

#include "core/Message.h"
#include "proxy/ProxyDlg.h"
#include "proxy/SimulationProgressDlg.h"
#include "scaling/WorldTableWriterDlg.h"
#include "tests/support/TestSupport.h"
#include "ui/MessageBoxSink.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QMessageBox>
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

// Shows messages in real boxes, holds each open longer than the progress
// delay, notes any progress window visible meanwhile, then presses Escape.
class CMessageHolder : public QObject {
public:
    CMessageHolder() : m_previous(SetDetailedMessageSink({}))
    {
        InstallMessageBoxSink();
        connect(&m_poll, &QTimer::timeout, this, &CMessageHolder::Poll);
        m_poll.start(25);
    }
    ~CMessageHolder() override { SetDetailedMessageSink(m_previous); }

    QStringList texts;         // each message, as it came up
    QStringList coveredBy;     // the message each time a progress window showed over it
    static constexpr int kHoldMs = CSimulationProgressDlg::kShowAfterMs + 400;

private:
    void Poll()
    {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (box == nullptr || !box->isVisible()) {
            m_box = nullptr;
            return;
        }
        // A box met before carries a mark; a new one may sit where the last one was.
        if (box != m_box || !box->property("held").toBool()) {
            box->setProperty("held", true);
            m_box = box;
            m_shown.start();
            texts << box->text();
        }
        for (QWidget* window : QApplication::topLevelWidgets())
            if (qobject_cast<QProgressDialog*>(window) != nullptr && window->isVisible())
                coveredBy << box->text();
        if (m_shown.elapsed() >= kHoldMs)
            QTest::keyClick(box, Qt::Key_Escape);
    }

    DetailedMessageSink m_previous;
    QTimer m_poll;
    QMessageBox* m_box = nullptr;
    QElapsedTimer m_shown;
};

std::string CurveFile(const test::TempDir& dir, const std::string& name, int points, bool slow)
{
    // 3 and 5 alternating, every year when slow: each of the 998 walks then
    // crosses its cut at every point, hundreds of thousands of times, before
    // its exposure is enough (seconds per run); otherwise every 20000 years.
    std::string text = "Proxy_Data\nCurve\n";
    for (int i = 0; i < points; ++i)
        text += std::to_string(i * (slow ? 1 : 20000)) + (i % 2 ? " 5\n" : " 3\n");
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

    void noProgressWindowStandsOverAMessage()
    {
        // State: failures before a calculation starts (no curve, a missing curve, a folder as report, a world
        // table without a path) and one at the end of a long one (its report folder removed meanwhile).
        // Action: calculate; each message is held open longer than the progress delay, then Escape.
        // Expected: every message shown and answered, no progress window over any, none left after.
        test::TempDir dir;
        CurveFile(dir, "slow.dat", 300000, true);
        const QString gone = QString::fromStdString(dir.File("gone"));
        QVERIFY(QDir().mkpath(gone));
        const struct {
            const char* proxy;
            std::string report;
        } failures[] = {
            {"", dir.File("r.txt")},
            {"missing.dat", dir.File("r.txt")},
            {"slow.dat", dir.Path()},
            {"slow.dat", dir.File("gone/r.txt")},
        };
        CMessageHolder holder;
        for (const auto& failure : failures) {
            CProxyDlg dialog;
            const QString proxy = *failure.proxy ? QString::fromStdString(dir.File(failure.proxy)) : QString();
            dialog.Control<QLineEdit>(1023)->setText(proxy);
            dialog.Control<QLineEdit>(1027)->setText(QString::fromStdString(failure.report));
            // The last one: the report's folder goes while the runs go on.
            CProgressWatcher watcher(false);
            QMetaObject::Connection removal;
            if (failure.report.find("gone") != std::string::npos)
                removal = connect(&m_tick, &QTimer::timeout, [&] {
                    if (watcher.shown > 0)
                        QDir(gone).removeRecursively();
                });
            m_tick.start(20);
            QVERIFY(dialog.OnCommand(CProxyDlg::IDC_SINGLE));
            m_tick.stop();
            disconnect(removal);
            QCOMPARE(dialog.Results().m_nResultCount, 0);
        }
        QVERIFY(WriteWorldTableWithProgress(WorldTableGrid{}, std::string(), [](QDialog& d) { return d.exec(); }) ==
                false);
        QCOMPARE(holder.texts, (QStringList{"Please select a proxy curve file!", "Can not find Proxy data file!",
                                            "Can not find Output file!", "Can not find Output file!",
                                            "Can not find Output file!"}));
        QVERIFY2(holder.coveredBy.isEmpty(), qPrintable(holder.coveredBy.join(", ")));
        for (QWidget* window : QApplication::topLevelWidgets())
            QVERIFY(qobject_cast<QProgressDialog*>(window) == nullptr || !window->isVisible());
    }

    void cancellingALongCalculationAppendsNothingAndKeepsTheReport()
    {
        // State: a result of a short curve listed, its report written; then a curve crossing every cut
        // value at each of its 300,000 points (seconds per run). Action: Calculation, then Cancel in the
        // progress window; the same for command 1025.
        // Expected: the window came after the delay; nothing appended, no message, the report as it was,
        // the busy cursor gone; Plot and Monte Carlo still on for the result listed.
        test::TempDir dir;
        const std::string report = dir.File("report.txt");
        CProxyDlg dialog;
        dialog.Control<QLineEdit>(1023)->setText(QString::fromStdString(CurveFile(dir, "short.dat", 40, false)));
        dialog.Control<QLineEdit>(1027)->setText(QString::fromStdString(report));
        QVERIFY(dialog.OnCommand(CProxyDlg::IDC_SINGLE));
        const std::vector<std::string> listed = dialog.Results().Lines();
        QCOMPARE(dialog.Results().m_nResultCount, 1);
        const std::string earlier = test::ReadFile(report);
        dialog.Control<QLineEdit>(1023)->setText(QString::fromStdString(CurveFile(dir, "slow.dat", 300000, true)));

        for (int command : {int(CProxyDlg::IDC_CALCULATION), int(CProxyDlg::IDC_SINGLE)}) {
            CProgressWatcher watcher(true);
            CMessageRecorder messages;
            QVERIFY(dialog.OnCommand(command));
            QCOMPARE(watcher.shown, 1);
            QVERIFY(watcher.firstShownMs >= CSimulationProgressDlg::kShowAfterMs);
            QCOMPARE(watcher.title, QString("Climatic Curve Age Correction"));
            QVERIFY(messages.Messages().empty());
            QCOMPARE(dialog.Results().Lines(), listed);
            QCOMPARE(dialog.Results().m_nResultCount, 1);
            QCOMPARE(test::ReadFile(report), earlier);
            QVERIFY(QApplication::overrideCursor() == nullptr);
            QVERIFY(dialog.Control<QPushButton>(CProxyDlg::IDC_PLOT)->isEnabled());
            QVERIFY(dialog.Control<QPushButton>(CProxyDlg::IDC_MONTE_CARLO)->isEnabled());
        }
    }

private:
    QTimer m_tick;
};

QTEST_MAIN(SimulationProgressTest)
#include "tst_SimulationProgress.moc"
