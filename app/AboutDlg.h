#pragma once

#include "ui/TemplateDialog.h"

namespace qex {

// The About box: the application icon, the version line and OK.
class CAboutDlg : public CTemplateDialog {
    Q_OBJECT
public:
    explicit CAboutDlg(QWidget* parent = nullptr);
};

} // namespace qex
