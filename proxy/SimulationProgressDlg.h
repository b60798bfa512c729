#pragma once
// The progress window of a simulation on a long curve: it stays hidden for a
// short while, so a quick calculation shows nothing, then shows how far the
// runs have come, with Cancel to stop them.

#include "proxy/SimulationProgress.h"

#include <QElapsedTimer>
#include <memory>

class QProgressDialog;
class QWidget;

namespace qex {

class CSimulationProgressDlg {
public:
    explicit CSimulationProgressDlg(QWidget* parent);
    ~CSimulationProgressDlg();
    CSimulationProgressDlg(const CSimulationProgressDlg&) = delete;
    CSimulationProgressDlg& operator=(const CSimulationProgressDlg&) = delete;

    // The callback for the calculation; valid while this object lives.
    SimulationProgress Callback();

    // A calculation shorter than this shows no window (ms).
    static constexpr int kShowAfterMs = 500;

private:
    bool Update(int done, int total);

    std::unique_ptr<QProgressDialog> m_dialog;
    QElapsedTimer m_running;  // since the calculation began
    qint64 m_lastUpdateMs = 0;
    bool m_arrowCursor = false; // the busy cursor is lifted while the window shows
};

} // namespace qex
