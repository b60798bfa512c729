#include "ui/ProgressWindow.h"

#include <QApplication>
#include <QCursor>
#include <QProgressDialog>
#include <algorithm>
#include <vector>

namespace qex {

// QProgressDialog shows itself from a timer of its own; this one shows only
// when told to, so that it cannot come up over a message.
class CProgressDialog : public QProgressDialog {
public:
    using QProgressDialog::QProgressDialog;
    void ShowNow()
    {
        forceShow(); // stops the dialog's own timer for good
        show();
    }
};

namespace {

// The window is refreshed, and Cancel looked at, at most this often (ms).
constexpr qint64 kStepEveryMs = 50;
// A progress bar takes an int; long counts are scaled to this many steps.
constexpr int kBarSteps = 1000000;

int g_messagesShowing = 0;

std::vector<CProgressWindow*>& LiveWindows()
{
    static std::vector<CProgressWindow*> windows;
    return windows;
}

} // namespace

CProgressWindow::CProgressWindow(QWidget* parent, const QString& title, int showAfterMs)
    : m_parent(parent), m_title(title), m_showAfterMs(showAfterMs)
{
    m_running.start();
    LiveWindows().push_back(this);
}

CProgressWindow::~CProgressWindow()
{
    auto& live = LiveWindows();
    live.erase(std::remove(live.begin(), live.end(), this), live.end());
    Hide();
}

bool CProgressWindow::Cancelled() const
{
    return m_dialog != nullptr && m_dialog->wasCanceled();
}

bool CProgressWindow::IsShowing() const
{
    return m_dialog != nullptr && m_dialog->isVisible();
}

void CProgressWindow::Hide()
{
    if (m_dialog != nullptr)
        m_dialog->hide();
    if (m_arrowCursor) {
        QApplication::restoreOverrideCursor();
        m_arrowCursor = false;
    }
}

bool CProgressWindow::Due() const
{
    // Until the delay has passed nothing is shown and no event is handled:
    // a quick calculation runs as if there were no window.
    const qint64 now = m_running.elapsed();
    return now >= m_showAfterMs && (m_lastStepMs < 0 || now - m_lastStepMs >= kStepEveryMs);
}

bool CProgressWindow::Step(long long done, long long total, const QString& label)
{
    if (!Due())
        return !Cancelled();
    m_lastStepMs = m_running.elapsed();
    if (Cancelled() || MessageIsShowing())
        return !Cancelled();

    if (m_dialog == nullptr) {
        m_dialog = std::make_unique<CProgressDialog>(m_parent);
        m_dialog->setWindowTitle(m_title);
        m_dialog->setCancelButtonText("Cancel");
        m_dialog->setWindowModality(m_parent != nullptr ? Qt::WindowModal : Qt::ApplicationModal);
        m_dialog->setAutoClose(false);
        m_dialog->setAutoReset(false);
        m_dialog->setRange(0, kBarSteps);
    }
    m_dialog->setLabelText(label);
    if (!m_dialog->isVisible()) {
        m_dialog->ShowNow();
        // The press's busy cursor would hide that Cancel can be clicked.
        if (!m_arrowCursor) {
            QApplication::setOverrideCursor(QCursor(Qt::ArrowCursor));
            m_arrowCursor = true;
        }
    }
    const double share = total > 0 ? std::clamp(double(done) / double(total), 0.0, 1.0) : 1.0;
    m_dialog->setValue(static_cast<int>(share * kBarSteps));
    QApplication::processEvents();
    return !Cancelled();
}

CProgressWindow::CMessageShowing::CMessageShowing()
{
    ++g_messagesShowing;
    for (CProgressWindow* window : LiveWindows())
        window->Hide();
}

CProgressWindow::CMessageShowing::~CMessageShowing()
{
    --g_messagesShowing;
}

bool CProgressWindow::MessageIsShowing()
{
    return g_messagesShowing > 0;
}

} // namespace qex
