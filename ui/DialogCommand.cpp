#include "ui/DialogCommand.h"

#include "core/CommandGuard.h"
#include "core/Message.h"

#include <QApplication>
#include <QCursor>

namespace qex {

bool RunDialogCommand(const std::function<void()>& command, bool busyCursor)
{
    CMessageBatch batch;
    if (busyCursor)
        QApplication::setOverrideCursor(QCursor(Qt::WaitCursor));
    const bool done = RunGuarded(command);
    if (busyCursor)
        QApplication::restoreOverrideCursor();
    return done;
}

} // namespace qex
