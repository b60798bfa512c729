#include "proxy/SimulationProgressDlg.h"

#include "proxy/BurialExposureWalk.h"

#include <QApplication>
#include <QCursor>
#include <QProgressDialog>
#include <algorithm>

namespace qex {

namespace {
// The window is refreshed, and Cancel looked at, this often (ms).
constexpr qint64 kUpdateEveryMs = 50;
} // namespace

CSimulationProgressDlg::CSimulationProgressDlg(QWidget* parent) : m_dialog(std::make_unique<QProgressDialog>(parent))
{
    m_dialog->setWindowTitle("Climatic Curve Age Correction");
    m_dialog->setLabelText("Simulating the burial and exposure histories...");
    m_dialog->setCancelButtonText("Cancel");
    m_dialog->setWindowModality(Qt::WindowModal);
    m_dialog->setMinimumDuration(kShowAfterMs);
    m_dialog->setAutoClose(false);
    m_dialog->setAutoReset(false);
    m_dialog->hide();
    m_running.start();
}

CSimulationProgressDlg::~CSimulationProgressDlg()
{
    m_dialog->hide();
    if (m_arrowCursor)
        QApplication::restoreOverrideCursor();
}

SimulationProgress CSimulationProgressDlg::Callback()
{
    return [this](int done, int total) { return Update(done, total); };
}

bool CSimulationProgressDlg::Update(int done, int total)
{
    // Until the delay has passed nothing is shown and no event is handled:
    // a quick calculation runs as if there were no window.
    const qint64 now = m_running.elapsed();
    if (now < kShowAfterMs || now - m_lastUpdateMs < kUpdateEveryMs)
        return !m_dialog->wasCanceled();
    m_lastUpdateMs = now;

    if (!m_dialog->isVisible() && !m_dialog->wasCanceled()) {
        m_dialog->show();
        // The press's busy cursor would hide that Cancel can be clicked.
        QApplication::setOverrideCursor(QCursor(Qt::ArrowCursor));
        m_arrowCursor = true;
    }
    m_dialog->setMaximum(total);
    m_dialog->setValue(done);
    // Each run walks the cut values one by one; runs that share a 10Be
    // value share their walk and pass at once.
    const int runs = std::max(1, total / kSimulationCutCount);
    const int run = std::min(done / kSimulationCutCount, runs - 1);
    const int cut = done - run * kSimulationCutCount;
    const QString walked = QString("cut value %1 of %2").arg(cut).arg(kSimulationCutCount);
    m_dialog->setLabelText(runs == 1 ? QString("Simulating the histories: %1...").arg(walked)
                                     : QString("Run %1 of %2: simulating the histories, %3...")
                                           .arg(run + 1)
                                           .arg(runs)
                                           .arg(walked));
    QApplication::processEvents();
    return !m_dialog->wasCanceled();
}

} // namespace qex
