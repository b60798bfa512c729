#include "ui/MessageBoxSink.h"

#include "core/Message.h"
#include "ui/ProgressWindow.h"
#include "ui/Question.h"

#include <QApplication>
#include <QMessageBox>

namespace qex {

void InstallMessageBoxSink()
{
    SetDetailedMessageSink([](const std::string& text, const std::string& detail) {
        // No progress window stands over the message while it is open.
        const CProgressWindow::CMessageShowing showing;
        QWidget* parent = QApplication::activeModalWidget();
        if (parent == nullptr)
            parent = QApplication::activeWindow();
        QMessageBox box(QMessageBox::NoIcon, "QEX", QString::fromStdString(text), QMessageBox::Ok, parent);
        // The path and the system's reason behind a file failure, shown at once.
        if (!detail.empty())
            box.setInformativeText(QString::fromStdString(detail));
        ExecWithArrowCursor(box);
    });
}

} // namespace qex
