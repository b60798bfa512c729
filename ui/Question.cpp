#include "ui/Question.h"

#include <QApplication>
#include <QCursor>
#include <QMessageBox>

namespace qex {

namespace {
CScriptedAnswers*& Script()
{
    static CScriptedAnswers* script = nullptr;
    return script;
}
} // namespace

CScriptedAnswers::CScriptedAnswers() : m_previous(Script())
{
    Script() = this;
}

CScriptedAnswers::~CScriptedAnswers()
{
    Script() = m_previous;
}

int ExecWithArrowCursor(QDialog& box)
{
    const bool busy = QApplication::overrideCursor() != nullptr;
    if (busy)
        QApplication::setOverrideCursor(QCursor(Qt::ArrowCursor));
    const int result = box.exec();
    if (busy)
        QApplication::restoreOverrideCursor();
    return result;
}

bool AskYesNo(const QString& question, QWidget* parent)
{
    if (CScriptedAnswers* script = Script()) {
        script->m_questions << question;
        if (script->m_answers.empty())
            return false;
        const bool yes = script->m_answers.front();
        script->m_answers.pop_front();
        return yes;
    }
    QMessageBox box(QMessageBox::Question, "QEX", question, QMessageBox::Yes | QMessageBox::No, parent);
    box.setDefaultButton(QMessageBox::No);
    box.setEscapeButton(QMessageBox::No);
    return ExecWithArrowCursor(box) == QMessageBox::Yes;
}

} // namespace qex
