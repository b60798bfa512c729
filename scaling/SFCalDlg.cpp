#include "scaling/SFCalDlg.h"

#include "scaling/WorldTableWriterDlg.h"
#include "ui/FileChooser.h"
#include "ui/FileReplacement.h"
#include "ui/HelpTopic.h"
#include "ui/InputBinding.h"

#include <QLineEdit>
#include <QPushButton>

namespace qex {

namespace {
// The latitude boxes are narrower than the template's and everything right of
// them is this much further right, for the degrees beside them (dialog units).
constexpr int kUnitRoom = 14;
} // namespace

CSFCalDlg::CSFCalDlg(QWidget* parent)
    : CTemplateDialog(132, "Calculate SF around the World", 206 + kUnitRoom, 110, 9, parent)
{
    InstallHelpKey(*this, "world-table");
    AddLabel("Output File:", 7, 10, 44, 8);
    QLineEdit* output = AddEdit(1027, 52, 8, 100 + kUnitRoom, 12);
    QPushButton* browse = AddButton(1024, "Browse...", 156 + kUnitRoom, 7, 43, 14);

    AddLabel("Start_Lat:", 7, 30, 44, 8);
    AddEdit(1003, 52, 28, 36, 12);
    AddLabel("End_Lat:", 7, 46, 44, 8);
    AddEdit(1004, 52, 44, 36, 12);
    AddLabel("Lat interval:", 7, 62, 44, 8);
    AddEdit(1007, 52, 60, 36, 12);

    // The altitude boxes leave room for the metres of the interval.
    AddLabel("Start_Alt (m):", 106 + kUnitRoom, 30, 49, 8);
    AddEdit(1005, 156 + kUnitRoom, 28, 36, 12);
    AddLabel("End_Alt (m):", 106 + kUnitRoom, 46, 49, 8);
    AddEdit(1006, 156 + kUnitRoom, 44, 36, 12);
    AddLabel("Alt interval:", 106 + kUnitRoom, 62, 49, 8);
    AddEdit(1008, 156 + kUnitRoom, 60, 36, 12);

    AddLabel("Muon contribution:", 7, 78, 70, 8);
    AddEdit(1009, 78, 76, 46, 12);

    QPushButton* ok = AddButton(1, "OK", 106 + kUnitRoom, 90, 45, 14, true);
    QPushButton* cancel = AddButton(2, "Cancel", 156 + kUnitRoom, 90, 43, 14);
    SetTabOrder({1027, 1024, 1003, 1004, 1007, 1005, 1006, 1008, 1009, 1, 2});

    connect(browse, &QPushButton::clicked, this, &CSFCalDlg::OnBrowse);
    connect(ok, &QPushButton::clicked, this, &CSFCalDlg::accept);
    connect(cancel, &QPushButton::clicked, this, &CSFCalDlg::reject);

    BindInputs(m_dx, *this, m_inputs, WorldTableInputTable(), {1003, 1005, 1004, 1006, 1007, 1008, 1027, 1009});
    AddUnitLabels(*this, WorldTableInputTable(), {1003, 1004, 1007, 1008, 1009});
    m_dx.ToControls();

    // Enlarging the dialog widens the path; the buttons keep to the right.
    AllowEnlarging();
    SetAnchor(output, GrowRight);
    SetAnchor(browse, MoveRight);
    SetAnchor(ok, MoveRight | MoveDown);
    SetAnchor(cancel, MoveRight | MoveDown);
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
    // A typed name of a file that is not the world table's own is replaced
    // only when the user agrees; otherwise the dialog stays open.
    if (m_dx.FromControls() &&
        MayReplaceFile(kWorldTableWriter, QString::fromStdString(m_strOutputFile), this))
        QDialog::accept();
}

} // namespace qex
