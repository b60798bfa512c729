#include "app/HalfLivesDlg.h"

#include "core/ConstantSets.h"
#include "core/Format.h"
#include "ui/ChoiceBinding.h"
#include "ui/ConstantSettings.h"
#include "ui/HalfLifeSettings.h"
#include "ui/HelpTopic.h"
#include "ui/InputBinding.h"

#include <QComboBox>
#include <cmath>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace qex {

namespace {
constexpr int kTemplateId = 142;

// One line of the set's table: what, value +- error with its unit, source.
std::string ValueLine(const char* what, const SourcedValue& v, double scale, const char* unit)
{
    const std::string error = v.error > 0.0 ? Format(" ± %.4g", v.error / scale) : std::string();
    return Format("%s: %.6g%s %s — %s", what, v.value / scale, error.c_str(), unit, std::string(v.source).c_str());
}
} // namespace

CHalfLivesDlg::CHalfLivesDlg(QWidget* parent)
    : CTemplateDialog(kTemplateId, "Constants", 360, 164, 9, parent), m_inputs(StoredHalfLives()),
      m_strConstantSet(StoredConstantSet())
{
    InstallHelpKey(*this, "half-lives");
    AddLabel("Constant set:", 7, 10, 68, 8);
    m_set = AddCombo(IDC_SET, 78, 8, 70, 12);
    AddGroup("Its values (sea level, high latitude; Stone 2000 scaling)", 7, 24, 346, 68);
    m_values = AddLabel("", 13, 35, 334, 54);
    m_values->setWordWrap(true);
    m_values->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    m_values->setTextInteractionFlags(Qt::TextSelectableByMouse);
    AddLabel("10Be half-life (yr):", 7, 100, 68, 8);
    QLineEdit* be10 = AddEdit(IDC_BE10, 78, 98, 60, 12);
    AddLabel("26Al half-life (yr):", 7, 116, 68, 8);
    AddEdit(IDC_AL26, 78, 114, 60, 12);
    AddLabel("Used by every calculation that decays a nuclide, and by the batch; a box of a dialog overrides the set.", 146, 100,
             207, 24)
        ->setWordWrap(true);
    QPushButton* current = AddButton(IDC_USE_CURRENT, "Use 1.387 / 0.705 Myr (current)", 7, 142, 104, 14);
    QPushButton* original = AddButton(IDC_USE_ORIGINAL, "Use 1.5 / 0.71 Myr (original)", 115, 142, 104, 14);
    QPushButton* ok = AddButton(1, "OK", 249, 142, 50, 14, true);
    QPushButton* cancel = AddButton(2, "Cancel", 303, 142, 50, 14);
    SetTabOrderFromTemplate();

    SetChoices(m_set, ConstantSetNames(), m_strConstantSet);
    m_set->setToolTip(QString::fromStdString(
        "original: the constants QEX has always used; current: today's (CRONUS-Earth production rates for "
        "07KNSTD and KNSTD concentrations)"));
    connect(m_set, &QComboBox::currentIndexChanged, this, [this] { ShowSet(true); });
    connect(current, &QPushButton::clicked, this, &CHalfLivesDlg::UseCurrent);
    connect(original, &QPushButton::clicked, this, &CHalfLivesDlg::UseOriginal);
    connect(ok, &QPushButton::clicked, this, &CHalfLivesDlg::accept);
    connect(cancel, &QPushButton::clicked, this, &CHalfLivesDlg::reject);

    BindInputs(m_dx, *this, m_inputs, HalfLifeInputTable(), {IDC_BE10, IDC_AL26});
    m_dx.ToControls();
    ShowSet(false);
    be10->setFocus();
}

void CHalfLivesDlg::ShowSet(bool fill)
{
    const ConstantSet* set = FindConstantSet(m_set->currentText().toStdString());
    if (set == nullptr)
        return;
    const std::string text = std::string(set->description) + "\n" +
                             ValueLine("10Be half-life", set->be10HalfLife, 1e6, "Myr") + "\n" +
                             ValueLine("26Al half-life", set->al26HalfLife, 1e6, "Myr") + "\n" +
                             ValueLine("10Be production", set->be10Production, 1.0, "atoms/g/yr") + "\n" +
                             ValueLine("26Al production", set->al26Production, 1.0, "atoms/g/yr") + "\n" +
                             ValueLine("Attenuation length", set->attenuationLength, 1.0, "g/cm²");
    m_values->setText(QString::fromStdString(text));
    if (fill)
        Show(set->be10HalfLife.value, std::round(set->al26HalfLife.value));
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
    m_strConstantSet = m_set->currentText().toStdString();
    StoreHalfLives(m_inputs);
    StoreConstantSet(m_strConstantSet);
    QDialog::accept();
}

} // namespace qex
