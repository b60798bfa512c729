#include "app/HalfLivesDlg.h"

#include "ui/HalfLifeSettings.h"
#include "ui/HelpTopic.h"
#include "ui/InputBinding.h"

#include <QLineEdit>
#include <QPushButton>

namespace qex {

namespace {
constexpr int kTemplateId = 142;
} // namespace

CHalfLivesDlg::CHalfLivesDlg(QWidget* parent)
    : CTemplateDialog(kTemplateId, "Nuclide Half-lives", 226, 96, 9, parent), m_inputs(StoredHalfLives())
{
    InstallHelpKey(*this, "half-lives");
    AddLabel("10Be half-life (yr):", 7, 10, 68, 8);
    QLineEdit* be10 = AddEdit(IDC_BE10, 78, 8, 60, 12);
    AddLabel("26Al half-life (yr):", 7, 26, 68, 8);
    AddEdit(IDC_AL26, 78, 24, 60, 12);
    AddLabel("Used by every calculation that decays 10Be or 26Al, and by the batch.", 7, 42, 212, 8);
    QPushButton* current = AddButton(IDC_USE_CURRENT, "Use 1.387 / 0.705 Myr (current)", 7, 56, 104, 14);
    QPushButton* original = AddButton(IDC_USE_ORIGINAL, "Use 1.5 / 0.71 Myr (original)", 115, 56, 104, 14);
    QPushButton* ok = AddButton(1, "OK", 115, 76, 50, 14, true);
    QPushButton* cancel = AddButton(2, "Cancel", 169, 76, 50, 14);
    SetTabOrderFromTemplate();

    connect(current, &QPushButton::clicked, this, &CHalfLivesDlg::UseCurrent);
    connect(original, &QPushButton::clicked, this, &CHalfLivesDlg::UseOriginal);
    connect(ok, &QPushButton::clicked, this, &CHalfLivesDlg::accept);
    connect(cancel, &QPushButton::clicked, this, &CHalfLivesDlg::reject);

    BindInputs(m_dx, *this, m_inputs, HalfLifeInputTable(), {IDC_BE10, IDC_AL26});
    m_dx.ToControls();
    be10->setFocus();
}

void CHalfLivesDlg::Show(double be10, double al26)
{
    Control<QLineEdit>(IDC_BE10)->setText(CDataExchange::NumberText(be10));
    Control<QLineEdit>(IDC_AL26)->setText(CDataExchange::NumberText(al26));
}

void CHalfLivesDlg::UseCurrent()
{
    Show(kBe10CurrentHalfLifeYears, kAl26CurrentHalfLifeYears);
}

void CHalfLivesDlg::UseOriginal()
{
    Show(kBe10HalfLifeYears, kAl26HalfLifeYears);
}

void CHalfLivesDlg::accept()
{
    if (!m_dx.FromControls())
        return;
    StoreHalfLives(m_inputs);
    QDialog::accept();
}

} // namespace qex
