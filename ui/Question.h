#pragma once
// The question seam: a dialog asks the user yes or no through this function;
// the desktop shows a modal box captioned "QEX" whose default is No (a stray
// Enter changes nothing), tests script the answers.

#include <QString>
#include <QStringList>
#include <deque>

class QDialog;
class QWidget;

namespace qex {

// Runs a modal box with the arrow cursor, even while the command that asks
// shows the busy one; returns what exec() returns.
int ExecWithArrowCursor(QDialog& box);

// True when the user answers Yes.
bool AskYesNo(const QString& question, QWidget* parent);

// Answers from a script while it lives, in order (No once the script is
// used up), and records the questions asked.
class CScriptedAnswers {
public:
    CScriptedAnswers();
    ~CScriptedAnswers();
    CScriptedAnswers(const CScriptedAnswers&) = delete;
    CScriptedAnswers& operator=(const CScriptedAnswers&) = delete;

    void Answer(bool yes) { m_answers.push_back(yes); }
    const QStringList& Questions() const { return m_questions; }

private:
    friend bool AskYesNo(const QString& question, QWidget* parent);
    std::deque<bool> m_answers;
    QStringList m_questions;
    CScriptedAnswers* m_previous;
};

} // namespace qex
