#include "proxy/SimulationProgressDlg.h"

#include "proxy/BurialExposureWalk.h"

#include <algorithm>

namespace qex {

CSimulationProgressDlg::CSimulationProgressDlg(QWidget* parent)
    : m_window(parent, "Climatic Curve Age Correction", kShowAfterMs)
{
}

SimulationProgress CSimulationProgressDlg::Callback()
{
    return [this](int done, int total) { return Update(done, total); };
}

bool CSimulationProgressDlg::Update(int done, int total)
{
    if (!m_window.Due())
        return !m_window.Cancelled();
    // Each run walks the cut values one by one; runs that share a 10Be
    // value share their walk and pass at once.
    const int runs = std::max(1, total / kSimulationCutCount);
    const int run = std::min(done / kSimulationCutCount, runs - 1);
    const int cut = done - run * kSimulationCutCount;
    const QString walked = QString("cut value %1 of %2").arg(cut).arg(kSimulationCutCount);
    return m_window.Step(done, total,
                         runs == 1 ? QString("Simulating the histories: %1...").arg(walked)
                                   : QString("Run %1 of %2: simulating the histories, %3...")
                                         .arg(run + 1)
                                         .arg(runs)
                                         .arg(walked));
}

} // namespace qex
