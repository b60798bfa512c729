#pragma once
// The progress window of a simulation on a long curve: it stays hidden for a
// short while, so a quick calculation shows nothing, then shows how far the
// runs have come, with Cancel to stop them. It never stands over a message.

#include "proxy/SimulationProgress.h"
#include "ui/ProgressWindow.h"

class QWidget;

namespace qex {

class CSimulationProgressDlg {
public:
    explicit CSimulationProgressDlg(QWidget* parent);

    // The callback for the calculation; valid while this object lives.
    SimulationProgress Callback();

    // A calculation shorter than this shows no window (ms).
    static constexpr int kShowAfterMs = 500;

private:
    bool Update(int done, int total);

    CProgressWindow m_window;
};

} // namespace qex
