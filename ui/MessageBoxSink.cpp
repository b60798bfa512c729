#include "ui/MessageBoxSink.h"

#include "core/Message.h"
#include "ui/ProgressWindow.h"

#include <QApplication>
#include <QCursor>
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
        // The path and the system's reason behind a file failure, one click away.
        if (!detail.empty())
            box.setDetailedText(QString::fromStdString(detail));
        // A busy cursor set by the running command must not hide the OK button's.
        const bool busy = QApplication::overrideCursor() != nullptr;
        if (busy)
            QApplication::setOverrideCursor(QCursor(Qt::ArrowCursor));
        box.exec();
        if (busy)
            QApplication::restoreOverrideCursor();
    });
}

} // namespace qex
