#include "ui/MessageBoxSink.h"

#include "core/Message.h"

#include <QApplication>
#include <QCursor>
#include <QMessageBox>

namespace qex {

void InstallMessageBoxSink()
{
    SetMessageSink([](const std::string& text) {
        QWidget* parent = QApplication::activeModalWidget();
        if (parent == nullptr)
            parent = QApplication::activeWindow();
        QMessageBox box(QMessageBox::NoIcon, "QEX", QString::fromStdString(text), QMessageBox::Ok, parent);
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
