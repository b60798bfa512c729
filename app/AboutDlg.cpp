#include "app/AboutDlg.h"

#include "app/HelpWindow.h"
#include "app/Icons.h"

#include <QLabel>
#include <QPushButton>

#ifndef QEX_VERSION
#define QEX_VERSION "unknown"
#endif

namespace qex {

CAboutDlg::CAboutDlg(QWidget* parent) : CTemplateDialog(100, "About Valdry Program", 235, 97, 9, parent)
{
    QLabel* icon = AddLabel(QString(), 11, 17, 20, 20);
    icon->setObjectName("128");
    icon->setPixmap(ApplicationIcon().pixmap(32, 32));
    icon->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    AddLabel("Valdry Version 1.0", 40, 10, 119, 8)->setObjectName("version");
    // The release and where its documentation is.
    QLabel* release = AddLabel(QStringLiteral("QEX %1. Documentation: %2").arg(QEX_VERSION, CHelpWindow::ReadmePath()),
                               40, 28, 188, 62);
    release->setObjectName("documentation");
    release->setWordWrap(true);
    release->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    release->setTextInteractionFlags(Qt::TextSelectableByMouse);
    QPushButton* ok = AddButton(1, "OK", 178, 7, 50, 16, true);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    ok->setFocus();
}

} // namespace qex
