#pragma once
// The progress window of a long calculation. Nothing is made or shown until
// the calculation has run for a while, so a quick one shows nothing, and a
// calculation that stops at a message before it starts never shows one. While
// a message box is open, every progress window is hidden: the message stays
// on top and answers OK and Escape; the window comes back with the next step,
// if the calculation goes on.

#include <QElapsedTimer>
#include <QString>
#include <Qt>
#include <memory>

class QWidget;

namespace qex {

class CProgressDialog;

class CProgressWindow {
public:
    // A window titled `title`, modal to `parent` (or to the application when
    // parent is null), shown when a step comes after `showAfterMs`.
    CProgressWindow(QWidget* parent, const QString& title, int showAfterMs);
    ~CProgressWindow();
    CProgressWindow(const CProgressWindow&) = delete;
    CProgressWindow& operator=(const CProgressWindow&) = delete;

    // Whether a step now would reach the window: the delay has passed and the
    // last step is a moment ago. Steps that are not due cost nothing.
    bool Due() const;
    // A step: `done` of `total`, described by `label`. False once Cancel was pressed.
    bool Step(long long done, long long total, const QString& label);
    bool Cancelled() const;
    // Whether the window is on the screen.
    bool IsShowing() const;

    // While one lives a message box is open: no progress window shows.
    class CMessageShowing {
    public:
        CMessageShowing();
        ~CMessageShowing();
        CMessageShowing(const CMessageShowing&) = delete;
        CMessageShowing& operator=(const CMessageShowing&) = delete;
    };
    static bool MessageIsShowing();

private:
    void Hide();

    QWidget* m_parent;
    QString m_title;
    int m_showAfterMs;
    std::unique_ptr<CProgressDialog> m_dialog; // made when first shown
    QElapsedTimer m_running;                   // since the calculation began
    qint64 m_lastStepMs = -1;
    bool m_arrowCursor = false; // a busy cursor is lifted while the window shows
};

} // namespace qex
