#include "scaling/SFCalDlg.h"

#include "ui/FileChooser.h"
#include "ui/InputBinding.h"

#include <QLineEdit>
#include <QPushButton>

namespace qex {

CSFCalDlg::CSFCalDlg(QWidget* parent) : CTemplateDialog(132, "Calculate SF around the World", 206, 110, 9, parent)
{
    AddLabel("Output File:", 7, 10, 44, 8);
    AddEdit(1027, 52, 8, 100, 12);
    QPushButton* browse = AddButton(1024, "Browse...", 156, 7, 43, 14);

    AddLabel("Start_Lat:", 7, 30, 44, 8);
    AddEdit(1003, 52, 28, 46, 12);
    AddLabel("End_Lat:", 7, 46, 44, 8);
    AddEdit(1004, 52, 44, 46, 12);
    AddLabel("Lat interval:", 7, 62, 44, 8);
    AddEdit(1007, 52, 60, 46, 12);

    AddLabel("Start_Alt (m):", 106, 30, 49, 8);
    AddEdit(1005, 156, 28, 43, 12);
    AddLabel("End_Alt (m):", 106, 46, 49, 8);
    AddEdit(1006, 156, 44, 43, 12);
    AddLabel("Alt interval:", 106, 62, 49, 8);
    AddEdit(1008, 156, 60, 43, 12);

    AddLabel("Muon contribution:", 7, 78, 70, 8);
    AddEdit(1009, 78, 76, 46, 12);

    QPushButton* ok = AddButton(1, "OK", 106, 90, 45, 14, true);
    QPushButton* cancel = AddButton(2, "Cancel", 156, 90, 43, 14);
    SetTabOrder({1027, 1024, 1003, 1004, 1007, 1005, 1006, 1008, 1009, 1, 2});

    connect(browse, &QPushButton::clicked, this, &CSFCalDlg::OnBrowse);
    connect(ok, &QPushButton::clicked, this, &CSFCalDlg::accept);
    connect(cancel, &QPushButton::clicked, this, &CSFCalDlg::reject);

    BindInputs(m_dx, *this, m_inputs, WorldTableInputTable(), {1003, 1005, 1004, 1006, 1007, 1008, 1027, 1009});
    m_dx.ToControls();
}

CSFCalDlg::~CSFCalDlg() = default;

WorldTableGrid CSFCalDlg::Grid() const
{
    return m_inputs;
}

void CSFCalDlg::OnBrowse()
{
    const ChooserRequest request{ChooserKind::Save, "Output file",
                                 "Output File (*.txt)|*.txt|All Files (*.*)|*.*||", false};
    if (const auto path = FileChooser().Choose(request, this))
        Control<QLineEdit>(1027)->setText(*path);
}

void CSFCalDlg::accept()
{
    if (m_dx.FromControls())
        QDialog::accept();
}

} // namespace qex
